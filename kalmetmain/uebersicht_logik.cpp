#include "kalmetmain/uebersicht_logik.h"

#include "framework/article/iastatus.h"

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
