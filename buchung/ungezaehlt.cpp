#include "buchung/ungezaehlt.h"

#include "framework/app/interaktion.h"
#include "framework/article/artlessimple.h"
#include "framework/article/iazugriff.h"
#include "framework/core/fehler.h"
#include "framework/core/geld.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/produktblock.h"
#include "inventurliste/inventurliste.h"

#include <QLocale>
#include <QSaveFile>

#include <numeric>

namespace {

QString Betrag(double betrag)
{
    return QLocale(QLocale::German).toString(betrag, 'f', 2);
}

// The target's value at the article's purchase prices of the count date, each rounded to the cent.
double SollWert(IORV_ArtLesSimple& artikel, TDateTime zaehlDatum, TORV_Intv100_Sortiment_Me soll)
{
    TORV_ArtPreisView& preise = artikel.Preise();
    preise.SetStichtag(zaehlDatum);
    TORV_Intv100_Preis ek = preise.EKSet();
    for (TORV_PreisEintrag& e : ek.Eintraege)
        e.Preis = AufCentRunden(e.Preis);
    soll.MinMax_Suchen();
    Intv100_PreisMinMaxAufblasen(soll.MinInd, soll.MaxInd, ek);
    return AufCentRunden(static_cast<double>(soll.Bewerten(ek)));
}

// A CSV field: in quotes when it holds a separator, a quote or a line break.
QString Feld(const QString& text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

}

int64_t TUngezaehlteInventur::Stueck() const
{
    return std::accumulate(Artikel.begin(), Artikel.end(), int64_t{0}, [](int64_t s, const TArtikel& a) { return s + a.Stueck; });
}

double TUngezaehlteInventur::SollEK() const
{
    return AufCentRunden(std::accumulate(Artikel.begin(), Artikel.end(), 0.0, [](double s, const TArtikel& a) { return s + a.SollEK; }));
}

TUngezaehlte UngezaehlteLesen(TInventurliste& liste, TDateTime wiJahr, const TZeileAnzeige_Arr& zeilen)
{
    TUngezaehlte r;
    IORV_ArtLesSimple& artikel = liste.ArtlesSimple();
    for (const TZeileAnzeige& z : zeilen) {
        const QString praefix = z.WGN == QLatin1String("*") ? QString() : z.WGN;
        // read to the end before the reader asks for master records and prices
        const std::vector<TivUngezaehlt> saetze = IV_Ungezaehlt({wiJahr, z.ZaehlDatum, z.Filiale}, praefix);
        if (saetze.empty())
            continue;
        TUngezaehlteInventur inv{z, {}};
        for (size_t i = 0; i < saetze.size(); ++i) {
            constexpr size_t block = TProduktBlockAbfrage::CBlock;
            if (i % block == 0) {
                std::vector<TInt32Trio> ids;
                for (size_t j = i; j < std::min(saetze.size(), i + block); ++j)
                    ids.push_back(saetze[j].Produkt_ID);
                artikel.Vorladen(ids);
            }
            const TivUngezaehlt& s = saetze[i];
            if (!artikel.Laden(s.Produkt_ID))
                FehlerRaise(QStringLiteral("UngezaehlteLesen"), {QStringLiteral("Artikel nicht gefunden"), s.Produkt_ID.ToText()});
            TORV_Intv100_Sortiment_Me soll;
            std::copy(s.Soll.begin(), s.Soll.end(), soll.Me.begin());
            inv.Artikel.push_back({s.Produkt_ID, artikel.Satz().ArtNr, artikel.Satz().Bezeichnung, soll.Sum(),
                                   SollWert(artikel, z.ZaehlDatum, soll)});
        }
        r.push_back(std::move(inv));
    }
    return r;
}

QStringList UngezaehltZeilen(const TUngezaehlte& u)
{
    QStringList r;
    for (const TUngezaehlteInventur& i : u)
        r << QStringLiteral("%1: Artikel mit Sollbestand wurden nicht gezählt; beim Buchen wird ihr Bestand auf 0 gesetzt – "
                            "%2 Artikel, %3 Stück, Soll-EK %4")
                 .arg(IA_Name(i.Zeile.ZaehlDatum, i.Zeile.WGN, i.Zeile.Filiale))
                 .arg(i.Artikel.size())
                 .arg(i.Stueck())
                 .arg(Betrag(i.SollEK()));
    return r;
}

void UngezaehltExportieren(const TUngezaehlte& u, const QString& pfad)
{
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly))
        FehlerRaise(QStringLiteral("UngezaehltExportieren"), {QStringLiteral("%1: %2").arg(pfad, datei.errorString())});
    QString text = QStringLiteral("Zähldatum;Warengruppe;Filiale;Artikelnummer;Bezeichnung;Soll Stück;Soll-EK\r\n");
    for (const TUngezaehlteInventur& i : u)
        for (const TUngezaehlteInventur::TArtikel& a : i.Artikel)
            text += QStringList{TDateTime_FormatDatum(i.Zeile.ZaehlDatum), Feld(i.Zeile.WGN), QString::number(i.Zeile.Filiale), Feld(a.ArtNr),
                                Feld(a.Bezeichnung), QString::number(a.Stueck), Betrag(a.SollEK)}
                        .join(QLatin1Char(';'))
                + QStringLiteral("\r\n");
    datei.write(text.toUtf8());
    if (!datei.commit())
        FehlerRaise(QStringLiteral("UngezaehltExportieren"), {QStringLiteral("%1: %2").arg(pfad, datei.errorString())});
}

bool UngezaehltFragen(const TUngezaehlte& u, QObject* owner)
{
    enum { CJa = maJa, CNein = maNein, CSpeichern = 100 };
    const QString text = UngezaehltZeilen(u).join(QLatin1Char('\n'))
        + QStringLiteral("\n\nTrotzdem buchen? Mit \"Liste speichern\" erhalten Sie die Artikel vorher als Datei.");
    const std::vector<TFrageDlg_Antwort> antworten{{QStringLiteral("Ja"), CJa}, {QStringLiteral("Nein"), CNein},
                                                  {QStringLiteral("Liste speichern …"), CSpeichern}};
    for (;;) {
        int gewaehlt = CNein;
        if (!ORVInteraktion().Frage(QStringLiteral("Buchen"), text, antworten, gewaehlt, owner) || gewaehlt == CNein)
            return false;
        if (gewaehlt == CJa)
            return true;
        const QString pfad = ORVInteraktion().DateiSpeichern(QStringLiteral("Nicht gezählte Artikel speichern"),
                                                             QStringLiteral("nicht_gezaehlt.csv"), QStringLiteral("CSV-Dateien (*.csv)"), owner);
        if (!pfad.isEmpty())
            UngezaehltExportieren(u, pfad);
    }
}
