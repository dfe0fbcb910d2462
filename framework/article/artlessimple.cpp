#include "framework/article/artlessimple.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

class TArtLesSimple : public IORV_ArtLesSimple {
public:
    void SetMode(int mode) override { FMode = mode; }
    int Mode() const override { return FMode; }
    void SetSegmente(unsigned segmente) override { FSegmente = segmente; }
    unsigned Segmente() const override { return FSegmente; }
    const TAASatz& Satz() const override { return FSatz; }
    TORV_ArtPreisView& Preise() override
    {
        FPreise.SetArtikel(FSatz.Produkt_ID);
        return FPreise;
    }
    // The article master keeps one season per article.
    TSaisonKurz Saison(TDateTime) const override { return FSatz.Saison; }

    bool Laden(const TInt32Trio& id) override
    {
        if (FGeladen && FSatz.Produkt_ID == id)
            return true;
        if (!FQuery) {
            FQuery = std::make_unique<QSqlQuery>(TZEP_Connection::Database());
            FQuery->prepare(QStringLiteral(
                "SELECT artnr, bezeichnung, wgn, ggkey, grvon, grbis, partner1_1, partner1_2, liefartnr, partner2_1, "
                "partner2_2, liefartnr2, mwstkz, artkz, merkmal1, merkmal2, merkmal3, merkmal4, merkmal5, merkmal6, saison "
                "FROM artikel WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ?"));
        }
        QSqlQuery& q = *FQuery;
        q.bindValue(0, id.Int1);
        q.bindValue(1, id.Int2);
        q.bindValue(2, id.Int3);
        if (!q.exec())
            FehlerRaise(QStringLiteral("IORV_ArtLesSimple.Laden"), {q.lastError().text()});
        FGeladen = q.next();
        if (FGeladen) {
            TAASatz s;
            s.Produkt_ID = id;
            s.ArtNr = q.value(0).toString();
            s.Bezeichnung = q.value(1).toString();
            s.WGN = q.value(2).toString();
            s.GGKey = q.value(3).toInt();
            s.GrVon = static_cast<uint8_t>(q.value(4).toInt());
            s.GrBis = static_cast<uint8_t>(q.value(5).toInt());
            s.Partner1 = {q.value(6).toInt(), q.value(7).toInt()};
            s.LiefArtNr = q.value(8).toString();
            s.Partner2 = {q.value(9).toInt(), q.value(10).toInt()};
            s.LiefArtNr2 = q.value(11).toString();
            s.MwStKz = q.value(12).toInt();
            s.ArtKZ = static_cast<char16_t>(q.value(13).toInt());
            for (int i = 0; i < 6; ++i)
                s.Merkmal[i] = q.value(14 + i).toString();
            s.Saison = q.value(20).toString();
            FSatz = std::move(s);
        }
        q.finish();
        return FGeladen;
    }

private:
    int FMode = 0;
    unsigned FSegmente = 0;
    bool FGeladen = false;
    TAASatz FSatz;
    TORV_ArtPreisView FPreise;
    std::unique_ptr<QSqlQuery> FQuery;
};

}

namespace TORVServerFactory {

IORV_ArtLesSimple* ArtLesSimpleHolen()
{
    return new TArtLesSimple;
}

void ArtLesSimpleZurueckgeben(IORV_ArtLesSimple*& reader)
{
    delete reader;
    reader = nullptr;
}

}
