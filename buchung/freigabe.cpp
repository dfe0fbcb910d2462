#include "buchung/freigabe.h"

#include "buchung/inventurbuchung.h"
#include "framework/app/dialoge.h"
#include "framework/app/programm.h"
#include "framework/article/iazugriff.h"
#include "framework/core/fehler.h"
#include "framework/core/geld.h"

#include <QLocale>

#include <cmath>

namespace {

qint64 Cent(double betrag)
{
    return std::llround(AufCentRunden(betrag) * 100);
}

QString Betrag(qint64 cent)
{
    return QLocale(QLocale::German).toString(static_cast<double>(cent) / 100, 'f', 2);
}

// FREIGABE_AB_EK in cents; 0 when approval is off.
qint64 Grenze()
{
    const QString text = ORVParameter().GetStringValueByName(QStringLiteral("FREIGABE_AB_EK")).trimmed();
    if (text.isEmpty())
        return 0;
    bool zahl = false;
    const double wert = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&zahl);
    if (!zahl || wert < 0)
        FehlerRaise(QStringLiteral("FreigabeFehlt"), {QStringLiteral("Der Parameter FREIGABE_AB_EK \"%1\" ist kein Betrag").arg(text)});
    return Cent(wert);
}

}

QStringList FreigabeFehlt(const std::vector<TBuchungsZeile>& geprueft)
{
    const qint64 grenze = Grenze();
    if (grenze == 0)
        return {};
    QStringList r;
    for (const TBuchungsZeile& z : geprueft) {
        const qint64 differenz = std::llabs(Cent(z.IstEK.toDouble()) - Cent(z.SollEK.toDouble()));
        if (differenz > grenze)
            r << QStringLiteral("%1: Differenz zum EK %2, Freigabe ab %3").arg(IA_Name(z.Zeile.ZaehlDatum, z.Zeile.WGN, z.Zeile.Filiale),
                                                                                Betrag(differenz), Betrag(grenze));
    }
    if (r.isEmpty() || UserHatRecht(CRechtFreigabe))
        return {};
    return r;
}

QString FreigabeText(const QStringList& fehlt)
{
    return QStringLiteral("%1\nDie Differenz übersteigt die Freigabegrenze (Parameter FREIGABE_AB_EK). Buchen darf diese Inventuren nur ein Benutzer "
                          "mit dem Recht \"%2\" (Freigabe); dem Benutzer \"%3\" fehlt es. Die Buchung wird nicht ausgeführt.")
        .arg(fehlt.join(QLatin1Char('\n')), CRechtFreigabe, ORVProgramm().Benutzer());
}
