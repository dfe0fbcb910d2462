#include "framework/db/files/fvkfile.h"

#include "framework/db/connection.h"

#include <QSqlQuery>

TFvkFile::TFvkFile(int openMode, int param) : TZEP_SatzDatei(QStringLiteral("FVK"), openMode, param)
{
    using S = TFvkSatz;
    Spalten({SatzSpalte(Produkt_ID, &S::Produkt_ID),
             SatzSpalte(Filiale, &S::Filiale),
             SatzSpalte(Datum, &S::Datum),
             SatzSpalte(Uhrzeit, &S::Uhrzeit),
             SatzSpalte(Vorgangsart, &S::Vorgangsart),
             SatzSpalte(Belegart, &S::Belegart),
             SatzSpalte(Groesse, &S::Groesse),
             SatzSpalte(Vorzeichen, &S::Vorzeichen),
             SatzSpalte(Menge, &S::Menge),
             SatzSpalte(Preis1, &S::Preis1),
             SatzSpalte(Preis2, &S::Preis2),
             SatzSpalte(Zusatznummer, &S::Zusatznummer),
             SatzSpalte(Zusatztext, &S::Zusatztext),
             SatzSpalte(BelegPaar, &S::BelegPaar),
             SatzSpalte(BelegNr, &S::BelegNr)});
    KeyAdd({&Produkt_ID, &Filiale, &Datum, &Uhrzeit});
}

namespace {

// The columns of an erroneous sale that FVK_Lesen reads, and those of fvk_zaehltag in the same
// places (what it lacks empty).
const QString CFvkSpalten = QStringLiteral("id, datum, uhrzeit, groesse, vorzeichen, menge, preis1, preis2, zusatznummer, zusatztext, "
                                           "belegpaar_1, belegpaar_2, belegnr");
const QString CFvkZaehltagSpalten = QStringLiteral("id, datum, uhrzeit, groesse, vorzeichen, menge, NULL, NULL, NULL, NULL, NULL, NULL, NULL");
const QString CFvkBedingung = QStringLiteral("produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ? AND filiale = ? AND "
                                             "vorgangsart = 'F' AND belegart = '23'");
const QString CFvkZaehltagBedingung = QStringLiteral("filiale = ? AND zaehldatum = ? AND produkt_id_1 = ? AND produkt_id_2 = ? AND "
                                                     "produkt_id_3 = ?");

// The sale of CFvkSpalten from column i on; those of the count day have no more than CFvkZaehltagSpalten.
TFvkSatz FvkSatz(const QSqlQuery& q, int i, const TInt32Trio& produktId, int32_t filiale, bool vollstaendig)
{
    TFvkSatz s;
    const QVariant datum = q.value(i + 1);
    s.Produkt_ID = produktId;
    s.Filiale = filiale;
    s.Vorgangsart = QLatin1Char('F');
    s.Belegart = QStringLiteral("23");
    s.Datum = TDatumTraits::FromSql(&datum);
    s.Uhrzeit = q.value(i + 2).toInt();
    s.Groesse = q.value(i + 3).toInt();
    const QString vz = q.value(i + 4).toString();
    s.Vorzeichen = vz.isEmpty() ? QChar() : vz.at(0);
    s.Menge = q.value(i + 5).toInt();
    if (!vollstaendig)
        return s;
    s.Preis1 = q.value(i + 6).toDouble();
    s.Preis2 = q.value(i + 7).toDouble();
    s.Zusatznummer = q.value(i + 8).toInt();
    s.Zusatztext = q.value(i + 9).toString();
    s.BelegPaar = {q.value(i + 10).toInt(), q.value(i + 11).toInt()};
    s.BelegNr = q.value(i + 12).toInt();
    return s;
}

}

TFvkZeilen FVK_Lesen(const TInt32Trio& produktId, int32_t filiale, const QString& ort)
{
    TFvkZeilen saetze;
    TZEP_Connection::Wiederholen(ort, QStringLiteral("SELECT %1 FROM fvk WHERE %2 ORDER BY datum, uhrzeit, id").arg(CFvkSpalten, CFvkBedingung),
                                 {produktId.Int1, produktId.Int2, produktId.Int3, filiale},
                                 [&](const QSqlQuery& q) { saetze.emplace_back(q.value(0).toLongLong(), FvkSatz(q, 0, produktId, filiale, true)); });
    return saetze;
}

QString FVK_ArtikelVorhanden()
{
    return QStringLiteral("CASE WHEN EXISTS (SELECT 1 FROM fvk WHERE %1) OR EXISTS (SELECT 1 FROM fvk_zaehltag WHERE %2) THEN 1 ELSE 0 END")
        .arg(CFvkBedingung, CFvkZaehltagBedingung);
}

QVariantList FVK_ArtikelWerte(TDateTime zaehlDatum, int32_t filiale, const TInt32Trio& produktId)
{
    return {produktId.Int1, produktId.Int2, produktId.Int3, filiale, filiale, TDatumTraits::ToSql(zaehlDatum).first(),
            produktId.Int1, produktId.Int2, produktId.Int3};
}

void FVK_ArtikelLesen(TDateTime zaehlDatum, int32_t filiale, const TInt32Trio& produktId, const QString& ort, TFvkZeilen& offen,
                      std::vector<TFvkSatz>& zaehltag)
{
    // the kind first (1: FVK_Lesen's, 2: FVK_ZaehltagLesen's), each in the order of its read
    TZEP_Connection::Wiederholen(ort,
                                 QStringLiteral("SELECT 1, %1 FROM fvk WHERE %2 UNION ALL SELECT 2, %3 FROM fvk_zaehltag WHERE %4 "
                                                "ORDER BY 1, 3, 4, 2")
                                     .arg(CFvkSpalten, CFvkBedingung, CFvkZaehltagSpalten, CFvkZaehltagBedingung),
                                 FVK_ArtikelWerte(zaehlDatum, filiale, produktId), [&](const QSqlQuery& q) {
        if (q.value(0).toInt() == 1)
            offen.emplace_back(q.value(1).toLongLong(), FvkSatz(q, 1, produktId, filiale, true));
        else
            zaehltag.push_back(FvkSatz(q, 1, produktId, filiale, false));
    });
}

namespace {

const QString CZaehltagSpalten = QStringLiteral("produkt_id_1, produkt_id_2, produkt_id_3, datum, uhrzeit, groesse, vorzeichen, menge");

TFvkSatz ZaehltagSatz(const QSqlQuery& q, int32_t filiale)
{
    TFvkSatz s;
    s.Produkt_ID = {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()};
    s.Filiale = filiale;
    s.Vorgangsart = QLatin1Char('F');
    s.Belegart = QStringLiteral("23");
    const QVariant datum = q.value(3);
    s.Datum = TDatumTraits::FromSql(&datum);
    s.Uhrzeit = q.value(4).toInt();
    s.Groesse = q.value(5).toInt();
    const QString vz = q.value(6).toString();
    s.Vorzeichen = vz.isEmpty() ? QChar() : vz.at(0);
    s.Menge = q.value(7).toInt();
    return s;
}

}

TFvkZaehltag FVK_ZaehltagLesen(TDateTime zaehlDatum, int32_t filiale, const QString& ort)
{
    TFvkZaehltag r(&TInt32Trio::Numerisch_Kleiner);
    TZEP_Connection::Wiederholen(ort,
                                 QStringLiteral("SELECT %1 FROM fvk_zaehltag WHERE filiale = ? AND zaehldatum = ? ORDER BY datum, uhrzeit, id")
                                     .arg(CZaehltagSpalten),
                                 {filiale, TDatumTraits::ToSql(zaehlDatum).first()}, [&](const QSqlQuery& q) {
        const TFvkSatz s = ZaehltagSatz(q, filiale);
        r[s.Produkt_ID].push_back(s);
    });
    return r;
}

std::vector<TFvkSatz> FVK_ZaehltagLesen(TDateTime zaehlDatum, int32_t filiale, const TInt32Trio& produktId, const QString& ort)
{
    std::vector<TFvkSatz> r;
    TZEP_Connection::Wiederholen(ort,
                                 QStringLiteral("SELECT %1 FROM fvk_zaehltag WHERE filiale = ? AND zaehldatum = ? AND produkt_id_1 = ? AND "
                                                "produkt_id_2 = ? AND produkt_id_3 = ? ORDER BY datum, uhrzeit, id")
                                     .arg(CZaehltagSpalten),
                                 {filiale, TDatumTraits::ToSql(zaehlDatum).first(), produktId.Int1, produktId.Int2, produktId.Int3},
                                 [&](const QSqlQuery& q) { r.push_back(ZaehltagSatz(q, filiale)); });
    return r;
}

void FVK_ZaehltagMerken(TDateTime zaehlDatum, qint64 fvkId, const TFvkSatz& s, const QString& ort)
{
    TZEP_Connection::Wiederholen(ort,
                                 QStringLiteral("INSERT INTO fvk_zaehltag (zaehldatum, %1, filiale, fvk_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                     .arg(CZaehltagSpalten),
                                 {TDatumTraits::ToSql(zaehlDatum).first(), s.Produkt_ID.Int1, s.Produkt_ID.Int2, s.Produkt_ID.Int3,
                                  TDatumTraits::ToSql(s.Datum).first(), s.Uhrzeit, s.Groesse,
                                  s.Vorzeichen.isNull() ? QStringLiteral("") : QString(s.Vorzeichen), s.Menge, s.Filiale, fvkId});
}

int32_t FVK_VerkaufteMenge(QChar vorzeichen, int32_t menge)
{
    return vorzeichen == QLatin1Char('1') || vorzeichen == QLatin1Char('2') ? -menge : menge;
}

std::vector<TFvkSatz> FVK_KorrekturLesen(TDateTime zaehlDatum, int32_t filiale, const TArtikelWGNWahl& wahl, const QString& ort)
{
    std::vector<TFvkSatz> r;
    TZEP_Connection::Wiederholen(ort,
                                 QStringLiteral("SELECT t.produkt_id_1, t.produkt_id_2, t.produkt_id_3, t.groesse, t.vorzeichen, t.menge "
                                                "FROM fvk t%1 WHERE t.filiale = ? AND t.datum >= ? AND t.datum <= ? AND "
                                                "t.vorgangsart = 'F' AND t.belegart = '23'%2")
                                     .arg(ArtikelJoin(QStringLiteral("t")), ArtikelWGNBedingung()),
                                 QVariantList{filiale, TDatumTraits::ToSql(FVKKorrekturBeginn()).first(), TDatumTraits::ToSql(zaehlDatum).first()} +
                                     ArtikelWGNWerte(wahl),
                                 [&r](const QSqlQuery& q) {
        TFvkSatz f;
        f.Produkt_ID = {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()};
        f.Groesse = q.value(3).toInt();
        const QString vz = q.value(4).toString();
        f.Vorzeichen = vz.isEmpty() ? QChar() : vz.at(0);
        f.Menge = q.value(5).toInt();
        r.push_back(f);
    });
    return r;
}

bool FVK_Loeschen(qint64 fvkId, const QString& ort)
{
    return TZEP_Connection::Wiederholen(ort, QStringLiteral("DELETE FROM fvk WHERE id = ?"), {fvkId}) == 1;
}
