#include "framework/article/artlessimple.h"

#include "framework/db/produktblock.h"

#include <map>

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
        const auto it = FVorrat.find(id);
        if (it != FVorrat.end()) {
            FSatz = it->second;
            FGeladen = true;
        } else {
            std::vector<TAASatz> satz = Lesen({id});
            FGeladen = !satz.empty();
            if (FGeladen)
                FSatz = std::move(satz.front());
        }
        return FGeladen;
    }

    void Vorladen(const std::vector<TInt32Trio>& ids) override
    {
        StammVorladen(ids);
        FPreise.Vorladen(ids);
    }

    void StammVorladen(const std::vector<TInt32Trio>& ids) override
    {
        FVorrat.clear();
        for (TAASatz& s : Lesen(ids))
            FVorrat.emplace(s.Produkt_ID, std::move(s));
        FPreise.VorratVerwerfen();
    }

    void VorratTauschen(IORV_ArtLesSimple& anderer) override
    {
        auto& a = dynamic_cast<TArtLesSimple&>(anderer);
        std::swap(FVorrat, a.FVorrat);
        FPreise.VorratTauschen(a.FPreise);
    }

    void PreisVorratTauschen(TORV_ArtPreisView& preise) override { FPreise.VorratTauschen(preise); }

private:
    // the master records of the articles that exist
    std::vector<TAASatz> Lesen(const std::vector<TInt32Trio>& ids)
    {
        if (!FAbfrage)
            FAbfrage = std::make_unique<TProduktBlockAbfrage>(
                QStringLiteral("t.artnr, t.bezeichnung, t.wgn, t.ggkey, t.grvon, t.grbis, t.partner1_1, t.partner1_2, "
                               "t.liefartnr, t.partner2_1, t.partner2_2, t.liefartnr2, t.mwstkz, t.artkz, t.merkmal1, "
                               "t.merkmal2, t.merkmal3, t.merkmal4, t.merkmal5, t.merkmal6, t.saison"),
                QStringLiteral("artikel"), QString());
        std::vector<TAASatz> r;
        FAbfrage->Lesen(ids, [&](int i, const TBlockZeile& q) {
            TAASatz s;
            s.Produkt_ID = ids[i];
            s.ArtNr = q.Text(1);
            s.Bezeichnung = q.Text(2);
            s.WGN = q.Text(3);
            s.GGKey = q.Int(4);
            s.GrVon = static_cast<uint8_t>(q.Int(5));
            s.GrBis = static_cast<uint8_t>(q.Int(6));
            s.Partner1 = {q.Int(7), q.Int(8)};
            s.LiefArtNr = q.Text(9);
            s.Partner2 = {q.Int(10), q.Int(11)};
            s.LiefArtNr2 = q.Text(12);
            s.MwStKz = q.Int(13);
            s.ArtKZ = static_cast<char16_t>(q.Int(14));
            for (int m = 0; m < 6; ++m)
                s.Merkmal[m] = q.Text(15 + m);
            s.Saison = q.Text(21);
            r.push_back(std::move(s));
        });
        return r;
    }

    int FMode = 0;
    unsigned FSegmente = 0;
    bool FGeladen = false;
    TAASatz FSatz;
    TORV_ArtPreisView FPreise;
    std::map<TInt32Trio, TAASatz, decltype(&TInt32Trio::Numerisch_Kleiner)> FVorrat{&TInt32Trio::Numerisch_Kleiner};
    std::unique_ptr<TProduktBlockAbfrage> FAbfrage;
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
