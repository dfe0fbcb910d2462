#include "framework/db/files/iznsfile.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"


Tiznsfile::Tiznsfile(int openMode, int param) : TZEP_SatzDatei(QStringLiteral("IZNS"), openMode, param)
{
    using S = TiznsSatz;
    Spalten({SatzSpalte(ZaehlDatum, &S::ZaehlDatum),
             SatzSpalte(Produkt_ID, &S::Produkt_ID),
             SatzSpalte(Filiale, &S::Filiale),
             SatzSpalte(Satzart, &S::Satzart),
             SatzSpalte(Regal, &S::Regal),
             SatzSpalte(Gezaehlt, &S::Gezaehlt),
             SatzSpalte(GrVon, &S::GrVon),
             SatzSpalte(GrBis, &S::GrBis),
             SatzSpalte(GR_MESU, &S::GR_MESU)});
    KeyAdd({&ZaehlDatum, &Produkt_ID, &Filiale, &Satzart, &Regal});
}

int32_t Tiznsfile::GetGR_MESU(int n) const
{
    if (n < 1 || n > 100)
        FehlerRaise(QStringLiteral("Tiznsfile.GetGR_MESU"), {QStringLiteral("Größennummer %1 außerhalb 1..100").arg(n)});
    return GR_MESU.GetWert()[n - 1];
}

namespace {

const QString CTagOrt = QStringLiteral("TiznsTag");

QString Spalten()
{
    return QStringLiteral("t.id, t.satzart, t.regal, t.gezaehlt, t.grvon, t.grbis, ")
        + MengenLeseAusdruecke(MengenSpalten(QStringLiteral("t.gr_mesu"), 1), TZEP_Connection::Typ()).join(QStringLiteral(", "));
}

}

QString IZNS_GesamtBedingung(const QString& t)
{
    return QStringLiteral("%1.zaehldatum = ? AND %1.produkt_id_1 = ? AND %1.produkt_id_2 = ? AND %1.produkt_id_3 = ? AND %1.filiale = ? AND "
                          "%1.satzart = 'G' AND %1.regal = 0")
        .arg(t);
}

QVariantList IZNS_GesamtWerte(TDateTime zaehlDatum, const TInt32Trio& id, int32_t filiale)
{
    return {TDatumTraits::ToSql(zaehlDatum).first(), id.Int1, id.Int2, id.Int3, filiale};
}

QString IZNS_GesamtSpalten(const QString& t, TConnectorTyp typ)
{
    return QStringLiteral("%1.id, %1.gezaehlt, %1.grvon, %1.grbis, %2")
        .arg(t, MengenLeseAusdruecke(MengenSpalten(t + QStringLiteral(".gr_mesu"), 1), typ).join(QStringLiteral(", ")));
}

std::optional<TiznsSatz> IZNS_GesamtLesen(const TBlockZeile& z, int spalte, TDateTime zaehlDatum, const TInt32Trio& id, int32_t filiale)
{
    if (z.Null(spalte))
        return std::nullopt;
    return TiznsSatz{zaehlDatum,
                     id,
                     filiale,
                     QLatin1Char('G'),
                     0,
                     z.Int(spalte + 1),
                     z.Int(spalte + 2),
                     z.Int(spalte + 3),
                     z.Mengen(spalte + 4, QStringLiteral("izns"))};
}

TiznsTag::TiznsTag(TDateTime zaehlDatum, int32_t filiale)
    : FZaehlDatum(zaehlDatum),
      FFiliale(filiale),
      FLeser(Spalten(), QStringLiteral("izns"), QString(),
             QStringLiteral("t.zaehldatum = ? AND t.filiale = ? AND ((t.satzart = 'G' AND t.regal = 0) OR (t.satzart = 'R' AND t.regal = ?))")),
      FRegale(Spalten(), QStringLiteral("izns"), QString(), QStringLiteral("t.zaehldatum = ? AND t.filiale = ? AND t.satzart = 'R'"))
{
}

TiznsTag::~TiznsTag() = default;

std::vector<TiznsZeile> TiznsTag::Zeilen(TProduktBlockAbfrage& leser, const std::vector<TInt32Trio>& ids, const QVariantList& werte)
{
    std::vector<TiznsZeile> r;
    leser.Lesen(
        ids,
        [&](int i, const TBlockZeile& q) {
            const QString art = q.Text(2);
            r.push_back({q.Int64(1),
                         {FZaehlDatum, ids[i], FFiliale, art.isEmpty() ? QChar() : art.at(0), q.Int(3), q.Int(4),
                          q.Int(5), q.Int(6), q.Mengen(7, QStringLiteral("izns"))}});
        },
        werte);
    return r;
}

std::vector<TiznsZeile> TiznsTag::Lesen(const std::vector<TInt32Trio>& ids, int32_t regal)
{
    return Zeilen(FLeser, ids, {TDatumTraits::ToSql(FZaehlDatum).first(), FFiliale, regal});
}

std::vector<TiznsZeile> TiznsTag::Regale(const std::vector<TInt32Trio>& ids)
{
    return Zeilen(FRegale, ids, {TDatumTraits::ToSql(FZaehlDatum).first(), FFiliale});
}

void TiznsTag::Schreiben(const TiznsZeile& z)
{
    const TiznsSatz& s = z.Satz;
    const QStringList mengen = MengenSpalten(QStringLiteral("gr_mesu"), 1);
    QVariantList werte{s.Gezaehlt, s.GrVon, s.GrBis};
    werte += TMengenTraits::ToSql(s.GR_MESU);
    QSqlQuery* q;
    if (z.Id != 0) {
        q = &FUpdate.Holen(CTagOrt, QStringLiteral("UPDATE izns SET gezaehlt = ?, grvon = ?, grbis = ?, %1 = ? WHERE id = ?")
                                        .arg(mengen.join(QStringLiteral(" = ?, "))));
        werte << z.Id;
    } else {
        q = &FInsert.Holen(CTagOrt, QStringLiteral("INSERT INTO izns (gezaehlt, grvon, grbis, %1, zaehldatum, produkt_id_1, produkt_id_2, "
                                                   "produkt_id_3, filiale, satzart, regal) VALUES (%2)")
                                        .arg(mengen.join(QStringLiteral(", ")), QStringList(110, QStringLiteral("?")).join(QStringLiteral(", "))));
        werte += TDatumTraits::ToSql(s.ZaehlDatum) + TFeldTraits<TInt32Trio>::ToSql(s.Produkt_ID)
            + QVariantList{s.Filiale, QString(s.Satzart), s.Regal};
    }
    for (qsizetype i = 0; i < werte.size(); ++i)
        q->bindValue(static_cast<int>(i), werte[i]);
    TZEP_Connection::Starten(*q, CTagOrt);
}

void IZNS_ZaehlungErsetzen(TDateTime zaehlDatum, int32_t filiale, const TInt32Trio& id, int32_t von, int32_t bis, const TMengen100& menge,
                           const QString& ort)
{
    const QVariantList schluessel = TDatumTraits::ToSql(zaehlDatum) + TFeldTraits<TInt32Trio>::ToSql(id) + QVariantList{filiale};
    TZEP_Connection::Ausfuehren(ort,
                                QStringLiteral("DELETE FROM izns WHERE zaehldatum = ? AND produkt_id_1 = ? AND produkt_id_2 = ? AND "
                                               "produkt_id_3 = ? AND filiale = ? AND satzart IN ('G', 'R')"),
                                schluessel);
    const QVariantList werte = schluessel + QVariantList{QStringLiteral("G"), 0, 1, von, bis} + TMengenTraits::ToSql(menge);
    TZEP_Connection::Ausfuehren(ort,
                                QStringLiteral("INSERT INTO izns (zaehldatum, produkt_id_1, produkt_id_2, produkt_id_3, filiale, satzart, "
                                               "regal, gezaehlt, grvon, grbis, %1) VALUES (%2)")
                                    .arg(MengenSpalten(QStringLiteral("gr_mesu"), 1).join(QStringLiteral(", ")),
                                         QStringList(static_cast<int>(werte.size()), QStringLiteral("?")).join(QStringLiteral(", "))),
                                werte);
}

std::vector<std::pair<TArtikelStamm, TMengen100>> IZNS_GesamtMitStamm(TDateTime zaehlDatum, int32_t filiale, const TArtikelWGNWahl& wahl,
                                                                      const QString& ort)
{
    std::vector<std::pair<TArtikelStamm, TMengen100>> r;
    const QString mengen = MengenLeseAusdruecke(MengenSpalten(QStringLiteral("t.gr_mesu"), 1), TZEP_Connection::Typ()).join(QStringLiteral(", "));
    TZEP_Connection::Wiederholen(ort,
                                 QStringLiteral("SELECT %1, t.gezaehlt, %2 FROM izns t%3 WHERE t.zaehldatum = ? AND t.filiale = ? AND "
                                                "t.satzart = 'G'%4")
                                     .arg(ArtikelStammSpalten(QStringLiteral("t")), mengen, ArtikelJoin(QStringLiteral("t")), ArtikelWGNBedingung()),
                                 QVariantList{TDatumTraits::ToSql(zaehlDatum).first(), filiale} + ArtikelWGNWerte(wahl), [&r](const QSqlQuery& q) {
        r.emplace_back(ArtikelStammLesen(q, 0), q.value(6).toInt() != 0 ? MengenLesen(q, 7, QStringLiteral("izns")) : TMengen100{});
    });
    return r;
}
