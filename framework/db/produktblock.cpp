#include "framework/db/produktblock.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"
#include "framework/db/pqanweisung.h"

#include <QStringList>

TProduktBlockAbfrage::TProduktBlockAbfrage(const QString& spalten, const QString& tabelle, const QString& ordnung,
                                           const QString& bedingung)
    : FSpalten(spalten), FTabelle(tabelle), FOrdnung(ordnung), FBedingung(bedingung)
{
}

TProduktBlockAbfrage::~TProduktBlockAbfrage() = default;

namespace {

// The ids as arrays of their three parts, in the text form PostgreSQL reads ("{1,2,3}").
QByteArray ArrayText(const TInt32Trio* ids, size_t anzahl, int32_t TInt32Trio::*teil)
{
    QByteArray r;
    r.reserve(static_cast<qsizetype>(anzahl) * 8 + 2);
    r += '{';
    for (size_t i = 0; i < anzahl; ++i) {
        if (i > 0)
            r += ',';
        r += QByteArray::number(ids[i].*teil);
    }
    return r + '}';
}

// The ids as the three array parameters of the statement for any block.
QByteArrayList ArrayTexte(const TInt32Trio* ids, size_t anzahl)
{
    QByteArrayList r;
    for (int32_t TInt32Trio::*teil : {&TInt32Trio::Int1, &TInt32Trio::Int2, &TInt32Trio::Int3})
        r << ArrayText(ids, anzahl, teil);
    return r;
}

}

QString TProduktBlockAbfrage::Ort() const
{
    return QStringLiteral("TProduktBlockAbfrage(%1)").arg(FTabelle);
}

size_t TProduktBlockAbfrage::Teilgroesse(size_t artikel) const
{
    if (artikel > CBlock)
        FehlerRaise(Ort(), {QStringLiteral("%1 Artikel in einem Block").arg(artikel)});
    return TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL ? CBlock : CSqliteTeil;
}

void TProduktBlockAbfrage::TeilLesen(const TInt32Trio* ids, size_t anzahl, const QVariantList& werte, const TProZeile& proZeile)
{
    if (TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL)
        ArraysLesen(ids, anzahl, werte, proZeile);
    else
        TeilweiseLesen(ids, anzahl, werte, proZeile);
}

QString TProduktBlockAbfrage::Anweisung(size_t n) const
{
    // the ids as a table of (index, id) joined to the table's key; typed, so that
    // PostgreSQL compares integers
    const bool arrays = n == 0;
    QString tabelle;
    if (arrays) {
        tabelle = QStringLiteral("SELECT u.n - 1, u.p1, u.p2, u.p3 FROM unnest(CAST(? AS INTEGER[]), CAST(? AS INTEGER[]), "
                                 "CAST(? AS INTEGER[])) WITH ORDINALITY AS u(p1, p2, p3, n)");
    } else {
        QStringList zeilen;
        for (size_t i = 0; i < n; ++i)
            zeilen << QStringLiteral("(%1, CAST(? AS INTEGER), CAST(? AS INTEGER), CAST(? AS INTEGER))").arg(i);
        tabelle = QStringLiteral("VALUES ") + zeilen.join(QStringLiteral(", "));
    }
    const QString bedingung = QStringLiteral("t.produkt_id_1 = ids.p1 AND t.produkt_id_2 = ids.p2 AND t.produkt_id_3 = ids.p3")
        + (FBedingung.isEmpty() ? QString() : QStringLiteral(" AND ") + FBedingung);
    // a lateral subquery that is not flattened (OFFSET 0) makes PostgreSQL look each id up
    // in the index: a join would hash the whole table for every block
    const QString quelle = arrays
        ? QStringLiteral("ids CROSS JOIN LATERAL (SELECT * FROM %1 t WHERE %2 OFFSET 0) t").arg(FTabelle, bedingung)
        : QStringLiteral("ids JOIN %1 t ON %2").arg(FTabelle, bedingung);
    return QStringLiteral("WITH ids(i, p1, p2, p3) AS (%1) SELECT ids.i, %2 FROM %3%4")
        .arg(tabelle, FSpalten, quelle, FOrdnung.isEmpty() ? QString() : QStringLiteral(" ORDER BY ids.i, ") + FOrdnung);
}

const QByteArray& TProduktBlockAbfrage::ArrayAnweisung()
{
    if (FArrayAnweisung.isEmpty())
        FArrayAnweisung = PlatzhalterNummeriert(Anweisung(0));
    return FArrayAnweisung;
}

void TProduktBlockAbfrage::ArraysLesen(const TInt32Trio* ids, size_t anzahl, const QVariantList& werte, const TProZeile& proZeile)
{
    // PostgreSQL takes the ids as three array parameters: one statement for any block, and
    // three values to send instead of three per article
    if (!FArrays)
        FArrays = std::make_unique<TPqAnweisung>(Ort(), ArrayAnweisung());
    QByteArrayList texte = ArrayTexte(ids, anzahl);
    for (const QVariant& w : werte)
        texte << PqWert(w);
    FArrays->Lesen(texte, proZeile);
}

void TProduktBlockAbfrage::TeilweiseLesen(const TInt32Trio* ids, size_t anzahl, const QVariantList& werte, const TProZeile& proZeile)
{
    const size_t n = anzahl == 1 ? 1 : CSqliteTeil;
    QString& sql = n == 1 ? FEinzeln : FBlock;
    if (sql.isEmpty())
        sql = Anweisung(n);
    QVariantList alle;
    alle.reserve(static_cast<qsizetype>(3 * n) + werte.size());
    for (size_t i = 0; i < n; ++i) {
        const bool da = i < anzahl;
        alle << (da ? QVariant(ids[i].Int1) : QVariant(QMetaType(QMetaType::Int)))
             << (da ? QVariant(ids[i].Int2) : QVariant(QMetaType(QMetaType::Int)))
             << (da ? QVariant(ids[i].Int3) : QVariant(QMetaType(QMetaType::Int)));
    }
    alle += werte;
    TZEP_Connection::WiederholtLesen(Ort(), sql, alle, proZeile);
}

void TProduktBlockAbfrage::ZugleichLesen(const std::vector<TInt32Trio>& ids, const std::vector<TTeil>& teile)
{
    for (const TTeil& t : teile) {
        t.Abfrage->Teilgroesse(ids.size());   // raises for more than a block
        if (!t.Abfrage->FBedingung.isEmpty())
            FehlerRaise(t.Abfrage->Ort(), {QStringLiteral("Eine Blockabfrage mit Bedingung wird nicht zugleich gelesen.")});
    }
    if (TZEP_Connection::Typ() != TConnectorTyp::PostgreSQL) {
        for (const TTeil& t : teile)
            t.Abfrage->Lesen(ids, t.ProZeile);
        return;
    }
    if (ids.empty())
        return;
    TZEP_Connection::Database();   // what waits goes first, as before a single block read
    const QByteArrayList texte = ArrayTexte(ids.data(), ids.size());
    std::vector<TPqSchritt> schritte;
    for (const TTeil& t : teile)
        schritte.push_back({t.Abfrage->Ort(), t.Abfrage->ArrayAnweisung(), texte,
                            [&t](const TBlockZeile& z) { t.ProZeile(z.Int(0), z); }, {}, texte.size()});
    PqNacheinander(schritte);
}

TMengen100 MengenLesen(const QSqlQuery& q, int spalte, const QString& name)
{
    return MengenLesen(q.value(spalte), name);
}
