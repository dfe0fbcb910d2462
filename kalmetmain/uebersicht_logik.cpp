#include "kalmetmain/uebersicht_logik.h"

#include "framework/article/iastatus.h"
#include "framework/core/fehler.h"

#include <cmath>

double InventurDifferenz(double istEK, double sollEK)
{
    const double diff = istEK - sollEK;
    if (std::fabs(diff) < 0.005 || std::fabs(istEK) < 0.005)
        return 0;
    return diff;
}

QColor StatusFarbe(QChar kzZaehlung)
{
    switch (Char_2_IA_KZZaehlung(kzZaehlung)) {
    case iakzInZaehlung:
        return QColor(255, 140, 0);
    case iakzGezaehlt:
    case iakzFreigegeben:
        return QColor(50, 205, 50);
    case iakzTeilweiseGebucht:
        return QColor(255, 165, 0);
    case iakzStorniert:
        return QColor(255, 0, 0);
    default:
        return QColor();
    }
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
