// The lines of the counting sheets: what a counter needs to find and count an article, and a
// labelled box for each size of its grid; no quantities.
#include "inventurliste/inventurliste.h"

#include "framework/app/info.h"
#include "framework/article/artlessimple.h"
#include "framework/article/ggtab.h"
#include "framework/core/fehler.h"
#include "framework/dbf/invzfile.h"

void TInventurliste::ZaehlzeilenSchreiben(const TinvlListe& list, const TRegalNummern& regale)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.ZaehlzeilenSchreiben"), [&] {
        const TAASatz& aa = ArtlesSimple().Satz();
        // the sizes of the article's grid, 17 to a block; a label the grid lacks shows the number
        std::vector<QString> groessen;
        for (int n = std::max<int>(aa.GrVon, 1); n <= aa.GrBis; ++n) {
            const QString text = GGTab_Glob().Index_2_Text(aa.GGKey, n - 1);
            groessen.push_back(text.isEmpty() ? QString::number(n) : text);
        }
        const int bloecke = std::max<int>(1, static_cast<int>((groessen.size() + CINVL_Slots - 1) / CINVL_Slots));
        Tinvzfile& invz = Angelegt(FINVZFile, "FINVZFile");
        TDbf& dbf = Angelegt(FINVZ_DBF, "FINVZ_DBF");
        for (int i = 0; i < list.Count(); ++i) {
            const TinvlSatz& l = *list.Items_Ptr(i);
            if (l.BlockNr != 0 || l.Filiale == CINVL_SummenFiliale)
                continue;   // one article line; a summary is no place to count
            const auto gefunden = regale.find({l.Filiale, l.ZaehlDatum});
            const bool ohneRegal = gefunden == regale.end() || gefunden->second.empty();
            for (const int32_t regal : ohneRegal ? std::set<int32_t>{0} : gefunden->second)
                for (int b = 0; b < bloecke; ++b) {
                    invz.Clear();
                    TinvzSatz& z = invz.Satz();
                    z.LfdNr = l.LfdNr;
                    z.BlockNr = b;
                    z.ZaehlDatum = l.ZaehlDatum;
                    z.Filiale = l.Filiale;
                    z.WGN = l.WGN;
                    z.Regal = regal;
                    z.OhneRegal = ohneRegal ? 1 : 0;
                    z.Produkt_ID = l.Produkt_ID;
                    z.ArtNr = l.ArtNr;
                    z.Bezeichnung = l.Bezeichnung;
                    z.LiefNr = l.LiefNr;
                    z.LiefArtNr = l.LiefArtNr;
                    for (int j = 0; j < CINVL_Slots && b * CINVL_Slots + j < static_cast<int>(groessen.size()); ++j)
                        z.Groesse[j] = groessen[b * CINVL_Slots + j];
                    invz.DBF_InsertSatz(dbf);
                }
        }
    });
}
