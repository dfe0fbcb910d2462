#pragma once

#include "framework/core/datetime.h"

#include <QByteArray>
#include <QString>

#include <vector>

// A count file as a hand-held scanner leaves it: UTF-8 or Windows-1252 text (UTF-16 with its
// byte-order mark), lines ending in LF, CRLF or CR; header lines "#key=value" (filiale,
// zaehldatum, regal, geraet, modus), then one line per scan, "barcode" or "barcode;quantity".
// Blank lines and lines starting with "//" are left out. "#modus=nachzaehlung" makes the file
// a recount: it replaces the counts of the articles it scans instead of adding to them.

struct TZaehlzeile {
    int Nr = 0;           // line number in the file, from 1
    QString Barcode;
    int Menge = 1;        // negative: cancels a wrong scan
};

// A bad line: its number (0: the file as a whole), the start of its text and what is wrong
// with it.
struct TZaehlfehler {
    int Nr = 0;
    QString Text;
    QString Grund;
};

// The bad lines of a file: the first CMax of them kept, the others only counted, so that a
// file of junk costs no more than a bounded report.
class TZaehlfehlerListe {
public:
    static constexpr size_t CMax = 1000;
    // The list of one fault of the file as a whole.
    static TZaehlfehlerListe Einer(QString grund);
    void push_back(TZaehlfehler f);
    bool empty() const { return FZeilen.empty(); }
    size_t size() const { return FZeilen.size(); }
    auto begin() const { return FZeilen.begin(); }
    auto end() const { return FZeilen.end(); }
    int64_t Weitere() const { return FWeitere; }
    // In the order of the file's lines.
    void Sortieren();

private:
    std::vector<TZaehlfehler> FZeilen;
    int64_t FWeitere = 0;
};

struct TZaehldatei {
    int32_t Filiale = 0;
    int FilialeZeile = 0;   // where the branch was named
    TDateTime ZaehlDatum = 0;
    int32_t Regal = 0;
    bool MitRegal = false;   // the file names its shelf
    bool Nachzaehlung = false;   // #modus=nachzaehlung
    QString Geraet;
    std::vector<TZaehlzeile> Scans;
    TZaehlfehlerListe Fehler;   // the bad lines found without the database
};

// The largest quantity of one scan line.
constexpr int CZaehlMengeMax = 99999;
// The characters of a bad line that are kept for its report.
constexpr int CZaehlZeileAuszug = 200;

// The file read; a file of more than maxZeilen lines, or with NUL bytes (no text), is refused
// as a whole without its lines.
TZaehldatei ZaehldateiLesen(const QByteArray& inhalt, qint64 maxZeilen = 2000000);

// The file in a normal form: branch, count date, shelf, device, a recount, and per scan its
// GTIN-14 and quantity, in file order. Line ends, a byte-order mark, comments, blank lines and
// the spelling of the date and numbers make no difference; the duplicate key of a file.
QByteArray ZaehldateiNormalform(const TZaehldatei& d);

// The text of a file: UTF-16 when it starts with its byte-order mark, UTF-8 (with or without
// byte-order mark) when it is valid UTF-8, else Windows-1252.
QString ZaehldateiText(const QByteArray& inhalt);
