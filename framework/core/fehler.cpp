#include "framework/core/fehler.h"

#include "framework/core/geheimnis.h"

namespace {
QStringList Verborgen(QStringList texts)
{
    for (QString& t : texts)
        t = OhneGeheimnisse(t);
    return texts;
}

std::string Message(const QString& location, const QStringList& texts)
{
    QString m = location;
    if (!texts.isEmpty())
        m += QStringLiteral(": ") + texts.join(QStringLiteral(" "));
    return OhneGeheimnisse(m).toStdString();
}
}

EORVFehler::EORVFehler(QString location, QStringList texts)
    : std::runtime_error(Message(location, texts)), FLocation(std::move(location)), FTexts(Verborgen(std::move(texts)))
{
}

void FehlerRaise(const QString& location, const QStringList& texts)
{
    throw EORVFehler(location, texts);
}
