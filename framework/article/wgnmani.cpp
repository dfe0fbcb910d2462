#include "framework/article/wgnmani.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"

#include <QSqlError>

QString TWGNMani::Get_MaxWGN4ProdId(const TInt32Trio& produktId, const QString&)
{
    if (!FQuery || FGeneration != TZEP_Connection::Generation()) {
        FGeneration = TZEP_Connection::Generation();
        FQuery = std::make_unique<QSqlQuery>(TZEP_Connection::Database());
        FQuery->prepare(QStringLiteral("SELECT wgn FROM artikel WHERE produkt_id_1 = ? AND produkt_id_2 = ? AND produkt_id_3 = ?"));
    }
    FQuery->bindValue(0, produktId.Int1);
    FQuery->bindValue(1, produktId.Int2);
    FQuery->bindValue(2, produktId.Int3);
    if (!FQuery->exec())
        FehlerRaise(QStringLiteral("TWGNMani.Get_MaxWGN4ProdId"), {FQuery->lastError().text()});
    const QString wgn = FQuery->next() ? FQuery->value(0).toString() : QString();
    FQuery->finish();
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
