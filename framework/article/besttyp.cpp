#include "framework/article/besttyp.h"

#include "framework/db/connection.h"

#include <QSqlQuery>

#include <map>

int Char_2_ArtBestTyp(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'1' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'G')
        return u - u'A' + 10;
    return 0;
}

QChar ArtBestTyp_2_Char(int besttyp)
{
    if (besttyp >= 1 && besttyp <= 9)
        return QChar(u'0' + besttyp);
    if (besttyp >= 10 && besttyp <= 16)
        return QChar(u'A' + besttyp - 10);
    return QChar();
}

namespace {

std::map<int, TArtBestTyp_Eigenschaften>& Tabelle()
{
    static std::map<int, TArtBestTyp_Eigenschaften> t;
    return t;
}

int GGeladen = -1;   // connection generation the table was read for

}

static void TabelleLesen()
{
    Tabelle().clear();
    TZEP_Connection::Lesen(QStringLiteral("Get_ArtBestTyp_Eigenschaften"),
                           QStringLiteral("SELECT besttyp, bezeichnung, istgezaehlt FROM besttyp"), {},
                           [](const QSqlQuery& q) { Tabelle()[q.value(0).toInt()] = {q.value(1).toString(), q.value(2).toInt() != 0}; });
    GGeladen = TZEP_Connection::Generation();
}

TArtBestTyp_Eigenschaften Get_ArtBestTyp_Eigenschaften(int besttyp)
{
    if (GGeladen != TZEP_Connection::Generation())
        TabelleLesen();
    const auto it = Tabelle().find(besttyp);
    return it == Tabelle().end() ? TArtBestTyp_Eigenschaften{} : it->second;
}
