#include "framework/core/fehler.h"
#include "framework/dbf/invrfile.h"

const std::vector<TDbfFeld<TinvrSatz>>& Tinvrfile::Layout() const
{
    using S = TinvrSatz;
    static const std::vector<TDbfFeld<S>> layout = [] {
        std::vector<TDbfFeld<S>> l = {DbfFeld("LfdNr", &S::LfdNr), DbfFeld("BlockNr", &S::BlockNr),
                                      DbfFeld("Regal", &S::Regal), DbfFeld("Produkt_ID", &S::Produkt_ID),
                                      DbfFeld("Filiale", &S::Filiale), DbfFeld("FilKZ", &S::FilKZ)};
        for (int j = 0; j < CINVL_Slots; ++j)
            l.push_back({DbfInteger(QStringLiteral("Menge_%1").arg(j, 2, 10, QLatin1Char('0'))),
                         [j](const S& s) { return QVariant(s.Menge[j]); }, [j](S& s, const QVariant& v) { s.Menge[j] = v.toInt(); },
                         [j](const S& s, TDbfSatz& z) { z.Integer(s.Menge[j]); }});
        for (auto&& f : {DbfFeld("GesMenge", &S::GesMenge), DbfFeld("EKWert", &S::EKWert),
                         DbfFeld("EKWert_Abgew", &S::EKWert_Abgew), DbfFeld("VKWert", &S::VKWert)})
            l.push_back(f);
        return l;
    }();
    return layout;
}

int32_t& Tinvrfile::GetMengen(int j)
{
    if (j < 0 || j >= CINVL_Slots)
        FehlerRaise(QStringLiteral("Tinvrfile.GetMengen"), {QStringLiteral("Slot %1 außerhalb 0..16").arg(j)});
    return Satz().Menge[j];
}

