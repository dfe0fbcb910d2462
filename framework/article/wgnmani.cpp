#include "framework/article/wgnmani.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"


QString TWGNMani::Get_MaxWGN4ProdId(const TInt32Trio& produktId, const QString&)
{
    const QString ort = QStringLiteral("TWGNMani.Get_MaxWGN4ProdId");
    QSqlQuery& q =
        FAnweisung.Holen(ort, QStringLiteral("SELECT wgn FROM artikel WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ?"));
    q.bindValue(0, produktId.Int1);
    q.bindValue(1, produktId.Int2);
    q.bindValue(2, produktId.Int3);
    TZEP_Connection::Starten(q, ort);
    const QString wgn = q.next() ? q.value(0).toString() : QString();
    TZEP_Connection::Beenden(q, ort);
    return wgn;
}

QString WGNMusterPraefix(const QString& muster, const QString& ort)
{
    const qsizetype stern = muster.indexOf(QLatin1Char('*'));
    if (stern < 0)
        return muster;
    if (stern != muster.size() - 1)
        FehlerRaise(ort, {CORV_Info_Fehler_Standard_IllegalerParameter, QStringLiteral("hWGNTest=") + muster});
    return muster.left(stern);
}

bool WGNPasst(const QString& wgn, const QString& praefix)
{
    return wgn.left(praefix.size()).compare(praefix, Qt::CaseInsensitive) == 0;
}

bool ArtikelImWGNMuster(TWGNMani& mani, const TInt32Trio& produktId, const QString& muster, const QString& ort)
{
    if (muster.isEmpty() || muster == QLatin1String("*"))
        return true;
    return WGNPasst(mani.Get_MaxWGN4ProdId(produktId, QString()), WGNMusterPraefix(muster, ort));
}
