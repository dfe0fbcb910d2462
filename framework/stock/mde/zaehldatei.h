#pragma once

#include "framework/core/datetime.h"

#include <QByteArray>
#include <QString>

#include <vector>

// A count file as a hand-held scanner leaves it: UTF-8 or Windows-1252 text, LF or CRLF;
// header lines "#key=value" (filiale, zaehldatum, regal, geraet), then one line per scan,
// "barcode" or "barcode;quantity". Blank lines and lines starting with "//" are left out.

struct TZaehlzeile {
    int Nr = 0;           // line number in the file, from 1
    QString Barcode;
    int Menge = 1;        // negative: cancels a wrong scan
};

// A bad line: its number (0: the file as a whole), its text and what is wrong with it.
struct TZaehlfehler {
    int Nr = 0;
    QString Text;
    QString Grund;
};

struct TZaehldatei {
    int32_t Filiale = 0;
    int FilialeZeile = 0;   // where the branch was named
    TDateTime ZaehlDatum = 0;
    int32_t Regal = 0;
    QString Geraet;
    std::vector<TZaehlzeile> Scans;
    std::vector<TZaehlfehler> Fehler;   // every bad line found without the database
};

// The largest quantity of one scan line.
constexpr int CZaehlMengeMax = 99999;

TZaehldatei ZaehldateiLesen(const QByteArray& inhalt);

// The text of a file: UTF-8 (with or without byte-order mark) when it is valid UTF-8, else
// Windows-1252.
QString ZaehldateiText(const QByteArray& inhalt);
