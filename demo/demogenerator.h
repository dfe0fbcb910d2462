#pragma once

#include "framework/core/datetime.h"
#include "framework/core/int32trio.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

struct TDemoParameter {
    uint64_t Seed = 1;
    int Artikel = 2000;
    int Filialen = 5;
    QDate Heute = QDate::currentDate();
    QString Benutzer;   // operating-system user who gets every right
};

// Builds a consistent demo retail chain in an empty, migrated database: master data,
// prices, two years of stock movements and sales, inventories of three fiscal years with
// target, count and shelf records, erroneous sales, users and rights. The same parameters
// always give the same database.
class TDemoGenerator {
public:
    explicit TDemoGenerator(TDemoParameter p);
    void Erzeugen(QSqlDatabase db);

    // Fiscal years start on 1 February; the current one is the latest that started on or
    // before "today".
    static TDateTime WiJahrAktuell(QDate heute);

private:
    struct TRaster {
        int GGKey;
        QString Name;
        std::vector<int> Groessen;   // numeric size per slot
        std::vector<QString> Texte;
    };
    struct TArtikel {
        TInt32Trio Id;
        QString ArtNr;
        QString Bezeichnung;
        QString Wgn;
        int Raster;   // index into FRaster
        int GrVon, GrBis;   // 1-based slots
        double EK, VK, VK2;
        int SlotGross;    // from this 0-based slot on the purchase price is EKGross (0: none)
        double EKGross;
        int MwstKz;
        QString Saison;
        std::vector<int> Filialen;
    };
    struct TBewegung {
        TDateTime Datum;
        int Filiale;
        int Filiale2;
        int BewArtPos;
        int BestTyp;
        std::array<int32_t, 100> Menge;
    };
    struct TInventur {
        TDateTime WiJahr, ZaehlDatum;
        QString Wgn;
        int Filiale;
        int Status;
    };

    int Zufall(int von, int bis);   // inclusive, from the generator's own sequence
    bool Chance(int prozent) { return Zufall(1, 100) <= prozent; }
    TDateTime Tag(QDate d) const { return TDateTime_FromQDate(d); }

    void Stammdaten(QSqlDatabase& db);
    void Artikelstamm(QSqlDatabase& db);
    void Bewegungen(QSqlDatabase& db);
    void Inventuren(QSqlDatabase& db);
    void Fehlverkaeufe(QSqlDatabase& db, const TInventur& inv, const std::vector<const TArtikel*>& artikel);

    // Stock of one stock type at the end of a day, from the movements.
    std::array<int32_t, 100> BestandAm(const TArtikel& a, int filiale, int besttyp, TDateTime tag) const;
    double EkAm(const TArtikel& a, int slot) const;

    TDemoParameter FP;
    uint64_t FZustand;
    std::vector<TRaster> FRaster;
    std::vector<QString> FWarengruppen;
    std::vector<int> FFilialen;
    int FLagerplatzFiliale = 0;
    std::vector<TArtikel> FArtikel;
    std::map<std::pair<int, int>, std::vector<TBewegung>> FBewegungen;   // (article index, branch)
};
