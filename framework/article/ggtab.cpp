#include "framework/article/ggtab.h"

#include "framework/db/connection.h"


TZEP_GGTab& GGTab_Glob()
{
    static TZEP_GGTab tab;
    return tab;
}

int TZEP_GGTab::Groesse_Numerisch_2_Index(int ggKey, int groesse)
{
    if (FGeneration != TZEP_Connection::Generation()) {
        FGrids.clear();
        FGeneration = TZEP_Connection::Generation();
    }
    auto grid = FGrids.find(ggKey);
    if (grid == FGrids.end()) {
        std::map<int, int> groessen;
        TZEP_Connection::Lesen(QStringLiteral("TZEP_GGTab.Groesse_Numerisch_2_Index"),
                               QStringLiteral("SELECT groesse, idx FROM ggtab_groesse WHERE ggkey = ?"), {ggKey},
                               [&groessen](const QSqlQuery& q) { groessen[q.value(0).toInt()] = q.value(1).toInt(); });
        grid = FGrids.emplace(ggKey, std::move(groessen)).first;
    }
    const auto it = grid->second.find(groesse);
    return it == grid->second.end() ? -1 : it->second;
}

namespace TArtikelTools {

int GG_Key_AusAAFile(const TInt32Trio& produktId)
{
    QSqlQuery q = TZEP_Connection::Ausfuehren(
        QStringLiteral("TArtikelTools.GG_Key_AusAAFile"),
        QStringLiteral("SELECT ggkey FROM artikel WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ?"),
        {produktId.Int1, produktId.Int2, produktId.Int3});
    return q.next() ? q.value(0).toInt() : 0;
}

}
