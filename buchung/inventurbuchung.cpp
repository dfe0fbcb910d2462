#include "buchung/inventurbuchung.h"

#include "framework/app/info.h"
#include "framework/app/interaktion.h"
#include "framework/app/programm.h"
#include "framework/article/artikeltools.h"
#include "framework/article/artlessimple.h"
#include "framework/article/filialtabelle.h"
#include "framework/article/ggtab.h"
#include "framework/core/fehler.h"
#include "framework/core/uhr.h"
#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"
#include "framework/db/files/fvkfile.h"
#include "framework/db/files/lsnfile.h"
#include "framework/db/produktblock.h"
#include "framework/stock/buchung.h"
#include "framework/stock/invmani.h"
#include "framework/stock/mdebucher.h"
#include "framework/stock/verkmani.h"
#include "inventurliste/inventurliste.h"

#include <QSqlQuery>

#include <cmath>

namespace {

QVariant Sql(TDateTime d)
{
    return TDatumTraits::ToSql(d).first();
}

TDateTime AusSql(const QVariant& v)
{
    return TDatumTraits::FromSql(&v);
}

// A cell as a number; NaN when it is none.
double Zahl(const QVariant& v)
{
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? d : std::nan("");
}

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

// The inventory record of a row: status set and written back.
bool IAStatusSchreiben(TDateTime zaehlDatum, const QString& wgnMuster, int32_t filiale, TZEP_IA_KZZaehlung status)
{
    QSqlQuery q = TZEP_Connection::Ausfuehren(QStringLiteral("IAStatusSchreiben"),
                                              QStringLiteral("UPDATE ia SET kzzaehlung = ? WHERE zaehldatum = ? AND wgn = ? AND filiale = ?"),
                                              {QString(IA_KZZaehlung_2_Char(status)), Sql(zaehlDatum), wgnMuster, filiale});
    return q.numRowsAffected() > 0;
}

}

bool Innerhalb5Prozent(const QVariant& sollEK, const QVariant& istEK)
{
    const double a = Zahl(sollEK), b = Zahl(istEK);
    if (!std::isnan(a) && std::fabs(a) >= 0.005)
        return std::fabs((a - b) / a) < 0.05;
    return std::fabs(b) <= 0.005;
}

TInventurBuchung::TInventurBuchung(TInventurliste& liste, TDateTime wiJahr, TBuchungsUmgebung umgebung)
    : FListe(liste), FWiJahr(wiJahr), FUmgebung(std::move(umgebung))
{
}

bool TInventurBuchung::Test5Proz(const std::vector<TBuchungsZeile>& geprueft)
{
    bool r = false;
    ORVGuard(QStringLiteral("TfrmKalmetMain.Test5Proz"), [&] {
        r = std::all_of(geprueft.begin(), geprueft.end(), [](const TBuchungsZeile& z) { return Innerhalb5Prozent(z.SollEK, z.IstEK); });
    });
    return r;
}

bool TInventurBuchung::TestOffen(const std::vector<TBuchungsZeile>& geprueft)
{
    bool r = false;
    ORVGuard(QStringLiteral("TfrmKalmetMain.TestOffen"), [&] {
        r = std::none_of(geprueft.begin(), geprueft.end(), [](const TBuchungsZeile& z) {
            return z.Status == iakzInZaehlung || z.Status == iakzGebucht || z.Status == iakzStorniert;
        });
    });
    return r;
}

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

void TInventurBuchung::Inventuren_AbschlussUnvo(const std::vector<TBuchungsZeile>& zeilen)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.Inventuren_AbschlussUnvo"), [&] {
        for (const TBuchungsZeile& z : zeilen) {
            if (z.Status != iakzGezaehlt && z.Status != iakzFreigegeben)
                continue;
            const QString wgn = z.Zeile.WGN == QLatin1String("*") ? QString(QLatin1String("")) : z.Zeile.WGN;
            if (IAStatusSchreiben(z.Zeile.ZaehlDatum, wgn, z.Zeile.Filiale, iakzTeilweiseGebucht))
                StatusSetzen(z.Zeile, iakzTeilweiseGebucht);
        }
    });
}

bool TInventurBuchung::InvBuchen(const std::vector<TBuchungsZeile>& geprueft, const TZeileAnzeige_Arr& zeilen,
                                 std::vector<TZEP_clMeldung>& AMeldungen)
{
    bool r = true;
    ORVGuard(QStringLiteral("TfrmKalmetMain.InvBuchen"), [&] {
        TMDEBucher().DateiSuche();
        const QString modul = QStringLiteral("KALMET");
        if (!TestOffen(geprueft)) {
            ORVInfo().ShowMeldung(maInfo, {}, FUmgebung.Owner, modul, 1003);
            r = false;
            return;
        }
        if (!Test5Proz(geprueft) && ORVInfo().ShowMeldung(maFrageJaNein, {}, FUmgebung.Owner, modul, 1001) != maJa) {
            r = false;
            return;
        }
        if (ORVInfo().ShowMeldung(maFrageJaNein, {}, FUmgebung.Owner, modul, 1002) != maJa) {
            r = false;
            return;
        }
        if (!TestLagerfilialen(zeilen)) {
            ORVInfo().ShowMeldung(maInfo, {}, FUmgebung.Owner, modul, 1007);
            r = false;
            return;
        }
        Inventuren_AbschlussUnvo(geprueft);
        {
            const TFortschrittZeigen fortschritt(FUmgebung.Fortschritt);
            bool abgelehnt = false;
            InvBuchenF(zeilen, abgelehnt, false, AMeldungen);
        }
        r = AMeldungen.empty();
    });
    return r;
}

void TInventurBuchung::InvBuchenF(const TZeileAnzeige_Arr& zeilen, bool& AAbgelehnt, bool ATestlauf,
                                  std::vector<TZEP_clMeldung>& AMeldungen)
{
    AAbgelehnt = false;
    ORVGuard(QStringLiteral("TfrmKalmetMain.InvBuchenF"), [&] {
        for (const TZeileAnzeige& z : zeilen) {
            const auto& filialen = GlobFilialTabelle_GetInstance()->Filialen();
            const auto fil = filialen.find(z.Filiale);
            const bool lager = fil != filialen.end() && fil->second.LV_Benutzen;
            if (ATestlauf && z.Filiale != 0 && !lager)
                continue;
            const QString muster = z.WGN == QLatin1String("*") ? z.WGN : z.WGN + QLatin1Char('*');
            InvBearbeitenInventur(z.Filiale, muster, z.ZaehlDatum, ATestlauf, AAbgelehnt, AMeldungen, z);
        }
    });
}

void TInventurBuchung::InvBearbeitenInventur(int32_t AFiliale, const QString& AWGNMuster, TDateTime AZaehlDatum, bool ATestlauf,
                                             bool& AAbgelehnt, std::vector<TZEP_clMeldung>& AMeldungen, const TZeileAnzeige& zeile)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.InvBuchenF.InvBearbeitenInventur"), [&] {
        TInvMani& mani = FListe.InvMani();
        TORV_ArtInv_Zaehldatum zd;
        zd.Jahr = static_cast<int16_t>(TDateTime_ToQDate(FWiJahr).year());
        zd.Tag = static_cast<int32_t>(std::trunc(AZaehlDatum));
        mani.Artlesen_Init(zd, false, false, true, WiJahrEnde(FWiJahr));
        const TConnectorTyp typ = TZEP_Connection::Typ();
        const QString mengen = MengenLeseAusdruecke(MengenSpalten(QStringLiteral("menge"), 0), typ).join(QStringLiteral(", "));
        std::vector<TZEP_clMeldung> gesperrt;
        bool fehlgeschlagen = false;   // an article that failed keeps the inventory open
        for (int durchlauf = 5; durchlauf > 0; --durchlauf) {
            gesperrt.clear();
            fehlgeschlagen = false;
            // the target records not posted yet, an article's records one after another
            std::vector<TivSatz> soll;
            QSqlQuery q = TZEP_Connection::Ausfuehren(
                QStringLiteral("TfrmKalmetMain.InvBuchenF.InvBearbeitenInventur"),
                QStringLiteral("SELECT produkt_id_1, produkt_id_2, produkt_id_3, besttyp, standneu, standalt, kzgebucht, %1 FROM iv "
                               "WHERE wijahr = ? AND zaehldatum = ? AND filiale = ? AND kzgebucht <> 'A' "
                               "ORDER BY produkt_id_1, produkt_id_2, produkt_id_3, besttyp, id")
                    .arg(mengen),
                {Sql(FWiJahr), Sql(AZaehlDatum), AFiliale});
            while (q.next()) {
                TivSatz s;
                s.WiJahr = FWiJahr;
                s.ZaehlDatum = AZaehlDatum;
                s.Filiale = AFiliale;
                s.Produkt_ID = {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()};
                const QString bestTyp = q.value(3).toString();
                s.BestTyp = bestTyp.isEmpty() ? QChar(' ') : bestTyp.at(0);
                s.StandNeu = q.value(4).toInt();
                s.StandAlt = q.value(5).toInt();
                s.Menge = MengenLesen(q, 7, typ, QStringLiteral("iv"));
                soll.push_back(s);
            }
            q.finish();
            TMengenfeld feld;
            TInt32Trio aktuell;
            bool gezaehltGelesen = false;
            const auto positionieren = [&](const TInt32Trio& id) {
                if (!mani.eigen_get_equal(id, 0, false))
                    FehlerRaise(QStringLiteral("InvBearbeitenInventur"),
                                {QStringLiteral("Artikel nicht gefunden"), QStringLiteral("Produkt-ID: ") + id.ToText()});
                FListe.FuelleMengenFeld_UF(static_cast<int16_t>(AFiliale), feld);
            };
            // posts the current article; false when the trial run found a difference
            const auto buchen = [&](bool nachrichten) {
                if (FUmgebung.Artikel && nachrichten)
                    FUmgebung.Artikel(ProduktID_2_ArtNr_Formatted(aktuell, false), true);
                TZEP_clMeldung m;
                const bool gebucht = InvBuchenF_Artikel(AFiliale, aktuell, feld, m, AZaehlDatum, ATestlauf, AAbgelehnt);
                if (!m.Artikel.isEmpty())
                    gesperrt.push_back(m);
                else if (!gebucht)
                    fehlgeschlagen = true;
                return !(ATestlauf && AAbgelehnt);
            };
            if (!soll.empty()) {
                FListe.InitMengenfeld(feld);
                for (const TivSatz& r : soll) {
                    if (FUmgebung.TestWG && !FUmgebung.TestWG(r.Produkt_ID, AWGNMuster))
                        continue;
                    if (aktuell.IsNull()) {
                        aktuell = r.Produkt_ID;
                        if (FUmgebung.Artikel)
                            FUmgebung.Artikel(ProduktID_2_ArtNr_Formatted(aktuell, false), false);
                        positionieren(aktuell);
                    } else if (!(r.Produkt_ID == aktuell)) {
                        if (!buchen(true))
                            return;
                        FListe.InitMengenfeld(feld);
                        aktuell = r.Produkt_ID;
                        positionieren(aktuell);
                        gezaehltGelesen = false;
                    }
                    FListe.FuelleMengenfeld_MitSollsaetzen(r, feld);
                    if (!gezaehltGelesen) {
                        TRegalMengen keine;
                        FListe.LeseZaehlMengen(feld, keine, r.Produkt_ID, AZaehlDatum, AFiliale, false);
                        gezaehltGelesen = true;
                    }
                }
                if (!aktuell.IsNull() && !buchen(false))
                    return;
            }
            if (gesperrt.empty())
                break;
        }
        if (!ATestlauf && gesperrt.empty() && !fehlgeschlagen) {
            IAStatusSchreiben(AZaehlDatum, AWGNMuster.left(AWGNMuster.size() - 1), AFiliale, iakzGebucht);
            StatusSetzen(zeile, iakzGebucht);
        }
        AMeldungen.insert(AMeldungen.begin(), gesperrt.begin(), gesperrt.end());
    });
}

// The date of a posting: the count date (-1) while the fiscal year has not ended; after it
// just before the year's end, or, for a difference, just before the end of the day of the
// article's last price-history transaction when that came later.
TDateTime TInventurBuchung::BuchDatum(const TInt32Trio& AProdId, bool mitPreisHistorie) const
{
    const TDateTime f = WiJahrEnde(FWiJahr);
    const TDateTime e = EndOfTheDay(f);
    if (orv_Now() <= e)
        return -1;   // the count date
    if (!mitPreisHistorie)
        return f - 0.01;
    IORV_ArtLesSimple& leser = FListe.ArtlesSimple();
    if (!leser.Laden(AProdId) || leser.Preise().PreisHistorie().empty())
        return f - 0.01;
    const TDateTime d = leser.Preise().PreisHistorie().back().Datum;
    return d > e ? EndOfTheDay(d) - 0.01 : f - 0.01;
}

bool TInventurBuchung::InvBuchenF_Artikel(int32_t AFiliale, const TInt32Trio& AProdId, TMengenfeld& AMengenfeld, TZEP_clMeldung& AMeldung,
                                          TDateTime AZaehlDatum, bool ATestlauf, bool& AAbgelehnt)
{
    const QString ort = QStringLiteral("TfrmKalmetMain.InvBuchenF.InvBuchenF_Artikel");
    bool gesperrt = false;
    bool gebucht = false;
    ORVGuard(ort, [&] {
        TInvMani& mani = FListe.InvMani();
        if (!mani.ArtBucher())
            mani.ArtBuchen_Init(true, false);
        const QVariantList schluessel{Sql(FWiJahr), Sql(AZaehlDatum), AFiliale, AProdId.Int1, AProdId.Int2, AProdId.Int3};
        const QString sollsaetze = QStringLiteral(" WHERE wijahr = ? AND zaehldatum = ? AND filiale = ? AND produkt_id_1 = ? "
                                                  "AND produkt_id_2 = ? AND produkt_id_3 = ?");
        if (!TZEP_Connection::Ausfuehren(ort, QStringLiteral("SELECT id FROM iv") + sollsaetze, schluessel).next()) {
            gebucht = true;
            return;
        }
        bool markieren = true;
        AMeldung.init();
        if (!ATestlauf) {
            if (!CommonLock().LockProdId(AProdId, AMeldung, false)) {
                AMeldung.Artikel = ProduktID_2_ArtNr_Formatted(AProdId, false);
                return;
            }
            gesperrt = true;
            ORVBuchung(true).Oeffnen(63);
            CommonLock().RECVMessageLockProdId(AProdId);
        }
        FListe.FVKKorrektur(AProdId, AFiliale, AZaehlDatum, ATestlauf, AMengenfeld);
        TZusatzBuchDaten zusatz;
        zusatz.Init();
        TORV_Intv100_Sortiment_Me& diff = AMengenfeld[mfDiff];
        diff.MinMax_Suchen();
        const bool mitDiff = !diff.IsEmpty();
        if (ATestlauf) {
            if (mitDiff)
                AAbgelehnt = true;
            return;
        }
        TORV_Intv100_Sortiment_Me& uf = AMengenfeld[mfUF];
        uf.MinMax_Suchen();
        const bool mitUF = !uf.IsEmpty();
        TBuchErgebnisListe& ergebnis = mani.BuchErgebnisse();
        if (mitDiff || mitUF)
            ergebnis.Vorbereiten(AProdId);
        TArtBucher& bucher = *mani.ArtBucher();
        if (mitDiff) {
            TMengen100 m{};
            for (int i = 0; i < 100; ++i)
                m[i] = -diff.Me[i];
            bucher.MengenSetzen(AFiliale, m);
            const TDateTime datum = BuchDatum(AProdId, true);
            zusatz.BuchDatum = datum < 0 ? AZaehlDatum : datum;
            bucher.Buchen(abtInventurdifferenz, AFiliale, 0, zusatz, AProdId, ergebnis);
        }
        if (mitUF) {
            TMengen100 m{};
            for (int i = 0; i < 100; ++i)
                m[i] = uf.Me[i];
            bucher.MengenSetzen(AFiliale, m);
            const TDateTime datum = BuchDatum(AProdId, false);
            zusatz.BuchDatum = datum < 0 ? AZaehlDatum : datum;
            bucher.Buchen(abtInventurUebernahme, AFiliale, 0, zusatz, AProdId, ergebnis);
        }
        if ((mitDiff || mitUF) && ergebnis.Fehlgeschlagen())
            for (const TBuchErgebnisListe::TInfo& info : ergebnis.Infos()) {
                ORVInfo().WriteStamp(QString::asprintf("%8s-[ ArtNr: %s; Fil: %d;  %s", qPrintable(info.Koord.Modul),
                                                       qPrintable(AProdId.ToText()), AFiliale,
                                                       qPrintable(QString(info.Text).replace(QLatin1String("\r\n"), QLatin1String(" ")))),
                                     1);
                markieren = false;
            }
        FVKLoeschen(AProdId, AFiliale);
        if (markieren)
            TZEP_Connection::Ausfuehren(ort, QStringLiteral("UPDATE iv SET kzgebucht = 'A'") + sollsaetze, schluessel);
        CommonLock().RECVMessageUnlockProdId(AProdId);
        ORVBuchung(true).Schliessen(0);
        CommonLock().UnlockProdId(AProdId, false);
        gesperrt = false;
        gebucht = markieren;
    });
    if (gesperrt) {
        // a failure after the lock: nothing of the article is posted, and it is free again
        ORVGuard(ort, [&] {
            ORVBuchung(true).Verwerfen();
            CommonLock().RECVMessageUnlockProdId(AProdId);
            CommonLock().UnlockProdId(AProdId, false);
        });
    }
    return gebucht;
}

void TInventurBuchung::FVKLoeschen(const TInt32Trio& AProdId, int32_t AFiliale)
{
    const QString ort = QStringLiteral("TfrmKalmetMain.FVKLoeschen");
    ORVGuard(ort, [&] {
        QSqlQuery q = TZEP_Connection::Ausfuehren(
            ort,
            QStringLiteral("SELECT id, datum, uhrzeit, groesse, vorzeichen, menge, preis1, preis2, zusatznummer, zusatztext, "
                           "belegpaar_1, belegpaar_2, belegnr FROM fvk WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND "
                           "produkt_id_3 = ? AND filiale = ? AND vorgangsart = 'F' AND belegart = '23' ORDER BY datum, uhrzeit, id"),
            {AProdId.Int1, AProdId.Int2, AProdId.Int3, AFiliale});
        std::vector<std::pair<qint64, TFvkSatz>> saetze;
        while (q.next()) {
            TFvkSatz s;
            s.Produkt_ID = AProdId;
            s.Filiale = AFiliale;
            s.Datum = AusSql(q.value(1));
            s.Uhrzeit = q.value(2).toInt();
            s.Groesse = q.value(3).toInt();
            const QString vz = q.value(4).toString();
            s.Vorzeichen = vz.isEmpty() ? QChar() : vz.at(0);
            s.Menge = q.value(5).toInt();
            s.Preis1 = q.value(6).toDouble();
            s.Preis2 = q.value(7).toDouble();
            s.Zusatznummer = q.value(8).toInt();
            s.Zusatztext = q.value(9).toString();
            s.BelegPaar = {q.value(10).toInt(), q.value(11).toInt()};
            s.BelegNr = q.value(12).toInt();
            saetze.emplace_back(q.value(0).toLongLong(), s);
        }
        q.finish();
        for (const auto& [id, s] : saetze) {
            int ergebnis = 0;
            FVKWandeln(s, id, ergebnis);
        }
    });
}

void TInventurBuchung::FVKWandeln(const TFvkSatz& fvk, qint64 id, int& AErgebnis)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.FVKWandeln"), [&] {
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
            return;   // a size the article's grid does not have: not converted
        lsn.Vorzeichen.SetWert(fvk.Vorzeichen);
        const bool zurueck = fvk.Vorzeichen == QLatin1Char('1') || fvk.Vorzeichen == QLatin1Char('2');
        const int32_t menge = zurueck ? -fvk.Menge : fvk.Menge;
        lsn.Menge.SetWert(menge);
        lsn.Wert1.SetWert(fvk.Preis1 * menge);
        lsn.Wert2.SetWert(fvk.Preis2 * menge);
        const int u = fvk.Uhrzeit;
        lsn.Uhrzeit.SetWert((((u / 10000) % 24) * 3600 + ((u / 100) % 100) * 60 + u % 100) / 86400.0);
        const TInt32Trio referenz{fvk.BelegPaar.Int1, fvk.BelegPaar.Int2, static_cast<int16_t>(fvk.BelegNr)};
        TVerkMani().FVKWandeln(lsn, referenz, AErgebnis, id);
    });
}
