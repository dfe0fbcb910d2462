#include "buchung/offenezaehldateien.h"

#include "framework/article/iazugriff.h"

QStringList ZaehldateienOffen(TMDEBucher& zaehldateien, const std::vector<TBuchungsZeile>& zeilen)
{
    const std::vector<TMDEOffen> offen = zaehldateien.NichtEingelesene();
    QStringList r;
    for (const TBuchungsZeile& z : zeilen) {
        QStringList dateien;
        for (const TMDEOffen& o : offen)
            if (o.Betrifft(z.Zeile.ZaehlDatum, z.Zeile.Filiale))
                dateien << o.Datei;
        if (!dateien.isEmpty())
            r << QStringLiteral("%1: %2").arg(IA_Name(z.Zeile.ZaehlDatum, z.Zeile.WGN, z.Zeile.Filiale), dateien.join(QStringLiteral(", ")));
    }
    return r;
}
