#include "framework/article/besttyp.h"

int Char_2_ArtBestTyp(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'1' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'G')
        return u - u'A' + 10;
    return 0;
}

QChar ArtBestTyp_2_Char(int besttyp)
{
    if (besttyp >= 1 && besttyp <= 9)
        return QChar(u'0' + besttyp);
    if (besttyp >= 10 && besttyp <= 16)
        return QChar(u'A' + besttyp - 10);
    return QChar();
}
