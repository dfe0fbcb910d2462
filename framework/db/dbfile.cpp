#include "framework/db/dbfile.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"

#include <QSqlRecord>

#include <limits>

namespace {

constexpr int CMaxBatch = 2048;

QString Tupel(const QStringList& spalten)
{
    return spalten.size() == 1 ? spalten.first() : QLatin1Char('(') + spalten.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString Platzhalter(qsizetype n)
{
    QStringList p;
    for (qsizetype i = 0; i < n; ++i)
        p << QStringLiteral("?");
    return Tupel(p);
}

QString VergleichText(int vergleich)
{
    switch (vergleich) {
    case evGleich: return QStringLiteral("=");
    case evGroesser: return QStringLiteral(">");
    case evKleiner: return QStringLiteral("<");
    case evUngleich: return QStringLiteral("<>");
    case evGroesserGleich: return QStringLiteral(">=");
    case evKleinerGleich: return QStringLiteral("<=");
    }
    FehlerRaise(QStringLiteral("TZEP_DBFile.ExtendedFilterAdd"), {QStringLiteral("Unbekannter Vergleich %1").arg(vergleich)});
}

}

TZEP_DBFile::TZEP_DBFile(const QString& dateiName, int openMode, int /*param*/) : FDateiName(dateiName)
{
    if (openMode == 0)
        return;
    // opening a file: its table must be there
    QSqlQuery q(TZEP_Connection::Database());
    if (!q.exec(QStringLiteral("SELECT id FROM %1 WHERE 1 = 0").arg(TableName())))
        TZEP_Connection::Fehlgeschlagen(QStringLiteral("TZEP_DBFile.Open"), q, {GetFullDateiName()});
}

TZEP_DBFile::~TZEP_DBFile() = default;

QString TZEP_DBFile::GetFullDateiName() const
{
    return QStringLiteral("WWS/") + FDateiName.toUpper() + QStringLiteral(".DAT");
}

QString TZEP_DBFile::TableName() const
{
    return FDateiName.toLower();
}

void TZEP_DBFile::FeldAdd(TDatenfeld& feld)
{
    FFelder.push_back(&feld);
    FLeseTyp.reset();
}

void TZEP_DBFile::KeyAdd(std::vector<TDatenfeld*> felder)
{
    FKeys.push_back(std::move(felder));
}

void TZEP_DBFile::AllesClear()
{
    for (TDatenfeld* f : FFelder) {
        f->Clear();
        f->FilterClear();
        f->KeyClear();
    }
    FExtFilter.clear();
    FExtMax = std::numeric_limits<int>::max();
    FScan = TScanArt::Keine;
    FStapel.reset();
    FMehr = false;
    FAktuelleId = 0;
    FFound = false;
}

void TZEP_DBFile::SetKeyNum(int n)
{
    if (n < 0 || n >= static_cast<int>(FKeys.size()))
        FehlerRaise(QStringLiteral("TZEP_DBFile.SetKeyNum"), {TableName(), QStringLiteral("Schlüssel %1 existiert nicht").arg(n)});
    FKeyNum = n;
}

QStringList TZEP_DBFile::KeySpalten() const
{
    QStringList r;
    for (const TDatenfeld* f : FKeys.at(FKeyNum))
        r << f->Columns();
    return r;
}

// Offset of each key field's first value among the values read, for the continuation key.
const std::vector<int>& TZEP_DBFile::KeyPositionen()
{
    LeseListe();   // first: a change of engine empties the positions
    auto& pos = FKeyPositionen[FKeyNum];
    if (pos.empty()) {
        for (const TDatenfeld* k : FKeys.at(FKeyNum)) {
            int offset = 0;
            for (size_t i = 0; i < FFelder.size() && FFelder[i] != k; ++i)
                offset += FLeseBreiten[i];
            pos.push_back(offset);
        }
    }
    return pos;
}

const QString& TZEP_DBFile::LeseListe()
{
    const TConnectorTyp typ = TZEP_Connection::Typ();
    if (FLeseTyp != typ) {
        QStringList r;
        FLeseBreiten.clear();
        for (const TDatenfeld* f : FFelder) {
            const QStringList ausdruecke = f->LeseAusdruecke(typ);
            r << ausdruecke;
            FLeseBreiten.push_back(static_cast<int>(ausdruecke.size()));
        }
        FLeseListe = r.join(QStringLiteral(", "));
        FLeseTyp = typ;
        FKeyPositionen.clear();
    }
    return FLeseListe;
}

void TZEP_DBFile::FelderLesen(const TBlockZeile& z, int spalte) const
{
    for (size_t i = 0; i < FFelder.size(); ++i) {
        FFelder[i]->ZeileLesen(z, spalte);
        spalte += FLeseBreiten[i];
    }
}

QSqlQuery& TZEP_DBFile::Vorbereitet(const QString& sql)
{
    return FStatements[sql].Holen(QStringLiteral("TZEP_DBFile"), sql);
}

bool TZEP_DBFile::Holen(const QString& zusatz, const QVariantList& zusatzWerte)
{
    QStringList bedingungen;
    QVariantList werte;
    for (const TDatenfeld* f : FFelder) {
        if (f->FilterMin() && f->FilterMax() && *f->FilterMin() == *f->FilterMax()) {
            // equality column by column, so that the database can follow its index
            for (qsizetype i = 0; i < f->Columns().size(); ++i) {
                bedingungen << f->Columns()[i] + QStringLiteral(" = ?");
                werte << f->FilterMin()->at(i);
            }
            continue;
        }
        if (f->FilterMin()) {
            bedingungen << Tupel(f->Columns()) + QStringLiteral(" >= ") + Platzhalter(f->Columns().size());
            werte << *f->FilterMin();
        }
        if (f->FilterMax()) {
            bedingungen << Tupel(f->Columns()) + QStringLiteral(" <= ") + Platzhalter(f->Columns().size());
            werte << *f->FilterMax();
        }
    }
    if (FScan == TScanArt::Extended && !FExtFilter.empty()) {
        QString kette;
        for (const TExtFilter& e : FExtFilter) {
            kette += Tupel(e.feld->Columns()) + QLatin1Char(' ') + VergleichText(e.vergleich) + QLatin1Char(' ')
                + Platzhalter(e.feld->Columns().size());
            werte << *e.wert;
            if (&e == &FExtFilter.back() || e.verknuepfung == evEnde)
                break;
            kette += e.verknuepfung == evOder ? QStringLiteral(" OR ") : QStringLiteral(" AND ");
        }
        bedingungen << QLatin1Char('(') + kette + QLatin1Char(')');
    }
    if (!zusatz.isEmpty()) {
        bedingungen << zusatz;
        werte << zusatzWerte;
    }

    int menge = FMenge;
    if (FScan == TScanArt::Extended)
        menge = std::min(menge, FExtRest);
    if (menge <= 0) {
        FMehr = false;
        return true;
    }

    const QStringList keySpalten = KeySpalten();
    QString sql = QStringLiteral("SELECT id, %1 FROM %2").arg(LeseListe(), TableName());
    if (!bedingungen.isEmpty())
        sql += QStringLiteral(" WHERE ") + bedingungen.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY %1, id LIMIT %2").arg(keySpalten.join(QStringLiteral(", "))).arg(menge);

    FStapel = Lesen(sql, werte);
    FNaechste = 0;
    const int gelesen = FStapel->Anzahl();
    if (gelesen > 0) {
        // the continuation key: key columns and id of the last row
        const TBlockZeile& letzte = FStapel->Zeile(gelesen - 1);
        const std::vector<int>& keyPos = KeyPositionen();
        const auto& key = FKeys.at(FKeyNum);
        FLetzterKey.clear();
        for (size_t i = 0; i < key.size(); ++i)
            FLetzterKey << key[i]->ZeileNormiert(letzte, 1 + keyPos[i]);
        FLetzterKey << letzte.Int64(0);
    }
    FMehr = gelesen == menge;
    FMenge = std::min(std::max(FMenge, 16) * 4, CMaxBatch);
    return true;
}

std::unique_ptr<TZeilen> TZEP_DBFile::Lesen(const QString& sql, const QVariantList& werte)
{
    if (TZEP_Connection::Typ() != TConnectorTyp::PostgreSQL)
        return QtLesen(sql, werte);
    std::unique_ptr<TPqAnweisung>& a = FPqStatements[sql];
    if (!a)
        a = std::make_unique<TPqAnweisung>(QStringLiteral("TZEP_DBFile.Lesen(%1)").arg(TableName()), PlatzhalterNummeriert(sql));
    QByteArrayList texte;
    texte.reserve(werte.size());
    for (const QVariant& w : werte)
        texte << PqWert(w);
    return a->Behalten(texte);
}

namespace {

// Rows of Qt's driver, their values kept.
class TQtZeilen : public TZeilen {
public:
    std::vector<QVariantList> Werte;
    int Anzahl() const override { return static_cast<int>(Werte.size()); }
    const TBlockZeile& Zeile(int i) override
    {
        FZeile.emplace(Werte.at(static_cast<size_t>(i)));
        return *FZeile;
    }

private:
    std::optional<TVariantZeile> FZeile;
};

}

std::unique_ptr<TZeilen> TZEP_DBFile::QtLesen(const QString& sql, const QVariantList& werte)
{
    const QString ort = QStringLiteral("TZEP_DBFile.Lesen");
    QSqlQuery& q = Vorbereitet(sql);
    for (int i = 0; i < werte.size(); ++i)
        q.bindValue(i, werte.at(i));
    TZEP_Connection::Starten(q, ort, {TableName()});
    auto zeilen = std::make_unique<TQtZeilen>();
    const int spalten = q.record().count();
    while (q.next()) {
        QVariantList& z = zeilen->Werte.emplace_back();
        z.reserve(spalten);
        for (int i = 0; i < spalten; ++i)
            z.append(q.value(i));
    }
    TZEP_Connection::Beenden(q, ort);
    return zeilen;
}

bool TZEP_DBFile::StapelLeer() const
{
    return !FStapel || FNaechste >= FStapel->Anzahl();
}

bool TZEP_DBFile::Positionieren()
{
    if (StapelLeer()) {
        FFound = false;
        FAktuelleId = 0;
        return false;
    }
    const TBlockZeile& z = FStapel->Zeile(FNaechste++);
    FelderLesen(z, 1);
    FAktuelleId = z.Int64(0);
    FFound = true;
    if (FScan == TScanArt::Extended)
        --FExtRest;
    return true;
}

bool TZEP_DBFile::ScanStarten(TScanArt art, const QString& startBedingung, const QVariantList& startWerte, int ersteMenge)
{
    FScan = art;
    FStapel.reset();
    FMehr = false;
    FMenge = ersteMenge;
    if (art == TScanArt::Extended) {
        FExtRest = FExtMax;
        // filters still open take their field's value now; it holds for the whole scan
        for (TExtFilter& e : FExtFilter)
            if (!e.wert)
                e.wert = e.feld->SqlWerte();
    }
    Holen(startBedingung, startWerte);
    return Positionieren();
}

// Leading key fields that an equality filter pins to one value (and whose start key, if
// any, is that value): scan conditions leave them out, so that the database walks its
// index from the first free key column on.
int TZEP_DBFile::FesteKeyFelder() const
{
    int n = 0;
    for (const TDatenfeld* f : FKeys.at(FKeyNum)) {
        const bool fest = f->FilterMin() && f->FilterMax() && *f->FilterMin() == *f->FilterMax()
            && (!f->KeyWert() || *f->KeyWert() == *f->FilterMin());
        if (!fest)
            break;
        ++n;
    }
    return n;
}

bool TZEP_DBFile::Weiter()
{
    if (FScan == TScanArt::Keine)
        return FFound = false;
    if (StapelLeer() && FMehr) {
        QStringList spalten;
        qsizetype fest = 0;
        const auto& key = FKeys.at(FKeyNum);
        const size_t festeFelder = static_cast<size_t>(FesteKeyFelder());
        for (size_t i = 0; i < key.size(); ++i) {
            if (i < festeFelder)
                fest += key[i]->Columns().size();
            else
                spalten << key[i]->Columns();
        }
        spalten << QStringLiteral("id");
        Holen(Tupel(spalten) + QStringLiteral(" > ") + Platzhalter(spalten.size()), FLetzterKey.mid(fest));
    }
    return Positionieren();
}

bool TZEP_DBFile::Get_first()
{
    return ScanStarten(TScanArt::Normal, QString(), {}, 64);
}

QString TZEP_DBFile::StartBedingung(QVariantList& werte) const
{
    QStringList spalten;
    const auto& key = FKeys.at(FKeyNum);
    for (size_t i = static_cast<size_t>(FesteKeyFelder()); i < key.size(); ++i) {
        if (!key[i]->KeyWert())
            break;
        spalten << key[i]->Columns();
        werte << *key[i]->KeyWert();
    }
    return spalten.isEmpty() ? QString() : Tupel(spalten) + QStringLiteral(" >= ") + Platzhalter(spalten.size());
}

bool TZEP_DBFile::Get_ge()
{
    QVariantList werte;
    const QString start = StartBedingung(werte);
    return ScanStarten(TScanArt::Normal, start, werte, 64);
}

bool TZEP_DBFile::Get_ge_Strom()
{
    QVariantList werte;
    const QString start = StartBedingung(werte);
    return ScanStarten(TScanArt::Normal, start, werte, CMaxBatch);
}

bool TZEP_DBFile::Get_equal()
{
    QStringList spalten;
    QVariantList werte;
    for (const TDatenfeld* f : FKeys.at(FKeyNum)) {
        spalten << f->Columns();
        werte << (f->KeyWert() ? *f->KeyWert() : f->SqlWerte());
    }
    return ScanStarten(TScanArt::Normal, Tupel(spalten) + QStringLiteral(" = ") + Platzhalter(spalten.size()), werte, 1);
}

bool TZEP_DBFile::Get_next()
{
    return Weiter();
}

bool TZEP_DBFile::Get_again()
{
    if (FAktuelleId == 0)
        return FFound = false;
    const std::unique_ptr<TZeilen> zeilen = Lesen(QStringLiteral("SELECT id, %1 FROM %2 WHERE id = ?").arg(LeseListe(), TableName()), {FAktuelleId});
    FFound = zeilen->Anzahl() > 0;
    if (FFound)
        FelderLesen(zeilen->Zeile(0), 1);
    return FFound;
}

void TZEP_DBFile::Buchen(TBuchModus modus)
{
    QVariantList werte;
    QStringList spalten;
    for (const TDatenfeld* f : FFelder) {
        spalten << f->Columns();
        werte << f->SqlWerte();
    }
    QString sql;
    if (modus == wrdonUpdate) {
        if (!FFound || FAktuelleId == 0)
            FehlerRaise(QStringLiteral("TZEP_DBFile.Buchen"), {TableName(), QStringLiteral("Kein aktueller Satz zum Ändern")});
        sql = QStringLiteral("UPDATE %1 SET %2 = ? WHERE id = ?").arg(TableName(), spalten.join(QStringLiteral(" = ?, ")));
        werte << FAktuelleId;
    } else {
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES %3 RETURNING id")
                  .arg(TableName(), spalten.join(QStringLiteral(", ")), Platzhalter(spalten.size()));
    }
    const QString ort = QStringLiteral("TZEP_DBFile.Buchen");
    QSqlQuery& q = Vorbereitet(sql);
    for (int i = 0; i < werte.size(); ++i)
        q.bindValue(i, werte.at(i));
    TZEP_Connection::Starten(q, ort, {TableName()});
    const bool zeile = q.next();   // an insert returns the new row's id
    const qint64 id = zeile ? q.value(0).toLongLong() : 0;
    TZEP_Connection::Beenden(q, ort);
    if (modus == wrdonInsert) {
        if (!zeile)
            FehlerRaise(ort, {TableName(), QStringLiteral("Keine Satznummer erhalten")});
        FAktuelleId = id;
        FFound = true;
    }
}

void TZEP_DBFile::ExtendedFilterAdd(TDatenfeld& feld, int vergleich, int verknuepfung)
{
    VergleichText(vergleich);   // refuses unknown codes now rather than at the read
    // an earlier open filter on the same field takes the value set for it in the meantime
    for (TExtFilter& e : FExtFilter)
        if (e.feld == &feld && !e.wert)
            e.wert = feld.SqlWerte();
    FExtFilter.push_back({&feld, vergleich, verknuepfung, std::nullopt});
}

void TZEP_DBFile::ExtendedMaxReceive_Set(int n)
{
    FExtMax = n;
}

bool TZEP_DBFile::Get_ge_extMode()
{
    QVariantList werte;
    const QString start = StartBedingung(werte);
    return ScanStarten(TScanArt::Extended, start, werte, 64);
}

bool TZEP_DBFile::Get_next_extMode()
{
    return FScan == TScanArt::Extended ? Weiter() : (FFound = false);
}
