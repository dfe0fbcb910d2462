#include "framework/core/zitat.h"

namespace {

bool Unsichtbar(QChar c)
{
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

}

QString Zitat(const QString& text, int max)
{
    QString r;
    r.reserve(std::min<qsizetype>(text.size(), max + 1));
    for (QChar c : text) {
        const QString teil = !Unsichtbar(c) ? QString(c)
                             : c.unicode() < 0x100 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                                                   : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        if (r.size() + teil.size() > max)
            return r + QStringLiteral("…");
        r += teil;
    }
    return r;
}
