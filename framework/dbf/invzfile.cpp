#include "framework/dbf/invzfile.h"

const std::vector<TDbfFeld<TinvzSatz>>& Tinvzfile::Layout() const
{
    using S = TinvzSatz;
    static const std::vector<TDbfFeld<S>> layout = [] {
        std::vector<TDbfFeld<S>> l = {DbfFeld("LfdNr", &S::LfdNr),
                                      DbfFeld("BlockNr", &S::BlockNr),
                                      DbfDatumFeld("ZaehlDatum", &S::ZaehlDatum),
                                      DbfFeld("Filiale", &S::Filiale),
                                      DbfFeld("WGN", &S::WGN, 10),
                                      DbfFeld("Regal", &S::Regal),
                                      DbfFeld("OhneRegal", &S::OhneRegal),
                                      DbfFeld("Produkt_ID", &S::Produkt_ID),
                                      DbfFeld("ArtNr", &S::ArtNr, 20),
                                      DbfFeld("Bezeichnung", &S::Bezeichnung, 60),
                                      DbfFeld("LiefNr", &S::LiefNr),
                                      DbfFeld("LiefArtNr", &S::LiefArtNr, 30)};
        for (int j = 0; j < CINVL_Slots; ++j)
            l.push_back({DbfText(QStringLiteral("Groesse_%1").arg(j, 2, 10, QLatin1Char('0')), 8),
                         [j](const S& s) { return QVariant(s.Groesse[j]); }, [j](S& s, const QVariant& v) { s.Groesse[j] = v.toString(); }});
        return l;
    }();
    return layout;
}
