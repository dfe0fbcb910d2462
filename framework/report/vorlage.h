#pragma once

#include "framework/report/ausdruck.h"

#include <QColor>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

// How a value is shown: by its kind, as an amount ("1.234,56"), a whole number ("1.234"),
// a number with given decimals, or a date ("dd.mm.yyyy").
struct TFormat {
    enum Art { Standard, Betrag, Ganz, Zahl, Datum, Text };
    Art art = Standard;
    int nachkomma = 2;
    bool nullUnterdruecken = false;   // 0 and empty values print nothing
};

QString Formatieren(const TWert& w, const TFormat& f);

// Rounded to the given decimals as the value was meant in decimal: the binary noise below a
// millionth of the last digit goes first, so that 2,675 (stored as 2,67499999…) is a half.
// Cents (two decimals) round as money does everywhere, half to even; other decimals half away
// from zero.
double Gerundet(double zahl, int stellen);

struct TStil {
    QString schrift = QStringLiteral("DejaVu Sans");
    double groesse = 8;   // points
    bool fett = false;
    bool kursiv = false;
    QColor farbe = Qt::black;
    Qt::Alignment ausrichtung = Qt::AlignLeft;
};

// One element of a band; positions and sizes in millimetres from the band's top left.
struct TElement {
    enum Art { Text, Feld, Linie, Rahmen, Bild };
    Art art = Text;
    int zeile = 0;   // line in the template file
    double x = 0, y = 0, b = 0, h = 0;   // a line runs from (x, y) to (x + b, y + h)
    TStil stil;
    QString text;                  // Text
    std::shared_ptr<TAusdruck> ausdruck;   // Feld
    TFormat format;
    bool wachsen = false;          // Feld, Text: wraps and lets the band grow
    double staerke = 0.2;          // Linie, Rahmen: millimetres
    std::optional<QColor> fuellung;   // Rahmen
    std::shared_ptr<TAusdruck> bedingung;   // Linie, Rahmen: drawn only when true
    QString bildName;              // Bild: linked to a column by the component
};

struct TBand {
    enum Art { Berichtskopf, Seitenkopf, Gruppenkopf, Detail, Unterband, Gruppenfuss, Seitenfuss, Berichtsfuss };
    Art art = Detail;
    int zeile = 0;
    int gruppe = -1;   // Gruppenkopf, Gruppenfuss: level, 0 the outermost
    double hoehe = 0;
    std::shared_ptr<TAusdruck> bedingung;   // printed only when true
    bool mitNaechstem = false;   // kept on one page with the band that follows
    std::vector<TElement> elemente;
    QString tabelle;       // Unterband: the related table
    QStringList verbindung;   // Unterband: integer columns both tables share

    QString Bezeichnung() const;   // for messages: "Detail (Zeile 40)"
};

struct TGruppe {
    std::shared_ptr<TAusdruck> ausdruck;
    bool umbruchVor = false;   // each group starts on a new page
    std::optional<TBand> kopf, fuss;
};

struct TExportSpalte {
    QString titel;
    std::shared_ptr<TAusdruck> ausdruck;
    TFormat format;
};

// A report template, read from our XML band format (see reports/bericht.xsd).
struct TVorlage {
    QString datei;
    QPageSize::PageSizeId papier = QPageSize::A4;
    QPageLayout::Orientation ausrichtung = QPageLayout::Portrait;
    double randOben = 10, randUnten = 10, randLinks = 10, randRechts = 10;   // millimetres
    QString haupttabelle;
    std::vector<std::shared_ptr<TAusdruck>> sortierung;
    std::optional<TBand> berichtskopf, seitenkopf, seitenfuss, berichtsfuss;
    std::vector<TGruppe> gruppen;
    std::vector<TBand> details;
    std::optional<TBand> unterband;   // printed after the details of each main row
    std::vector<TExportSpalte> export_;   // the main table's columns for CSV and XLSX

    QSizeF SeitenGroesse() const;   // millimetres, oriented

    // Every band, in template order, and every expression in it.
    std::vector<TBand*> Baender();
};

// Reads a template. Throws EORVFehler naming file and line for a missing or unreadable file,
// malformed XML, an unknown element or attribute, a value of the wrong kind or an expression
// that does not parse.
TVorlage VorlageLesen(const QString& pfad);
