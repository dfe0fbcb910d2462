#include "framework/db/files/bnefile.h"

#include "framework/db/connection.h"
#include "framework/db/produktblock.h"

#include <QSqlQuery>

TBNEFile::TBNEFile(int openMode, int param) : TZEP_SatzDatei(QStringLiteral("BNE"), openMode, param)
{
    using S = TBNESatz;
    Spalten({SatzSpalte(Produkt_ID, &S::Produkt_ID),
             SatzSpalte(Filiale, &S::Filiale),
             SatzSpalte(Datum, &S::Datum),
             SatzSpalte(Filiale2, &S::Filiale2),
             SatzSpalte(BewArt, &S::BewArt),
             SatzSpalte(BestTyp, &S::BestTyp),
             SatzSpalte(Menge, &S::Menge)});
    KeyAdd({&Produkt_ID, &Filiale, &Datum});
}

namespace {

QString TagessummenSql(const QString& bedingung)
{
    QStringList summen;
    for (const QString& m : MengenSpalten(QStringLiteral("menge"), 0))
        summen << QStringLiteral("SUM(%1)").arg(m);
    return QStringLiteral("SELECT produkt_id_1, produkt_id_2, produkt_id_3, filiale, datum, %1 FROM bne WHERE bewart = ?%2 "
                          "GROUP BY produkt_id_1, produkt_id_2, produkt_id_3, filiale, datum")
        .arg(MengenLeseAusdruecke(summen, TZEP_Connection::Typ()).join(QStringLiteral(", ")), bedingung);
}

TBNETagessumme Tagessumme(const QSqlQuery& q)
{
    TBNETagessumme s;
    s.Produkt_ID = {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()};
    s.Filiale = q.value(3).toInt();
    const QVariant datum = q.value(4);
    s.Datum = TDatumTraits::FromSql(&datum);
    s.Menge = MengenLesen(q, 5, QStringLiteral("bne"));
    return s;
}

}

std::vector<TBNETagessumme> BNE_Tagessummen(int32_t bewArt, const QString& ort)
{
    std::vector<TBNETagessumme> r;
    TZEP_Connection::Wiederholen(ort, TagessummenSql({}), {bewArt}, [&r](const QSqlQuery& q) {
        TBNETagessumme s = Tagessumme(q);
        if (!s.Leer())
            r.push_back(std::move(s));
    });
    return r;
}

TBNETagessumme BNE_Tagessumme(int32_t bewArt, const TInt32Trio& produktId, int32_t filiale, TDateTime datum, const QString& ort)
{
    TBNETagessumme r{produktId, filiale, datum, {}};
    TZEP_Connection::Wiederholen(ort,
                                 TagessummenSql(QStringLiteral(" AND produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ? AND "
                                                               "filiale = ? AND datum = ?")),
                                 {bewArt, produktId.Int1, produktId.Int2, produktId.Int3, filiale, TDatumTraits::ToSql(datum).first()},
                                 [&r](const QSqlQuery& q) { r = Tagessumme(q); });
    return r;
}
