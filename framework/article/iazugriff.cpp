#include "framework/article/iazugriff.h"

#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QSqlQuery>

namespace {

const QString COrt = QStringLiteral("IA");

QVariantList Schluessel(TDateTime zaehlDatum, const QString& wgn, int32_t filiale)
{
    return {TDatumTraits::ToSql(zaehlDatum).first(), IA_WGNGespeichert(wgn), filiale};
}

QChar Zeichen(const QString& s)
{
    return s.isEmpty() ? QChar() : s.at(0);
}

TIAStand Lesen(TDateTime zaehlDatum, const QString& wgn, int32_t filiale, const QString& zusatz)
{
    TIAStand r;
    TZEP_Connection::Wiederholen(
        COrt, QStringLiteral("SELECT kzzaehlung, sollek, istek FROM ia WHERE zaehldatum = ? AND wgn = ? AND filiale = ?") + zusatz,
        Schluessel(zaehlDatum, wgn, filiale), [&r](const QSqlQuery& q) {
            r.Gefunden = true;
            r.Status = Char_2_IA_KZZaehlung(Zeichen(q.value(0).toString()));
            r.SollEK = q.value(1).toDouble();
            r.IstEK = q.value(2).toDouble();
        });
    return r;
}

}

QString IA_WGNGespeichert(const QString& angezeigt)
{
    // never a null text: it would bind as NULL
    return angezeigt == QLatin1String("*") || angezeigt.isNull() ? QString(QLatin1String("")) : angezeigt;
}

QString IA_WGNAngezeigt(const QString& gespeichert)
{
    return gespeichert.isEmpty() ? QStringLiteral("*") : gespeichert;
}

QString IA_StatusText(TZEP_IA_KZZaehlung status)
{
    const QChar c = IA_KZZaehlung_2_Char(status);
    return c.isNull() ? QString(QLatin1String("")) : QString(c);
}

TIAStand IA_Lesen(TDateTime zaehlDatum, const QString& wgn, int32_t filiale)
{
    return Lesen(zaehlDatum, wgn, filiale, QString());
}

TIAStand IA_LesenGehalten(TDateTime zaehlDatum, const QString& wgn, int32_t filiale)
{
    return Lesen(zaehlDatum, wgn, filiale,
                 TZEP_Connection::Typ() == TConnectorTyp::PostgreSQL ? QStringLiteral(" FOR SHARE") : QString());
}

bool IA_StatusSetzen(TDateTime zaehlDatum, const QString& wgn, int32_t filiale, TZEP_IA_KZZaehlung neu,
                     std::initializer_list<TZEP_IA_KZZaehlung> von)
{
    QStringList platz;
    QVariantList werte{IA_StatusText(neu)};
    werte += Schluessel(zaehlDatum, wgn, filiale);
    for (TZEP_IA_KZZaehlung s : von) {
        platz << QStringLiteral("?");
        werte << IA_StatusText(s);
    }
    QSqlQuery q = TZEP_Connection::Ausfuehren(COrt,
                                              QStringLiteral("UPDATE ia SET kzzaehlung = ? WHERE zaehldatum = ? AND wgn = ? AND "
                                                             "filiale = ? AND kzzaehlung IN (%1)")
                                                  .arg(platz.join(QStringLiteral(", "))),
                                              werte);
    return q.numRowsAffected() > 0;
}

QString IA_Name(TDateTime zaehlDatum, const QString& wgn, int32_t filiale)
{
    return QStringLiteral("%1 %2 Filiale %3").arg(TDateTime_FormatDatum(zaehlDatum), IA_WGNAngezeigt(wgn)).arg(filiale);
}

std::vector<TIAZaehltag> IA_Zaehltage(int32_t filiale)
{
    QSqlQuery q = TZEP_Connection::Ausfuehren(
        COrt, QStringLiteral("SELECT zaehldatum, wgn FROM ia WHERE filiale = ? AND kzzaehlung <> ? ORDER BY zaehldatum, wgn"),
        {filiale, IA_StatusText(iakzStorniert)});
    std::vector<TIAZaehltag> r;
    while (q.next()) {
        const QVariant d = q.value(0);
        r.push_back({TDatumTraits::FromSql(&d), IA_WGNAngezeigt(q.value(1).toString())});
    }
    return r;
}
