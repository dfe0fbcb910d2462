#include "inventurliste/soll2ist.h"

#include "framework/app/dialoge.h"
#include "framework/app/info.h"
#include "framework/article/iazugriff.h"
#include "framework/stock/invmani.h"

bool Soll2IstZaehlungenVerwerfen(QObject* owner)
{
    int antwort = -1;
    const std::vector<TFrageDlg_Antwort> antworten{
        TFrageDlg_Antwort::Construct(QStringLiteral("Die Soll-Ist-Übernahme durchführen und dabei alle Zählungen dieser Inventur verwerfen"),
                                     0),
        TFrageDlg_Antwort::Construct(QStringLiteral("Die Soll-Ist-Übernahme abbrechen"), 1)};
    // only the answer that takes over goes on; closing the question (Esc) stops like "abbrechen"
    return FrageDlgExecute(TInfoKoord(QStringLiteral("ZOLMIK"), 1002), antworten, antwort, owner) && antwort == 0;
}

bool Soll2IstDurchfuehren(QObject* owner)
{
    return ORVInfo().ShowMeldung(maFrageJaNein, {}, owner, QStringLiteral("ZOLMIK"), 1000) == maJa;
}

int Soll2IstUebernehmen(TInvMani& mani, const TZeileAnzeige_Arr& zeilen, const QString& selWGN, int16_t selFiliale,
                        const std::function<void(const TZeileAnzeige&, int)>& uebernommen)
{
    int summe = 0;
    for (const TZeileAnzeige& z : zeilen) {
        const int n = mani.Soll2Ist(z.ZaehlDatum, z.WGN, static_cast<int16_t>(z.Filiale), selWGN, selFiliale);
        if (uebernommen)
            uebernommen(z, n);
        summe += n;
    }
    return summe;
}

QString Soll2IstNichtsUebernommen(const QString& selWGN, int selFiliale)
{
    return QStringLiteral("In den markierten Inventuren liegt kein Artikel der Auswahl (Warengruppe \"%1\", Filiale %2); es wurde "
                          "nichts übernommen.")
        .arg(selWGN)
        .arg(selFiliale);
}

bool KennzeichenZuruecksetzen(const TZeileAnzeige& z)
{
    return IA_StatusSetzen(z.ZaehlDatum, z.WGN, z.Filiale, iakzFreigegeben, {iakzAngelegt, iakzGezaehlt, iakzTeilweiseGebucht, iakzGebucht});
}
