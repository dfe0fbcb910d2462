#include "framework/article/ggtab.h"

#include "framework/db/connection.h"


TZEP_GGTab& GGTab_Glob()
{
    static TZEP_GGTab tab;
    return tab;
}

const TZEP_GGTab::TGrid& TZEP_GGTab::Grid(int ggKey)
{
    if (FGeneration != TZEP_Connection::Generation()) {
        FGrids.clear();
        FGeneration = TZEP_Connection::Generation();
    }
    auto grid = FGrids.find(ggKey);
    if (grid == FGrids.end()) {
        TGrid g;
        TZEP_Connection::Lesen(QStringLiteral("TZEP_GGTab.Grid"), QStringLiteral("SELECT groesse, idx, text FROM ggtab_groesse WHERE ggkey = ?"),
                               {ggKey}, [&g](const QSqlQuery& q) {
                                   g.Index[q.value(0).toInt()] = q.value(1).toInt();
                                   g.Text[q.value(1).toInt()] = q.value(2).toString();
                               });
        grid = FGrids.emplace(ggKey, std::move(g)).first;
    }
    return grid->second;
}

int TZEP_GGTab::Groesse_Numerisch_2_Index(int ggKey, int groesse)
{
    const std::map<int, int>& index = Grid(ggKey).Index;
    const auto it = index.find(groesse);
    return it == index.end() ? -1 : it->second;
}

QString TZEP_GGTab::Index_2_Text(int ggKey, int index)
{
    const std::map<int, QString>& text = Grid(ggKey).Text;
    const auto it = text.find(index);
    return it == text.end() ? QString() : it->second;
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
