#include "framework/app/datumtext.h"

#include "framework/app/interaktion.h"
#include "framework/core/fehler.h"

#include <QDate>
#include <QRegularExpression>

namespace {

QDate Lesen(const QString& text)
{
    const QString t = text.trimmed();
    static const QRegularExpression mitPunkt(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2}|\\d{4})$"));
    static const QRegularExpression ohne(QStringLiteral("^(\\d{2})(\\d{2})(\\d{2}|\\d{4})$"));
    QRegularExpressionMatch m = mitPunkt.match(t);
    if (!m.hasMatch())
        m = ohne.match(t);
    if (!m.hasMatch())
        return {};
    int jahr = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        jahr += 2000;
    return QDate(jahr, m.captured(2).toInt(), m.captured(1).toInt());
}

}

TDateTime orv_StrToDate(const QString& text)
{
    const QDate d = Lesen(text);
    if (!d.isValid())
        FehlerRaise(QStringLiteral("orv_StrToDate"), {QStringLiteral("\"%1\" ist kein gültiges Datum.").arg(text)});
    return TDateTime_FromQDate(d);
}

bool orv_TestDatumString(const QString& text, TDateTime von, TDateTime bis, const QString& feld)
{
    const QDate d = Lesen(text);
    QString fehler;
    if (!d.isValid())
        fehler = QStringLiteral("\"%1\" ist kein gültiges Datum (zum Beispiel 15.03.2025).").arg(text);
    else if (von != 0 && TDateTime_FromQDate(d) < DateOf(von))
        fehler = QStringLiteral("Das Datum darf nicht vor dem %1 liegen.").arg(TDateTime_FormatDatum(von));
    else if (bis != 0 && TDateTime_FromQDate(d) > DateOf(bis))
        fehler = QStringLiteral("Das Datum darf nicht nach dem %1 liegen.").arg(TDateTime_FormatDatum(bis));
    if (!fehler.isEmpty())
        ORVInteraktion().Meldung(maFehler, feld, fehler, nullptr);
    return fehler.isEmpty();
}
