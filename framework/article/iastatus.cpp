#include "framework/article/iastatus.h"

const std::array<QString, 7> CZEP_IA_KZZaehlung_2_String = {
    QStringLiteral("Angelegt"),          QStringLiteral("In Zählung"), QStringLiteral("Gezählt"),
    QStringLiteral("Zur Buchung frei"),  QStringLiteral("Teilweise gebucht"),
    QStringLiteral("Gebucht"),           QStringLiteral("Storniert")};

const std::array<QChar, 6> CZEP_IA_KZZaehlung_2_Char = {QChar('1'), QChar('2'), QChar('3'),
                                                        QChar('4'), QChar('5'), QChar('6')};

TZEP_IA_KZZaehlung Char_2_IA_KZZaehlung(QChar c)
{
    for (size_t i = 0; i < CZEP_IA_KZZaehlung_2_Char.size(); ++i)
        if (CZEP_IA_KZZaehlung_2_Char[i] == c)
            return static_cast<TZEP_IA_KZZaehlung>(i + 1);
    return iakzAngelegt;
}

QChar IA_KZZaehlung_2_Char(TZEP_IA_KZZaehlung status)
{
    return status == iakzAngelegt ? QChar() : CZEP_IA_KZZaehlung_2_Char[status - 1];
}
