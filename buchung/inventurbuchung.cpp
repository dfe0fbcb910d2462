#include "buchung/inventurbuchung.h"

#include "buchung/ausgleichruecknahme.h"
#include "buchung/offenezaehldateien.h"

#include "framework/app/info.h"
#include "framework/app/interaktion.h"
#include "framework/app/programm.h"
#include "framework/article/artikeltools.h"
#include "framework/article/artlessimple.h"
#include "framework/article/besttyp.h"
#include "framework/article/filialtabelle.h"
#include "framework/article/ggtab.h"
#include "framework/core/fehler.h"
#include "framework/core/geld.h"
#include "framework/core/uhr.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/db/files/fvkfile.h"
#include "framework/db/files/lsnfile.h"
#include "framework/db/produktblock.h"
#include "framework/db/transaktion.h"
#include "framework/stock/buchung.h"
#include "framework/stock/invmani.h"
#include "framework/stock/mdebucher.h"
#include "framework/stock/verkmani.h"
#include "inventurliste/inventurliste.h"

#include <QSqlQuery>
#include <QThread>

#include <cmath>
#include <map>

namespace {

const QString COrtArtikel = QStringLiteral("TfrmKalmetMain.InvBuchenF.InvBuchenF_Artikel");
const QString COrtFVK = QStringLiteral("TfrmKalmetMain.FVKLoeschen");

// Shows the progress for as long as it lives, also when a failure ends the work early.
class TFortschrittZeigen {
public:
    explicit TFortschrittZeigen(const std::function<void(bool)>& f) : F(f)
    {
        if (F)
            F(true);
    }
    ~TFortschrittZeigen()
    {
        if (F)
            F(false);
    }

private:
    const std::function<void(bool)>& F;
};

// The product-group pattern of an inventory: "*" for all groups, else the group and "*".
QString WGNMuster(const QString& wgn)
{
    return wgn == QLatin1String("*") ? wgn : wgn + QLatin1Char('*');
}

TIASchluessel Schluessel(const TZeileAnzeige& z)
{
    return {z.ZaehlDatum, z.WGN, z.Filiale};
}

QString Name(const TZeileAnzeige& z)
{
    return IA_Name(z.ZaehlDatum, z.WGN, z.Filiale);
}

// The protocol lines of the postings the article booker refused.
void AbgelehntMelden(const TBuchErgebnisListe& ergebnis, const TInt32Trio& id, int32_t filiale, std::vector<QString>& zeilen)
{
    for (const TBuchErgebnisListe::TInfo& info : ergebnis.Infos())
        zeilen.push_back(QString::asprintf("%8s-[ ArtNr: %s; Fil: %d;  %s", qPrintable(info.Koord.Modul), qPrintable(id.ToText()), filiale,
                                           qPrintable(QString(info.Text).replace(QLatin1String("\r\n"), QLatin1String(" ")))));
}

}

TInventurBuchung::TInventurBuchung(TInventurliste& liste, TDateTime wiJahr, TBuchungsUmgebung umgebung)
    : FListe(liste), FArtikel(TORVServerFactory::ArtLesSimpleHolen()), FInvMani(std::make_unique<TInvMani>()), FWiJahr(wiJahr),
      FUmgebung(std::move(umgebung))
{
    FArtikel->SetMode(2);
    FArtikel->SetSegmente(0x7);   // segments 0, 1 and 2
}

TInventurBuchung::~TInventurBuchung() = default;

bool TInventurBuchung::TestLagerfilialen(const TZeileAnzeige_Arr& zeilen)
{
    bool abgelehnt = true;
    ORVGuard(QStringLiteral("TfrmKalmetMain.TestLagerfilialen"), [&] {
        const TFortschrittZeigen fortschritt(FUmgebung.Fortschritt);
        std::vector<TZEP_clMeldung> verworfen;
        InvBuchenF(zeilen, abgelehnt, true, verworfen);
    });
    return !abgelehnt;
}

void TInventurBuchung::StatusSetzen(const TZeileAnzeige& zeile, TZEP_IA_KZZaehlung status)
{
    if (FUmgebung.Status)
        FUmgebung.Status(zeile, status);
}

bool TInventurBuchung::InvBuchen(std::vector<TBuchungsZeile> geprueft, const TZeileAnzeige_Arr& zeilen,
                                 std::vector<TZEP_clMeldung>& AMeldungen)
{
    bool r = false;
    FNichtAbgeschlossen.clear();
    ORVGuard(QStringLiteral("TfrmKalmetMain.InvBuchen"), [&] {
        // counts of a rejected count file would be booked as differences: while such a file
        // names an inventory's day and branch, the user deals with it first
        TMDEBucher zaehldateien;
        zaehldateien.DateiSuche();
        if (const QStringList offen = ZaehldateienOffen(zaehldateien, geprueft); !offen.isEmpty()) {
            ORVInteraktion().Meldung(maInfo, QStringLiteral("Buchen"),
                                     QStringLiteral("Zähldateien im Ordner %1, deren Zählungen fehlen, betreffen:\n%2\nDie Buchung "
                                                    "wird nicht ausgeführt. Abgelehnte Dateien berichtigen und wieder einlesen oder aus "
                                                    "dem Ordner nehmen, wartende einlesen lassen, dann erneut buchen.")
                                         .arg(zaehldateien.Ordner(), offen.join(QLatin1Char('\n'))),
                                     FUmgebung.Owner);
            return;
        }
        // the checks judge the inventories as they are now, not as the list showed them
        for (TBuchungsZeile& z : geprueft) {
            const TIAStand jetzt = IA_Lesen(z.Zeile.ZaehlDatum, z.Zeile.WGN, z.Zeile.Filiale);
            z.Gefunden = jetzt.Gefunden;
            z.Status = jetzt.Status;
            z.SollEK = jetzt.SollEK;
            z.IstEK = jetzt.IstEK;
        }
        const QString modul = QStringLiteral("KALMET");
        if (!TestOffen(geprueft)) {
            ORVInfo().ShowMeldung(maInfo, {}, FUmgebung.Owner, modul, 1003);
            return;
        }
        if (!TestFreigabe(geprueft))
            return;
        if (!Test5Proz(geprueft) && ORVInfo().ShowMeldung(maFrageJaNein, {}, FUmgebung.Owner, modul, 1001) != maJa)
            return;
        if (!TestUngezaehlt(zeilen))
            return;
        if (ORVInfo().ShowMeldung(maFrageJaNein, {}, FUmgebung.Owner, modul, 1002) != maJa)
            return;
        if (!TestLagerfilialen(zeilen)) {
            ORVInfo().ShowMeldung(maInfo, {}, FUmgebung.Owner, modul, 1007);
            return;
        }
        const std::vector<TBuchungsZeile> bereit = Inventuren_AbschlussUnvo(geprueft);
        TZeileAnzeige_Arr buchen;
        for (const TZeileAnzeige& z : zeilen)
            if (std::any_of(bereit.begin(), bereit.end(), [&](const TBuchungsZeile& b) { return Schluessel(b.Zeile) == Schluessel(z); }))
                buchen.push_back(z);
        {
            const TFortschrittZeigen fortschritt(FUmgebung.Fortschritt);
            bool abgelehnt = false;
            InvBuchenF(buchen, abgelehnt, false, AMeldungen);
        }
        r = AMeldungen.empty() && FNichtAbgeschlossen.isEmpty();
    });
    if (!FNichtAbgeschlossen.isEmpty())
        ORVInteraktion().Meldung(maInfo, QStringLiteral("Buchen"),
                                 QStringLiteral("Nicht abgeschlossen:\n%1\nDie Ursachen stehen im Protokoll; nach ihrer Behebung "
                                                "erneut buchen.")
                                     .arg(FNichtAbgeschlossen.join(QLatin1Char('\n'))),
                                 FUmgebung.Owner);
    return r;
}

void TInventurBuchung::InvBuchenF(const TZeileAnzeige_Arr& zeilen, bool& AAbgelehnt, bool ATestlauf,
                                  std::vector<TZEP_clMeldung>& AMeldungen)
{
    AAbgelehnt = false;
    const bool ok = ORVGuard(QStringLiteral("TfrmKalmetMain.InvBuchenF"), [&] {
        if (!ATestlauf) {
            CommonLock().VerwaisteEntfernen();
            AusgleicheEntfallenerTageZuruecknehmen(*FInvMani, FUmgebung.TestWG);
        }
        for (const TZeileAnzeige& z : zeilen) {
            const auto& filialen = GlobFilialTabelle_GetInstance()->Filialen();
            const auto fil = filialen.find(z.Filiale);
            const bool lager = fil != filialen.end() && fil->second.LV_Benutzen;
            if (ATestlauf && z.Filiale != 0 && !lager)
                continue;
            TInventur inv;
            inv.IV = {FWiJahr, z.ZaehlDatum, z.Filiale};
            inv.WGNMuster = WGNMuster(z.WGN);
            inv.Zeile = z;
            InvBearbeitenInventur(inv, ATestlauf, AAbgelehnt, AMeldungen);
        }
    });
    if (!ok && ATestlauf)
        AAbgelehnt = true;
    else if (!ok)
        FNichtAbgeschlossen << QStringLiteral("Die Buchung wurde abgebrochen.");
}

void TInventurBuchung::InvBearbeitenInventur(TInventur& inv, bool ATestlauf, bool& AAbgelehnt, std::vector<TZEP_clMeldung>& AMeldungen)
{
    const QString ort = QStringLiteral("TfrmKalmetMain.InvBuchenF.InvBearbeitenInventur");
    bool geschlossen = false;
    int schonGebucht = 0;
    const bool ok = ORVGuard(ort, [&] {
        // the branch's other count days that have happened
        const TDateTime heute = DateOf(orv_Now());
        for (const TIAZaehltag& z : IA_Zaehltage(inv.IV.Filiale))
            if (DateOf(z.ZaehlDatum) != DateOf(inv.IV.ZaehlDatum) && DateOf(z.ZaehlDatum) <= heute)
                inv.Andere.push_back(z);
        std::vector<TZEP_clMeldung> gesperrt;
        std::vector<TInt32Trio> fehlerhaft;   // articles that failed are not tried again in this run
        for (int durchlauf = 5; durchlauf > 0; --durchlauf) {
            if (durchlauf < 5)
                QThread::msleep(200);   // let the holders of the locks finish their articles
            gesperrt.clear();
            const std::vector<TInt32Trio> ids = IV_ZuBuchendeArtikel(inv.IV);
            for (size_t i = 0; i < ids.size(); ++i) {
                const TInt32Trio& id = ids[i];
                constexpr size_t block = TProduktBlockAbfrage::CBlock;
                if (i % block == 0) {   // master records (and prices, where postings need them) a block at a time
                    const std::vector<TInt32Trio> naechste(ids.begin() + i, ids.begin() + std::min(ids.size(), i + block));
                    if (PreisHistorieNoetig())
                        FArtikel->Vorladen(naechste);
                    else
                        FArtikel->StammVorladen(naechste);
                }
                if (FUmgebung.TestWG && !FUmgebung.TestWG(id, inv.WGNMuster))
                    continue;
                if (std::find(fehlerhaft.begin(), fehlerhaft.end(), id) != fehlerhaft.end())
                    continue;
                if (!FArtikel->Laden(id))
                    FehlerRaise(QStringLiteral("InvBearbeitenInventur"),
                                {QStringLiteral("Artikel nicht gefunden"), QStringLiteral("Produkt-ID: ") + id.ToText()});
                const QString artNr = FArtikel->Satz().ArtNr;
                if (FUmgebung.Artikel)
                    FUmgebung.Artikel(artNr, true);
                if (ATestlauf) {
                    if (ArtikelMitDifferenz(inv, id)) {
                        AAbgelehnt = true;
                        return;
                    }
                    continue;
                }
                TZEP_clMeldung m;
                switch (InvBuchenF_Artikel(inv, id, m)) {
                case TArtikelErgebnis::Gesperrt:
                    m.Artikel = artNr;
                    gesperrt.push_back(m);
                    break;
                case TArtikelErgebnis::Abgelehnt:
                case TArtikelErgebnis::Fehlgeschlagen:
                    fehlerhaft.push_back(id);
                    break;
                case TArtikelErgebnis::InventurGeaendert:
                    Geaendert(inv.Zeile, IA_Lesen(inv.IV.ZaehlDatum, inv.Zeile.WGN, inv.IV.Filiale));
                    return;
                case TArtikelErgebnis::SchonGebucht:
                    ++schonGebucht;
                    break;
                case TArtikelErgebnis::Gebucht:
                    break;
                }
            }
            if (gesperrt.empty())
                break;
        }
        AMeldungen.insert(AMeldungen.begin(), gesperrt.begin(), gesperrt.end());
        if (ATestlauf || !gesperrt.empty())
            return;
        if (!fehlerhaft.empty()) {
            FNichtAbgeschlossen << QStringLiteral("%1: %2 Artikel nicht gebucht").arg(Name(inv.Zeile)).arg(fehlerhaft.size());
            return;
        }
        geschlossen = true;
    });
    if (schonGebucht > 0)
        ORVInfo().WriteStamp(QStringLiteral("Inventur %1: %2 Artikel hatte ein anderer Arbeitsplatz schon gebucht")
                                 .arg(Name(inv.Zeile))
                                 .arg(schonGebucht),
                             0);
    if (!ok && ATestlauf)
        AAbgelehnt = true;   // a trial run that could not look refuses
    else if (!ok)
        FNichtAbgeschlossen << QStringLiteral("%1: abgebrochen").arg(Name(inv.Zeile));
    if (geschlossen)
        InventurAbschliessen(inv);
}

void TInventurBuchung::Geaendert(const TZeileAnzeige& z, const TIAStand& jetzt)
{
    if (jetzt.Gefunden && jetzt.Status == iakzGebucht) {
        StatusSetzen(z, iakzGebucht);   // closed by another terminal that booked it at the same time
        return;
    }
    FNichtAbgeschlossen << QStringLiteral("%1: an einem anderen Arbeitsplatz geändert (%2)")
                               .arg(Name(z), jetzt.Gefunden ? CZEP_IA_KZZaehlung_2_String[jetzt.Status] : QStringLiteral("gelöscht"));
}

void TInventurBuchung::InventurAbschliessen(const TInventur& inv)
{
    const TZeileAnzeige& z = inv.Zeile;
    const bool ok = ORVGuard(QStringLiteral("TfrmKalmetMain.InvBuchenF.InvBearbeitenInventur"), [&] {
        if (IA_StatusSetzen(z.ZaehlDatum, z.WGN, z.Filiale, iakzGebucht, {iakzTeilweiseGebucht}))
            StatusSetzen(z, iakzGebucht);
        else
            Geaendert(z, IA_Lesen(z.ZaehlDatum, z.WGN, z.Filiale));
    });
    if (!ok)
        FNichtAbgeschlossen << QStringLiteral("%1: nicht abgeschlossen").arg(Name(z));
}

bool TInventurBuchung::ArtikelMengenfeld(const TInventur& inv, const TInt32Trio& id, const TIAArtikel& artikel, bool lagerPruefen,
                                         TMengenfeld& feld)
{
    FListe.InitMengenfeld(feld);
    if (artikel.Sollsaetze.empty() && !artikel.OhneSollsatz)
        return false;   // posted
    for (const TivSatz& s : artikel.Sollsaetze)
        FListe.FuelleMengenfeld_MitSollsaetzen(s, feld);
    if (artikel.Zaehlsatz)
        MengenfeldZaehlsatzAddieren(feld, *artikel.Zaehlsatz, QStringLiteral("TfrmKalmetMain.FuelleMengenfeld_MitZaehlsaetzen"));
    else if (artikel.OhneSollsatz)
        return false;   // its count is gone
    FListe.FVKKorrektur_Aktuell(id, inv.IV.Filiale, inv.IV.ZaehlDatum, lagerPruefen, artikel.Fvk, artikel.FvkZaehltag, feld);
    feld[mfDiff].MinMax_Suchen();
    return true;
}

bool TInventurBuchung::ArtikelMitDifferenz(const TInventur& inv, const TInt32Trio& id)
{
    TMengenfeld feld;
    return ArtikelMengenfeld(inv, id, IA_ArtikelLesen(Schluessel(inv.Zeile), inv.IV, id), true, feld) && !feld[mfDiff].IsEmpty();
}

bool TInventurBuchung::PreisHistorieNoetig() const
{
    return orv_Now() > EndOfTheDay(WiJahrEnde(FWiJahr));
}

// The date of a posting: the count date (-1) while the fiscal year has not ended; after it
// just before the year's end, or, for a difference, just before the end of the day of the
// article's last price-history transaction when that came later.
TDateTime TInventurBuchung::BuchDatum(const TInt32Trio& AProdId, bool mitPreisHistorie) const
{
    const TDateTime f = WiJahrEnde(FWiJahr);
    const TDateTime e = EndOfTheDay(f);
    if (!PreisHistorieNoetig())
        return -1;   // the count date
    if (!mitPreisHistorie)
        return f - 0.01;
    IORV_ArtLesSimple& leser = *FArtikel;
    if (!leser.Laden(AProdId) || leser.Preise().PreisHistorie().empty())
        return f - 0.01;
    const TDateTime d = leser.Preise().PreisHistorie().back().Datum;
    return d > e ? EndOfTheDay(d) - 0.01 : f - 0.01;
}

TArtikelErgebnis TInventurBuchung::InvBuchenF_Artikel(const TInventur& inv, const TInt32Trio& AProdId, TZEP_clMeldung& AMeldung)
{
    TArtikelErgebnis r = TArtikelErgebnis::Fehlgeschlagen;
    std::vector<QString> abgelehnt;
    // the transaction and the lock end inside: a failure is registered after the rollback,
    // so its protocol row stays, and no message waits while a write lock is held
    ORVGuard(COrtArtikel, [&] { r = ArtikelBuchen(inv, AProdId, AMeldung, abgelehnt); }, false);
    for (const QString& zeile : abgelehnt)
        ORVInfo().WriteStamp(zeile, 1);
    if (r == TArtikelErgebnis::SchonGebucht)
        ORVInfo().WriteStamp(QStringLiteral("Inventur %1: Artikel %2 war schon gebucht (anderer Arbeitsplatz)")
                                 .arg(Name(inv.Zeile), ProduktID_2_ArtNr_Formatted(AProdId, false)),
                             0);
    return r;
}

TArtikelErgebnis TInventurBuchung::ArtikelBuchen(const TInventur& inv, const TInt32Trio& id, TZEP_clMeldung& AMeldung,
                                                 std::vector<QString>& abgelehnt)
{
    TInvMani& mani = *FInvMani;
    if (!mani.ArtBucher())
        mani.ArtBuchen_Init(true, false);
    TArtikelTransaktion t(id, AMeldung, COrtArtikel);
    if (!t.Gehalten())
        return TArtikelErgebnis::Gesperrt;
    // the inventory as it is now, held until the article is done: cancelled or reset
    // elsewhere, nothing more of it is posted
    const TIAArtikel artikel = IA_ArtikelGehalten(Schluessel(inv.Zeile), inv.IV, id);
    const TIAStand& inventur = artikel.Inventur;
    if (!inventur.Gefunden || inventur.Status != iakzTeilweiseGebucht)
        return TArtikelErgebnis::InventurGeaendert;
    TMengenfeld feld;
    // its erroneous sales are read with it, once: corrected, then converted
    if (!ArtikelMengenfeld(inv, id, artikel, false, feld))
        return TArtikelErgebnis::SchonGebucht;

    const int32_t fil = inv.IV.Filiale;
    TBuchErgebnisListe& ergebnis = mani.BuchErgebnisse();
    ergebnis.Vorbereiten(id);
    std::vector<TWirkung> differenz;
    if (!feld[mfDiff].IsEmpty()) {
        TWirkung diff;
        TMengen100 m{};
        for (int i = 0; i < 100; ++i) {
            diff.Menge[i] = feld[mfDiff].Me[i];
            m[i] = -diff.Menge[i];
        }
        TZusatzBuchDaten zusatz;
        const TDateTime datum = BuchDatum(id, true);
        zusatz.BuchDatum = diff.Datum = datum < 0 ? inv.IV.ZaehlDatum : datum;
        mani.ArtBucher()->MengenSetzen(fil, m);
        mani.ArtBucher()->Buchen(abtInventurdifferenz, fil, 0, zusatz, id, ergebnis);
        differenz.push_back(diff);
    }
    AbgelehntMelden(ergebnis, id, fil, abgelehnt);
    if (!abgelehnt.empty())
        return TArtikelErgebnis::Abgelehnt;   // nothing of it, its erroneous sales included
    const TAndereTage andere(inv, id, FUmgebung);
    const std::vector<TWirkung> verkauf = FVKTagWandeln(inv, artikel.Fvk, andere);
    AndereZaehltageAusgleichen(inv, id, andere, differenz, verkauf, abgelehnt);
    if (!abgelehnt.empty())
        return TArtikelErgebnis::Abgelehnt;
    IV_GebuchtMarkieren(inv.IV, id, artikel.OhneSollsatz, ArtBestTyp_2_Char(TArtBucher::CBestTyp));
    t.Commit();
    return TArtikelErgebnis::Gebucht;
}

TInventurBuchung::TAndereTage::TAndereTage(const TInventur& inv, const TInt32Trio& id, const TBuchungsUmgebung& umgebung)
    : FInv(inv), FId(id), FUmgebung(umgebung)
{
    for (const TIAZaehltag& z : inv.Andere)
        FZaehlDatum[DateOf(z.ZaehlDatum)] = z.ZaehlDatum;
}

const TInventurBuchung::TAndereTage::TSicht& TInventurBuchung::TAndereTage::Sicht(TDateTime tag) const
{
    if (const auto it = FSicht.find(tag); it != FSicht.end())
        return it->second;
    TSicht r;
    for (const TIAZaehltag& z : FInv.Andere) {
        if (DateOf(z.ZaehlDatum) != tag || (FUmgebung.TestWG && !FUmgebung.TestWG(FId, WGNMuster(z.WGN))))
            continue;
        r.Haelt = true;
        r.Gebucht = r.Gebucht || z.Status == iakzGebucht;
    }
    return FSicht.emplace(tag, r).first->second;
}

std::vector<TInventurBuchung::TWirkung> TInventurBuchung::FVKTagWandeln(const TInventur& inv, const TFvkZeilen& fvk,
                                                                        const TAndereTage& andere)
{
    TFvkZeilen dieses;
    for (const auto& z : fvk)
        if (ImFVKKorrektur(z.second.Datum, inv.IV.ZaehlDatum))
            dieses.push_back(z);
    // a later count day whose targets were taken already misses the sale in its target: its
    // correction keeps it; a booked day has its count in the stock and takes the sale back
    return FVKAlleWandeln(dieses, [&](qint64 fvkId, const TFvkSatz& s) {
        for (auto it = andere.Tage().lower_bound(DateOf(s.Datum)); it != andere.Tage().end(); ++it)
            if (andere.Haelt(it->first) && !andere.Gebucht(it->first))
                FVK_ZaehltagMerken(it->second, fvkId, s, COrtArtikel);
    });
}

namespace {

// What leaves the stock on each count day (earliest first) so that a day keeps what the
// postings changed up to its end only when behaelt says so, and none of it otherwise; a day
// that does not hold the article gets nothing and passes the change on.
std::map<TDateTime, TMengen100> Ausgleiche(const std::vector<std::pair<TDateTime, TMengen100>>& wirkungen, const std::vector<TDateTime>& tage,
                                           const std::function<bool(TDateTime)>& haelt, const std::function<bool(TDateTime)>& behaelt)
{
    std::map<TDateTime, TMengen100> r;
    TMengen100 ausgeglichen{};
    for (const TDateTime tag : tage) {
        TMengen100 wirkung{};
        for (const auto& [datum, menge] : wirkungen)
            if (DateOf(datum) <= tag)
                for (int i = 0; i < 100; ++i)
                    wirkung[i] += menge[i];
        const auto null = [](const TMengen100& m) { return std::all_of(m.begin(), m.end(), [](int32_t x) { return x == 0; }); };
        if (null(wirkung) && null(ausgeglichen))
            continue;   // nothing to balance, whatever the day keeps: its holding is not asked
        const bool bleibt = behaelt(tag);
        TMengen100 ausgleich{};
        bool noetig = false;
        for (int i = 0; i < 100; ++i) {
            ausgleich[i] = wirkung[i] + ausgeglichen[i] - (bleibt ? wirkung[i] : 0);
            noetig = noetig || ausgleich[i] != 0;
        }
        if (!noetig || bleibt || !haelt(tag))
            continue;
        for (int i = 0; i < 100; ++i)
            ausgeglichen[i] -= ausgleich[i];
        r[tag] = ausgleich;
    }
    return r;
}

}

void TInventurBuchung::AndereZaehltageAusgleichen(const TInventur& inv, const TInt32Trio& id, const TAndereTage& andere,
                                                   const std::vector<TWirkung>& differenz, const std::vector<TWirkung>& verkauf,
                                                   std::vector<QString>& abgelehnt)
{
    if (differenz.empty() && verkauf.empty())
        return;
    const TDateTime dieser = DateOf(inv.IV.ZaehlDatum);
    std::vector<TDateTime> tage{dieser};
    for (const auto& [tag, _] : andere.Tage())
        if (tag != dieser)
            tage.push_back(tag);
    std::sort(tage.begin(), tage.end());
    const auto haelt = [&](TDateTime tag) { return tag == dieser || andere.Haelt(tag); };
    const auto paare = [](const std::vector<TWirkung>& w) {
        std::vector<std::pair<TDateTime, TMengen100>> r;
        for (const TWirkung& x : w)
            r.emplace_back(x.Datum, x.Menge);
        return r;
    };
    // the difference stays on this day; a sale also on the later days that still correct by it
    std::map<TDateTime, TMengen100> posten =
        Ausgleiche(paare(differenz), tage, haelt, [&](TDateTime tag) { return tag == dieser; });
    for (const auto& [tag, menge] : Ausgleiche(paare(verkauf), tage, haelt, [&](TDateTime tag) {
             return tag == dieser || (andere.Haelt(tag) && !andere.Gebucht(tag));
         })) {
        TMengen100& summe = posten[tag];
        for (int i = 0; i < 100; ++i)
            summe[i] += menge[i];
    }
    TInvMani& mani = *FInvMani;
    for (const auto& [tag, ausgleich] : posten) {
        if (std::all_of(ausgleich.begin(), ausgleich.end(), [](int32_t m) { return m == 0; }))
            continue;
        TBuchErgebnisListe& ergebnis = mani.BuchErgebnisse();
        ergebnis.Vorbereiten(id);
        TZusatzBuchDaten zusatz;
        zusatz.BuchDatum = tag;
        mani.ArtBucher()->MengenSetzen(inv.IV.Filiale, ausgleich);
        mani.ArtBucher()->Buchen(abtInventurUebernahme, inv.IV.Filiale, 0, zusatz, id, ergebnis);
        AbgelehntMelden(ergebnis, id, inv.IV.Filiale, abgelehnt);
    }
}

void TInventurBuchung::FVKLoeschen(const TInt32Trio& AProdId, int32_t AFiliale)
{
    ORVGuard(COrtFVK, [&] {
        TTransaktion t(COrtFVK);
        FVKAlleWandeln(FVK_Lesen(AProdId, AFiliale, COrtFVK));
        t.Commit();
    });
}

std::vector<TInventurBuchung::TWirkung> TInventurBuchung::FVKAlleWandeln(const TFvkZeilen& saetze,
                                                                        const std::function<void(qint64, const TFvkSatz&)>& gewandelt)
{
    std::vector<TWirkung> r;
    for (const auto& [id, s] : saetze) {
        int ergebnis = 0;
        if (const std::optional<TWirkung> w = FVKWandeln(s, id, ergebnis)) {
            r.push_back(*w);
            if (gewandelt)
                gewandelt(id, s);
        }
    }
    return r;
}

std::optional<TInventurBuchung::TWirkung> TInventurBuchung::FVKWandeln(const TFvkSatz& fvk, qint64 id, int& AErgebnis)
{
    Tlsnfile lsn;
    lsn.AllesClear();
    lsn.Mandant.SetWert(ORVProgramm().MandantErster());
    lsn.Datum.SetWert(fvk.Datum);
    lsn.Filiale.SetWert(fvk.Filiale);
    lsn.Zusatznummer1.SetWert(fvk.Zusatznummer);
    lsn.Zusatznummer2.SetWert(fvk.Zusatznummer);
    lsn.Belegcode.SetWert(QStringLiteral("A9"));
    lsn.Zusatztext.SetWert(fvk.Zusatztext);
    lsn.Produkt_ID.SetWert(fvk.Produkt_ID);
    lsn.Groesse.SetWert(fvk.Groesse);
    const int index = 1 + GGTab_Glob().Groesse_Numerisch_2_Index(TArtikelTools::GG_Key_AusAAFile(fvk.Produkt_ID), fvk.Groesse);
    lsn.GroessenIndex.SetWert(index);
    if (index <= 0)
        return std::nullopt;   // a size the article's grid does not have: not converted
    lsn.Vorzeichen.SetWert(fvk.Vorzeichen);
    const int32_t menge = FVK_VerkaufteMenge(fvk.Vorzeichen, fvk.Menge);
    lsn.Menge.SetWert(menge);
    lsn.Wert1.SetWert(fvk.Preis1 * menge);
    lsn.Wert2.SetWert(fvk.Preis2 * menge);
    const int u = fvk.Uhrzeit;
    lsn.Uhrzeit.SetWert((((u / 10000) % 24) * 3600 + ((u / 100) % 100) * 60 + u % 100) / 86400.0);
    const TInt32Trio referenz{fvk.BelegPaar.Int1, fvk.BelegPaar.Int2, static_cast<int16_t>(fvk.BelegNr)};
    return TWirkung{fvk.Datum, TVerkMani().FVKWandeln(lsn, referenz, AErgebnis, id)};
}
