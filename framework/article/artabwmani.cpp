#include "framework/article/artabwmani.h"

#include "framework/db/connection.h"
#include "framework/db/datenfeld.h"

#include <QSqlQuery>

TDRAV_ArtAbwMani::TDRAV_ArtAbwMani()
{
    const QString ort = QStringLiteral("TDRAV_ArtAbwMani.Create");
    TZEP_Connection::Lesen(ort, QStringLiteral("SELECT wgn_muster, saisonalter_ab, prozent FROM abwregel"), {}, [this](const QSqlQuery& q) {
        const QString muster = q.value(0).toString();
        FRegeln.push_back({muster.endsWith(QLatin1Char('*')) ? muster.chopped(1) : muster, q.value(1).toInt(), q.value(2).toInt()});
    });
    TZEP_Connection::Lesen(ort, QStringLiteral("SELECT kurz, beginn FROM saison"), {}, [this](const QSqlQuery& q) {
        const QVariant v = q.value(1);
        FSaisonBeginn[q.value(0).toString()] = TDatumTraits::FromSql(&v);
    });
}

int TDRAV_ArtAbwMani::Abw_Prozent(TDateTime WiJahr, const TInt32Trio& Produkt_ID, int16_t, const TSaisonKurz& Saison,
                                  TDateTime, const TORV_Intv100_Preis&, const TORV_ArtPreis_STRP_Set&, int64_t SummeIst)
{
    if (SummeIst == 0 || !FSaisonBeginn.count(Saison))
        return 0;
    return Abw_Prozent_WGN(WiJahr, FWGNMani.Get_MaxWGN4ProdId(Produkt_ID, QString()), Saison, SummeIst);
}

int TDRAV_ArtAbwMani::Abw_Prozent_WGN(TDateTime WiJahr, const QString& wgn, const TSaisonKurz& Saison, int64_t SummeIst) const
{
    const auto beginn = FSaisonBeginn.find(Saison);
    if (SummeIst == 0 || beginn == FSaisonBeginn.end())
        return 0;
    const QDate von = TDateTime_ToQDate(beginn->second), bis = TDateTime_ToQDate(WiJahr);
    int monate = (bis.year() - von.year()) * 12 + bis.month() - von.month();
    if (bis.day() < von.day())
        --monate;
    const int alter = std::max(0, monate) / 6;
    // the most specific pattern that matches the group holds the group's whole schedule
    qsizetype laenge = -1;
    for (const TRegel& r : FRegeln)
        if (wgn.startsWith(r.Praefix, Qt::CaseInsensitive))
            laenge = std::max(laenge, r.Praefix.size());
    int alterRegel = -1, prozent = 0;
    for (const TRegel& r : FRegeln)
        if (r.Praefix.size() == laenge && wgn.startsWith(r.Praefix, Qt::CaseInsensitive) && r.AbAlter <= alter
            && r.AbAlter > alterRegel) {
            alterRegel = r.AbAlter;
            prozent = r.Prozent;
        }
    return prozent;
}
