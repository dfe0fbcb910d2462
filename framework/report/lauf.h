#pragma once

#include "framework/dbf/dbf.h"
#include "framework/report/seite.h"
#include "framework/report/vorlage.h"

#include <QDate>
#include <QHash>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

// What the caller sets for one run of a template.
struct TReportEinstellungen {
    std::map<QString, QString> parameter;   // "Param_..." -> text
    // margins in millimetres; those not set stay the template's
    std::optional<double> randOben, randUnten, randLinks, randRechts;
    QString titel;
    QDate druckdatum;
    // picture name -> (table, column) whose value names the picture; bilderLaden gives the
    // pictures' bytes for a list of such values, by value, and leaves out those without one
    std::map<QString, std::pair<QString, QString>> bilder;
    std::function<QHash<QString, QByteArray>(const QStringList& werte)> bilderLaden;
};

// A running sum, count, minimum or maximum over the rows of a group or the report.
struct TAkku {
    long double summe = 0;
    bool ganz = true;   // every value summed was an integer
    qint64 anzahl = 0;
    TWert min, max;
};

// Where the stream of bands stands: the row, the step within the row, the related row, and
// the running aggregates. A copy at the start of a page is all it takes to lay that page out
// again, so a long list keeps a small state every few pages, not its pages.
struct TStromZustand {
    uint32_t pos = 0;
    int schritt = 0;
    uint32_t unter = 0;
    std::vector<TAkku> akkus;
};

// One run of a template over the print tables: lays out page after page. Layout is a pure
// function of template, tables and settings; painting is the caller's (seite.h).
class TReportLauf {
public:
    // tabellen: table name ("INVL") -> DBF file. Throws EORVFehler naming template, band and
    // column for a column or table the template uses that is not there.
    TReportLauf(TVorlage vorlage, const std::map<QString, QString>& tabellen, TReportEinstellungen einstellungen);
    ~TReportLauf();

    // Counts pages for at most budgetMs milliseconds; true once every page is counted.
    bool Zaehlen(int budgetMs);
    int GezaehlteSeiten() const { return FGezaehlteSeiten; }
    bool Gezaehlt() const { return FGezaehlt; }
    int Seitenanzahl();   // counts to the end first

    // Page nr (1-based), laid out from the nearest kept state before it; the page after the one
    // asked for last goes on from there, so that reading page after page lays each out once.
    TSeite Seite(int nr);

    // The main table's rows in report order, with the template's export columns (all columns
    // of the main table when it names none).
    uint32_t Zeilen() const;
    int ExportSpalten() const;
    QString ExportTitel(int spalte) const;
    TFormat ExportFormat(int spalte) const;
    TWert ExportWert(uint32_t zeile, int spalte) const;

    const TVorlage& Vorlage() const { return FVorlage; }

private:
    struct TSchritt;
    struct TInstanz;
    class TKontext;

    void Binden();
    void BindenAusdruck(TAusdruck& a, const TBand* band, int aggregatStufe);
    void ReihenfolgeBilden();
    void VerbindungBilden();
    uint32_t Satz(uint32_t pos) const;
    TWert Wert(int tabelle, uint32_t satz, int spalte) const;
    int ErsteGeaenderteGruppe(uint32_t pos) const;
    const std::vector<TSchritt>& Schritte(uint32_t pos);
    std::pair<const uint32_t*, const uint32_t*> Verwandte(uint32_t satz) const;
    void Akkumulieren(TStromZustand& z, uint32_t satz) const;
    bool Naechstes(TStromZustand& z, int seite, bool zeichnen, TInstanz& aus);
    bool Instanz(const TBand& b, const TKontext& k, uint32_t pos, bool zeichnen, TInstanz& aus);
    QByteArray BildDaten(const QString& wert, uint32_t pos);
    void BilderLaden(const QString& wert, uint32_t pos);
    TSeite SeiteBauen(TStromZustand& z, int nr, bool zeichnen, bool& fertig);

    TVorlage FVorlage;
    TReportEinstellungen FEinstellungen;
    std::vector<std::unique_ptr<TDbfLeser>> FTabellen;   // 0: the main table, 1: the related one
    std::vector<QString> FTabellenNamen;
    std::vector<uint32_t> FReihenfolge;   // sorted row numbers; empty: table order
    struct TVerbindungsEintrag {
        std::array<int32_t, 3> schluessel;
        uint32_t satz;
    };
    std::vector<TVerbindungsEintrag> FVerbindung;   // related rows by key
    std::vector<int> FVerbindungHaupt, FVerbindungUnter;   // key columns in both tables
    struct TSlot {
        const TAusdruck* argument;
        TAggregat art;
        int stufe;   // group level; the number of groups for the report, one more for the page
    };
    int SeitenStufe() const { return static_cast<int>(FVorlage.gruppen.size()) + 1; }
    std::vector<TSlot> FSlots;
    std::map<QString, std::pair<int, int>> FBildSpalten;   // picture name -> table, column
    // the pictures of the rows from the last one whose picture was missing: a miss loads those
    // of the next rows in report order in one go, so that a list costs a few loads, not one a line
    static constexpr uint32_t CBildVorlauf = 500;
    QHash<QString, QByteArray> FBildVorrat;   // an empty value: the row has no picture
    static constexpr int CMerkAbstand = 32;   // a state is kept for every 32nd page
    std::vector<TStromZustand> FSeitenAnfang;   // at the start of pages 1, 33, 65, ...
    TStromZustand FZaehlStand;
    int FGezaehlteSeiten = 0;
    int FFolgeSeite = 0;   // the page whose start FFolgeStand is
    TStromZustand FFolgeStand;
    bool FGezaehlt = false;
    int FSeitenanzahl = 0;
    uint32_t FSchrittePos = UINT32_MAX;
    std::vector<TSchritt> FSchritte;
    double FOben, FUnten, FLinks, FRechts;
};
