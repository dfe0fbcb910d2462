#include "framework/dbf/invlfile.h"

#include "framework/core/fehler.h"

namespace {

using S = TinvlSatz;

std::vector<TDbfFeld<S>> LayoutBauen()
{
    std::vector<TDbfFeld<S>> l = {
        DbfFeld("LfdNr", &S::LfdNr),
        DbfFeld("BlockNr", &S::BlockNr),
        DbfDatumFeld("WiJahr", &S::WiJahr),
        DbfDatumFeld("ZaehlDatum", &S::ZaehlDatum),
        DbfFeld("Produkt_ID", &S::Produkt_ID),
        DbfFeld("Produkt_ID2", &S::Produkt_ID2),
        DbfFeld("Filiale", &S::Filiale),
        DbfFeld("FilKZ", &S::FilKZ),
        DbfFeld("WGN", &S::WGN, 10),
        DbfFeld("ArtNr", &S::ArtNr, 20),
        DbfFeld("LiefNr", &S::LiefNr),
        DbfFeld("LiefArtNr", &S::LiefArtNr, 30),
        DbfFeld("LiefNr2", &S::LiefNr2),
        DbfFeld("LiefArtNr2", &S::LiefArtNr2, 30),
        DbfFeld("ArtKZ", &S::ArtKZ),
    };
    for (int i = 0; i < 6; ++i)
        l.push_back({DbfText(QStringLiteral("Merkmal%1").arg(i + 1), 30), [i](const S& s) { return QVariant(s.Merkmal[i]); },
                     [i](S& s, const QVariant& v) { s.Merkmal[i] = v.toString(); }});
    for (auto&& f : {DbfFeld("Bezeichnung", &S::Bezeichnung, 60), DbfDatumFeld("LetztesVorgangsDatum", &S::LetztesVorgangsDatum),
                     DbfFeld("ReNr", &S::ReNr), DbfFeld("ReNr2", &S::ReNr2), DbfFeld("EK", &S::EK),
                     DbfFeld("AbwProzent", &S::AbwProzent), DbfFeld("EK_Abgewertet", &S::EK_Abgewertet),
                     DbfFeld("GrVon", &S::GrVon), DbfFeld("GrBis", &S::GrBis)})
        l.push_back(f);
    for (int j = 0; j < CINVL_Slots; ++j)
        for (int k = 0; k < TinvlMengen::Anzahl; ++k)
            l.push_back({DbfInteger(QStringLiteral("%1_%2").arg(QLatin1String(CINVL_MengenArten[k].Name)).arg(j, 2, 10, QLatin1Char('0'))),
                         [j, k](const S& s) { return QVariant(s.Mengen[j][k]); },
                         [j, k](S& s, const QVariant& v) { s.Mengen[j][k] = v.toInt(); },
                         [j, k](const S& s, TDbfSatz& z) { z.Integer(s.Mengen[j][k]); }});
    for (auto&& f : {DbfFeld("Sum_Typ01", &S::Sum_Typ01), DbfFeld("Sum_Typ02", &S::Sum_Typ02), DbfFeld("Sum_Typ08", &S::Sum_Typ08),
                     DbfFeld("Sum_Typ09", &S::Sum_Typ09), DbfFeld("Sum_Typ11", &S::Sum_Typ11), DbfFeld("Sum_Typ10", &S::Sum_Typ10),
                     DbfFeld("Sum_Typ12", &S::Sum_Typ12), DbfFeld("Sum_Typ14", &S::Sum_Typ14), DbfFeld("Sum_Typ13", &S::Sum_Typ13),
                     DbfFeld("Sum_Typ15", &S::Sum_Typ15), DbfFeld("Sum_Soll", &S::Sum_Soll), DbfFeld("Sum_Diff", &S::Sum_Diff),
                     DbfFeld("Sum_Ist", &S::Sum_Ist), DbfFeld("Sum_AbsMengen", &S::Sum_AbsMengen),
                     DbfFeld("Sum_AbsDiff", &S::Sum_AbsDiff), DbfFeld("Sum_FVK", &S::Sum_FVK), DbfFeld("VK", &S::VK),
                     DbfFeld("Soll_EKWert", &S::Soll_EKWert), DbfFeld("Soll_EKWert_Abgew", &S::Soll_EKWert_Abgew),
                     DbfFeld("Soll_VKWert", &S::Soll_VKWert), DbfFeld("Ist_EKWert", &S::Ist_EKWert),
                     DbfFeld("Ist_EKWert_Abgew", &S::Ist_EKWert_Abgew), DbfFeld("Ist_VKWert", &S::Ist_VKWert),
                     DbfFeld("Diff_EKWert", &S::Diff_EKWert), DbfFeld("Diff_EKWert_Abgew", &S::Diff_EKWert_Abgew),
                     DbfFeld("Diff_VKWert", &S::Diff_VKWert), DbfFeld("AnzRegal", &S::AnzRegal)})
        l.push_back(f);
    return l;
}

}

const std::vector<TDbfFeld<TinvlSatz>>& Tinvlfile::Layout() const
{
    static const std::vector<TDbfFeld<TinvlSatz>> layout = LayoutBauen();
    return layout;
}

TinvlMengen& Tinvlfile::GetMengen(int j)
{
    if (j < 0 || j >= CINVL_Slots)
        FehlerRaise(QStringLiteral("Tinvlfile.GetMengen"), {QStringLiteral("Slot %1 außerhalb 0..16").arg(j)});
    return Satz().Mengen[j];
}

QString& Tinvlfile::GetBeschreibungsdaten(int i)
{
    if (i < 1 || i > 6)
        FehlerRaise(QStringLiteral("Tinvlfile.GetBeschreibungsdaten"), {QStringLiteral("Merkmal %1 außerhalb 1..6").arg(i)});
    return Satz().Merkmal[i - 1];
}
