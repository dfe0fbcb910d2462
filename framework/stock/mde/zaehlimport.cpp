#include "framework/stock/mde/zaehlimport.h"

#include "framework/app/programm.h"
#include "framework/article/eanzugriff.h"
#include "framework/article/filialtabelle.h"
#include "framework/article/iazugriff.h"
#include "framework/article/preisview.h"
#include "framework/article/wgnmani.h"
#include "framework/core/fehler.h"
#include "framework/core/geld.h"
#include "framework/core/uhr.h"
#include "framework/db/files/iznsfile.h"
#include "framework/db/transaktion.h"

#include <algorithm>
#include <array>
#include <map>

namespace {

const QString COrt = QStringLiteral("TMDEBucher.Einlesen");
constexpr int64_t CZaehlMax = 999999999;

// One article of the file: its count records as they will be, the branch's count before, and
// the inventories whose counted value changes with it (empty: why it may not be counted).
struct TArtikelZaehlung {
    TEANArtikel Artikel;
    TiznsZeile R, G;
    TMengen100 GVorher{};
    QStringList Inventuren;
    QString Gesperrt;
};

using TGelesen = std::map<TInt32Trio, TiznsZeile, decltype(&TInt32Trio::Numerisch_Kleiner)>;

class TImport {
public:
    TImport(const TZaehldatei& d, const QString& name, const QStringList& schluessel)
        : FD(d), FName(name), FSchluessel(schluessel), FTag(d.ZaehlDatum, d.Filiale)
    {
    }

    TZaehlimport Ausfuehren()
    {
        TZaehlimport r;
        r.Fehler = FD.Fehler;
        r.Zeilen = static_cast<int>(FD.Scans.size());
        if (FD.Filiale == 0 || FD.ZaehlDatum == 0)
            return r;   // without branch and count date no line can be judged
        const auto filialen = GlobFilialTabelle_GetInstance();
        const auto filiale = filialen->Filialen().find(FD.Filiale);
        if (filiale == filialen->Filialen().end()) {
            r.Fehler.push_back({FD.FilialeZeile, QStringLiteral("#filiale=%1").arg(FD.Filiale), QStringLiteral("unbekannte Filiale")});
            return Sortiert(r);
        }
        if (filiale->second.LV_Benutzen && !FD.MitRegal) {
            // its stock is kept per storage location: a count without its shelf cannot be placed
            r.Fehler.push_back({FD.FilialeZeile, QStringLiteral("#filiale=%1").arg(FD.Filiale),
                                QStringLiteral("die Filiale führt den Bestand je Lagerplatz: die Kopfzeile #regal fehlt")});
            return Sortiert(r);
        }
        TTransaktion t(COrt);
        // the day's inventories first: a second import of the same day waits here, and then
        // finds a content that the first recorded
        FInventuren = IA_TagGehalten(FD.ZaehlDatum, FD.Filiale);
        if ((r.Frueher = Zaehldatei_Lesen(FSchluessel))) {
            r.Art = TZaehlimport::SchonEingelesen;
            return r;
        }
        ZaehlsaetzeLesen();
        for (const TZaehlzeile& s : FD.Scans)
            Zaehlen(s, r);
        if (!r.Fehler.empty())
            return Sortiert(r);
        Schreiben(r);
        t.Commit();
        r.Art = TZaehlimport::Eingelesen;
        return r;
    }

private:
    static TZaehlimport& Sortiert(TZaehlimport& r)
    {
        r.Fehler.Sortieren();
        return r;
    }

    void Zaehlen(const TZaehlzeile& s, TZaehlimport& r)
    {
        const auto fehler = [&](const QString& grund) {
            r.Fehler.push_back({s.Nr, s.Menge == 1 ? s.Barcode : QStringLiteral("%1;%2").arg(s.Barcode).arg(s.Menge), grund});
        };
        const QString gtin = EAN_Gtin14(s.Barcode);
        if (FEans.Mehrdeutig.contains(gtin))
            return fehler(QStringLiteral("der Barcode steht in der Tabelle ean für mehrere Artikelgrößen"));
        const TEANArtikel* a = Ean(gtin);
        if (!a)
            return fehler(QStringLiteral("unbekannter Barcode"));
        if (a->Groesse < a->GrVon || a->Groesse > a->GrBis)
            return fehler(QStringLiteral("Größe %1 liegt außerhalb der Größen %2 bis %3 des Artikels %4")
                              .arg(a->Groesse)
                              .arg(a->GrVon)
                              .arg(a->GrBis)
                              .arg(a->ArtNr));
        TArtikelZaehlung& z = Artikel(*a);
        if (!z.Gesperrt.isEmpty())
            return fehler(z.Gesperrt);
        const int i = a->Groesse - 1;
        TMengen100 &r100 = z.R.Satz.GR_MESU, &g100 = z.G.Satz.GR_MESU;
        const int64_t regal = int64_t(r100[i]) + s.Menge, filiale = int64_t(g100[i]) + s.Menge;
        if (regal < 0 || filiale < 0)
            return fehler(QStringLiteral("die Zählung des Artikels %1 in Größe %2 fiele unter 0 (Regal %3: %4, Filiale: %5)")
                              .arg(a->ArtNr)
                              .arg(a->Groesse)
                              .arg(FD.Regal)
                              .arg(r100[i])
                              .arg(g100[i]));
        if (regal > CZaehlMax || filiale > CZaehlMax)
            return fehler(QStringLiteral("die Zählung des Artikels %1 in Größe %2 wäre zu groß").arg(a->ArtNr).arg(a->Groesse));
        r100[i] = static_cast<int32_t>(regal);
        g100[i] = static_cast<int32_t>(filiale);
        r.Stueck += s.Menge;
    }

    // The barcodes of the file and the count records of their articles, read in blocks.
    void ZaehlsaetzeLesen()
    {
        QStringList eans;
        for (const TZaehlzeile& s : FD.Scans)
            eans << s.Barcode;
        eans.removeDuplicates();
        FEans = EAN_Lesen(eans);
        std::vector<TInt32Trio> ids;
        for (const auto& [gtin, a] : FEans.Artikel)
            if (std::find(ids.begin(), ids.end(), a.Produkt_ID) == ids.end())
                ids.push_back(a.Produkt_ID);
        for (size_t von = 0; von < ids.size(); von += TProduktBlockAbfrage::CBlock) {
            const std::vector<TInt32Trio> block(ids.begin() + von, ids.begin() + std::min(ids.size(), von + TProduktBlockAbfrage::CBlock));
            for (TiznsZeile& z : FTag.Lesen(block, FD.Regal))
                (z.Satz.Satzart == QChar('G') ? FGelesenG : FGelesenR)[z.Satz.Produkt_ID] = z;
            if (FD.Nachzaehlung)
                for (const TiznsZeile& z : FTag.Regale(block))
                    if (z.Satz.Regal != FD.Regal && z.Satz.Gezaehlt != 0)
                        for (int i = 0; i < 100; ++i)
                            FAndereRegale[z.Satz.Produkt_ID][i] += z.Satz.GR_MESU[i];
        }
    }

    const TEANArtikel* Ean(const QString& gtin) const
    {
        const auto it = FEans.Artikel.find(gtin);
        return it == FEans.Artikel.end() ? nullptr : &it->second;
    }

    TArtikelZaehlung& Artikel(const TEANArtikel& a)
    {
        const auto [it, neu] = FArtikel.try_emplace(a.Produkt_ID);
        TArtikelZaehlung& z = it->second;
        if (!neu)
            return z;
        z.Artikel = a;
        z.R = Zaehlsatz(a, QChar('R'), FD.Regal, FGelesenR);
        z.G = Zaehlsatz(a, QChar('G'), 0, FGelesenG);
        z.GVorher = z.G.Satz.GR_MESU;
        if (FD.Nachzaehlung) {
            // a recount replaces the shelf's count of the article, and the branch's becomes
            // the sum of its shelves
            z.R.Satz.GR_MESU.fill(0);
            const auto andere = FAndereRegale.find(a.Produkt_ID);
            for (int i = 0; i < 100; ++i)
                z.G.Satz.GR_MESU[i] = andere == FAndereRegale.end() ? 0 : static_cast<int32_t>(std::min(andere->second[i], CZaehlMax));
        }
        // every inventory of the day that holds the article must still take counts: the
        // count records are the day's, shared by all of them
        for (const TIAInventur& inv : FInventuren) {
            if (inv.Schluessel.WGN != QLatin1String("*") && !WGNPasst(a.WGN, inv.Schluessel.WGN))
                continue;
            if (inv.Stand.Status == iakzTeilweiseGebucht || inv.Stand.Status == iakzGebucht) {
                z.Gesperrt = QStringLiteral("die Inventur %1 ist %2 und nimmt keine Zählung mehr an")
                                 .arg(IA_Name(FD.ZaehlDatum, inv.Schluessel.WGN, FD.Filiale), CZEP_IA_KZZaehlung_2_String[inv.Stand.Status].toLower());
                return z;
            }
            if (inv.Stand.Status != iakzStorniert)
                z.Inventuren << inv.Schluessel.WGN;
        }
        if (z.Inventuren.isEmpty())
            z.Gesperrt = QStringLiteral("keine offene Inventur am %1 in Filiale %2 für die Warengruppe %3 des Artikels %4")
                             .arg(TDateTime_FormatDatum(FD.ZaehlDatum))
                             .arg(FD.Filiale)
                             .arg(a.WGN, a.ArtNr);
        return z;
    }

    // The record as it is, a record marked not counted as empty, or a new one over the
    // article's sizes; its size range takes in every size of the article.
    TiznsZeile Zaehlsatz(const TEANArtikel& a, QChar satzart, int32_t regal, const TGelesen& gelesen) const
    {
        const auto it = gelesen.find(a.Produkt_ID);
        TiznsZeile z = it != gelesen.end() ? it->second
                                           : TiznsZeile{0, {FD.ZaehlDatum, a.Produkt_ID, FD.Filiale, satzart, regal, 0, a.GrVon, a.GrBis, {}}};
        TiznsSatz& s = z.Satz;
        if (s.Gezaehlt == 0)
            s.GR_MESU.fill(0);
        s.GrVon = s.GrVon > 0 ? std::min(s.GrVon, a.GrVon) : a.GrVon;
        s.GrBis = std::max(s.GrBis, a.GrBis);
        s.Gezaehlt = 1;
        return z;
    }

    void Schreiben(const TZaehlimport& r)
    {
        std::map<QString, double> istEK;
        TORV_ArtPreisView preise;
        preise.SetStichtag(FD.ZaehlDatum);
        preise.SetFiliale(static_cast<int16_t>(FD.Filiale));
        std::vector<TInt32Trio> block;
        for (auto it = FArtikel.begin(); it != FArtikel.end();) {
            block.clear();
            for (auto b = it; b != FArtikel.end() && block.size() < TProduktBlockAbfrage::CBlock; ++b)
                block.push_back(b->first);
            preise.Vorladen(block);
            for (size_t n = 0; n < block.size(); ++n, ++it) {
                const TArtikelZaehlung& z = it->second;
                FTag.Schreiben(z.R);
                FTag.Schreiben(z.G);
                // the counted value changes by the branch's pieces at their purchase prices
                preise.SetArtikel(it->first);
                std::array<int64_t, 100> aenderung{};
                for (size_t i = 0; i < 100; ++i)
                    aenderung[i] = int64_t(z.G.Satz.GR_MESU[i]) - z.GVorher[i];
                const double wert = Intv100_AenderungBewerten(preise.EKSet(), aenderung);
                for (const QString& wgn : z.Inventuren)
                    istEK[wgn] += wert;
            }
        }
        for (const auto& [wgn, wert] : istEK)
            IA_IstEKAddieren(FD.ZaehlDatum, wgn, FD.Filiale, AufCentRunden(wert));
        Zaehldatei_Eintragen({FName, FSchluessel.first(), FD.Geraet, r.Zeilen, r.Stueck, ORVProgramm().Benutzer(), orv_Now()});
    }

    const TZaehldatei& FD;
    QString FName;
    QStringList FSchluessel;
    std::vector<TIAInventur> FInventuren;
    TiznsTag FTag;
    TEANTreffer FEans;
    TGelesen FGelesenR{&TInt32Trio::Numerisch_Kleiner}, FGelesenG{&TInt32Trio::Numerisch_Kleiner};
    std::map<TInt32Trio, std::array<int64_t, 100>, decltype(&TInt32Trio::Numerisch_Kleiner)> FAndereRegale{&TInt32Trio::Numerisch_Kleiner};
    std::map<TInt32Trio, TArtikelZaehlung, decltype(&TInt32Trio::Numerisch_Kleiner)> FArtikel{&TInt32Trio::Numerisch_Kleiner};
};

}

TZaehlimport ZaehldateiEinlesen(const TZaehldatei& datei, const QString& name, const QStringList& schluessel)
{
    return TImport(datei, name, schluessel).Ausfuehren();
}
