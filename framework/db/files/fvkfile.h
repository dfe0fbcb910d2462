#pragma once

#include "framework/db/artikelstamm.h"
#include "framework/db/satzdatei.h"

#include <map>

// Erroneous sale ("Fehlerverkauf").
struct TFvkSatz {
    TInt32Trio Produkt_ID;
    int32_t Filiale = 0;
    TDateTime Datum = 0;
    int32_t Uhrzeit = 0;   // hhmmss
    QChar Vorgangsart;
    QString Belegart;
    int32_t Groesse = 0;   // size value as the article's size grid numbers it
    QChar Vorzeichen;
    int32_t Menge = 0;
    double Preis1 = 0;
    double Preis2 = 0;
    int32_t Zusatznummer = 0;
    QString Zusatztext;
    TIntPair BelegPaar;
    int32_t BelegNr = 0;
};

// An article's erroneous sales in a branch (sales kind "F", voucher kind "23") with their row
// ids, in the order of date, time and id; a failure raises at ort.
using TFvkZeilen = std::vector<std::pair<qint64, TFvkSatz>>;
// The pieces an erroneous sale sold: a sign "1" or "2" means they came back (negative).
int32_t FVK_VerkaufteMenge(QChar vorzeichen, int32_t menge);

TFvkZeilen FVK_Lesen(const TInt32Trio& produktId, int32_t filiale, const QString& ort);

// Whether the article has erroneous sales that FVK_Lesen or FVK_ZaehltagLesen (of the article)
// would read: an SQL expression, 1 or 0, for a larger read of the article (IA_ArtikelLesen), and
// the values of its placeholders.
QString FVK_ArtikelVorhanden();
QVariantList FVK_ArtikelWerte(TDateTime zaehlDatum, int32_t filiale, const TInt32Trio& produktId);
// What FVK_Lesen and FVK_ZaehltagLesen of the article read, in one statement.
void FVK_ArtikelLesen(TDateTime zaehlDatum, int32_t filiale, const TInt32Trio& produktId, const QString& ort, TFvkZeilen& offen,
                      std::vector<TFvkSatz>& zaehltag);

// Erroneous sales FVK. Key 0: Produkt_ID, Filiale, Datum, Uhrzeit.
class TFvkFile : public TZEP_SatzDatei<TFvkSatz> {
public:
    explicit TFvkFile(int openMode = 0, int param = -1);

    TInt32TrioDatenKeyFeld Produkt_ID{"Produkt_ID", "produkt_id"};
    TIntegerDatenKeyFeld Filiale{"Filiale", "filiale"};
    TDatumDatenKeyFeld Datum{"Datum", "datum"};
    TIntegerDatenKeyFeld Uhrzeit{"Uhrzeit", "uhrzeit"};
    TCharDatenFeld Vorgangsart{"Vorgangsart", "vorgangsart"};
    TStringDatenFeld Belegart{"Belegart", "belegart", 2};
    TIntegerDatenFeld Groesse{"Groesse", "groesse"};
    TCharDatenFeld Vorzeichen{"Vorzeichen", "vorzeichen"};
    TIntegerDatenFeld Menge{"Menge", "menge"};
    TDoubleDatenFeld Preis1{"Preis1", "preis1"};
    TDoubleDatenFeld Preis2{"Preis2", "preis2"};
    TIntegerDatenFeld Zusatznummer{"Zusatznummer", "zusatznummer"};
    TStringDatenFeld Zusatztext{"Zusatztext", "zusatztext", 40};
    TIntPairDatenFeld BelegPaar{"BelegPaar", "belegpaar"};
    TIntegerDatenFeld BelegNr{"BelegNr", "belegnr"};
};

// Erroneous sales that the booking of another count day converted while this count day's
// targets were already taken (table fvk_zaehltag): the day's list and booking still correct
// by them, but they are converted no more. Per article, in the order of date and time.
using TFvkZaehltag = std::map<TInt32Trio, std::vector<TFvkSatz>, bool (*)(const TInt32Trio&, const TInt32Trio&)>;
// Those of a count day in a branch.
TFvkZaehltag FVK_ZaehltagLesen(TDateTime zaehlDatum, int32_t filiale, const QString& ort);
// Those of an article on a count day in a branch.
std::vector<TFvkSatz> FVK_ZaehltagLesen(TDateTime zaehlDatum, int32_t filiale, const TInt32Trio& produktId, const QString& ort);
// Keeps the erroneous sale (row id fvkId) in the correction of another count day.
void FVK_ZaehltagMerken(TDateTime zaehlDatum, qint64 fvkId, const TFvkSatz& s, const QString& ort);

// Erroneous sales from this day on correct the counts; older ones are in no count's correction.
inline TDateTime FVKKorrekturBeginn()
{
    return EncodeDate(2000, 1, 1);
}

// Whether an erroneous sale of that date is in the correction of the count day (and so
// converted by its booking).
inline bool ImFVKKorrektur(TDateTime datum, TDateTime zaehlDatum)
{
    return datum >= FVKKorrekturBeginn() && datum <= zaehlDatum;
}

// The erroneous sales of a branch not converted yet that are in the correction of the count
// day, of the articles wahl chooses (Produkt_ID, Groesse, Vorzeichen and Menge filled); a
// failure raises at ort.
std::vector<TFvkSatz> FVK_KorrekturLesen(TDateTime zaehlDatum, int32_t filiale, const TArtikelWGNWahl& wahl, const QString& ort);
// Removes the erroneous sale of row id fvkId; false when it was not there.
bool FVK_Loeschen(qint64 fvkId, const QString& ort);
