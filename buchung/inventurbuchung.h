#pragma once

#include "buchung/ungezaehlt.h"
#include "framework/article/iazugriff.h"
#include "framework/core/int32trio.h"
#include "framework/db/files/fvkfile.h"
#include "framework/db/files/ivfile.h"
#include "framework/stock/sperre.h"
#include "inventurliste/mengenfeld.h"
#include "inventurliste/zeileanzeige.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class IORV_ArtLesSimple;
class TInventurliste;
class TInvMani;
struct TFvkSatz;

// A checked row of the overview as the booking's checks read it: the inventory, its values
// at purchase prices and its status. The booking reads values and status again from the
// database before it checks them.
struct TBuchungsZeile {
    TZeileAnzeige Zeile;
    QVariant SollEK, IstEK;   // a value that is no number counts as such
    TZEP_IA_KZZaehlung Status = iakzAngelegt;
    bool Gefunden = true;     // false: the inventory no longer exists
};

// What the window or the booking command supplies.
struct TBuchungsUmgebung {
    // whether the article belongs to the product-group pattern ("KI*", "*")
    std::function<bool(const TInt32Trio&, const QString&)> TestWG;
    // the article being posted (its number); nachrichten: the window may answer meanwhile
    std::function<void(const QString& artNr, bool nachrichten)> Artikel;
    // an inventory got a new status
    std::function<void(const TZeileAnzeige&, TZEP_IA_KZZaehlung)> Status;
    // the progress shows (true) or goes (false)
    std::function<void(bool)> Fortschritt;
    // whether the articles nobody counted are booked to 0; without an answer they are not
    std::function<bool(const TUngezaehlte&)> Ungezaehlt;
    QObject* Owner = nullptr;   // of the questions and messages
};

// How the posting of one article ended.
enum class TArtikelErgebnis {
    Gebucht,        // posted and marked
    SchonGebucht,   // nothing left to post: another terminal posted it meanwhile
    Gesperrt,       // another process holds its lock
    Abgelehnt,         // a posting was refused: nothing of it committed, protocol lines written
    Fehlgeschlagen,    // a failure: nothing of it committed, the failure registered
    InventurGeaendert  // another terminal changed the inventory's status: nothing more is posted
};

// Closing of inventories: the checks and questions before, and the posting of every article's
// count difference under its article lock, one transaction per article (stock movements and
// stock, converted erroneous sales, the posted mark of its target records and the release of
// its lock, all or none). What is posted is decided inside that transaction from the rows as
// they are then, so a second terminal or a run after a crash never posts an article twice.
// The window and the booking command drive it alike.
class TInventurBuchung {
public:
    TInventurBuchung(TInventurliste& liste, TDateTime wiJahr, TBuchungsUmgebung umgebung);
    ~TInventurBuchung();

    // The checks, questions and the posting for the checked rows; zeilen are the marked ones
    // (checked and not cancelled). True when every inventory was closed; inventories left
    // open for another reason than locked articles are told in one message.
    bool InvBuchen(std::vector<TBuchungsZeile> geprueft, const TZeileAnzeige_Arr& zeilen, std::vector<TZEP_clMeldung>& AMeldungen);

    // Every checked row's counted value lies within 5 % of its target value.
    static bool Test5Proz(const std::vector<TBuchungsZeile>& geprueft);
    // No checked row is in counting, booked, cancelled or gone.
    static bool TestOffen(const std::vector<TBuchungsZeile>& geprueft);
    // The user may book every checked row's difference (FreigabeFehlt); else he is told.
    bool TestFreigabe(const std::vector<TBuchungsZeile>& geprueft);
    // No marked inventory has articles with a target that nobody counted, or the environment
    // lets them be booked to 0.
    bool TestUngezaehlt(const TZeileAnzeige_Arr& zeilen);
    // The trial run over inventories of branch 0 and of storage-location branches finds no
    // article with a difference left.
    bool TestLagerfilialen(const TZeileAnzeige_Arr& zeilen);
    // Status 4 (closing incomplete) for the rows' inventories of status 2 or 3; the rows that
    // are at 4 now and may be posted. A row another terminal changed meanwhile is left out
    // and told at the end of the run.
    std::vector<TBuchungsZeile> Inventuren_AbschlussUnvo(const std::vector<TBuchungsZeile>& zeilen);

    // Posts (or, in the trial run, only checks) the inventories of the rows.
    void InvBuchenF(const TZeileAnzeige_Arr& zeilen, bool& AAbgelehnt, bool ATestlauf, std::vector<TZEP_clMeldung>& AMeldungen);
    // Converts the article's erroneous sales at the branch into sales lines.
    void FVKLoeschen(const TInt32Trio& AProdId, int32_t AFiliale);

    // What stayed open in the last run for another reason than locked articles, one line each.
    const QStringList& NichtAbgeschlossen() const { return FNichtAbgeschlossen; }

private:
    // One inventory of the walk.
    struct TInventur {
        TIVInventur IV;
        QString WGNMuster;
        TZeileAnzeige Zeile;
        std::vector<TIAZaehltag> Andere;   // the branch's other count days
    };
    // What a posting of the article changed in the stock from its date on.
    struct TWirkung {
        TDateTime Datum = 0;
        TMengen100 Menge{};
    };

    void InvBearbeitenInventur(TInventur& inv, bool ATestlauf, bool& AAbgelehnt, std::vector<TZEP_clMeldung>& AMeldungen);
    TArtikelErgebnis InvBuchenF_Artikel(const TInventur& inv, const TInt32Trio& AProdId, TZEP_clMeldung& AMeldung);
    TArtikelErgebnis ArtikelBuchen(const TInventur& inv, const TInt32Trio& id, TZEP_clMeldung& AMeldung,
                                   std::vector<QString>& abgelehnt);
    // The branch's other count days by day, earliest first, as an article sees them. Whether
    // one of a day's inventories takes the article (TestWG), and whether one of those is
    // booked, is asked on the first need: most articles post nothing that reaches another day.
    class TAndereTage {
    public:
        TAndereTage(const TInventur& inv, const TInt32Trio& id, const TBuchungsUmgebung& umgebung);
        // every day, with its count date as stored
        const std::map<TDateTime, TDateTime>& Tage() const { return FZaehlDatum; }
        bool Haelt(TDateTime tag) const { return Sicht(tag).Haelt; }
        bool Gebucht(TDateTime tag) const { return Sicht(tag).Gebucht; }

    private:
        struct TSicht {
            bool Haelt = false;     // one of its inventories takes the article
            bool Gebucht = false;   // one of those is booked
        };
        const TSicht& Sicht(TDateTime tag) const;

        const TInventur& FInv;
        TInt32Trio FId;
        const TBuchungsUmgebung& FUmgebung;
        std::map<TDateTime, TDateTime> FZaehlDatum;
        mutable std::map<TDateTime, TSicht> FSicht;
    };

    // The article's quantity field from its unposted target records, its count and its
    // erroneous sales as they are now; false when nothing is left to post.
    bool ArtikelMengenfeld(const TInventur& inv, const TInt32Trio& id, const TIAArtikel& artikel, bool lagerPruefen, TMengenfeld& feld);
    // The trial run's look at one article: true when it still shows a difference.
    bool ArtikelMitDifferenz(const TInventur& inv, const TInt32Trio& id);
    // Converts this count day's erroneous sales; each stays in the correction of the later
    // count days not booked yet. What each did to the stock.
    std::vector<TWirkung> FVKTagWandeln(const TInventur& inv, const TFvkZeilen& fvk, const TAndereTage& andere);
    // Confines the article's postings to the count days that account for them: the count
    // difference to this day, a converted sale to the days whose correction holds it. On every
    // other count day that holds the article the stock stays what it was, by postings on those
    // days that take their effect back.
    void AndereZaehltageAusgleichen(const TInventur& inv, const TInt32Trio& id, const TAndereTage& andere,
                                    const std::vector<TWirkung>& differenz, const std::vector<TWirkung>& verkauf,
                                    std::vector<QString>& abgelehnt);
    void InventurAbschliessen(const TInventur& inv);
    // Tells an inventory that another terminal changed; one it booked is shown as booked.
    void Geaendert(const TZeileAnzeige& z, const TIAStand& jetzt);
    // Converts the erroneous sales; what each did to the stock. gewandelt hears of each converted.
    std::vector<TWirkung> FVKAlleWandeln(const TFvkZeilen& saetze, const std::function<void(qint64, const TFvkSatz&)>& gewandelt = {});
    std::optional<TWirkung> FVKWandeln(const TFvkSatz& fvk, qint64 id, int& AErgebnis);
    TDateTime BuchDatum(const TInt32Trio& AProdId, bool mitPreisHistorie) const;
    // Whether the fiscal year has ended, so that BuchDatum reads articles' price histories.
    bool PreisHistorieNoetig() const;
    void StatusSetzen(const TZeileAnzeige& zeile, TZEP_IA_KZZaehlung status);

    TInventurliste& FListe;   // the rules of the quantity field, as the list applies them
    std::unique_ptr<IORV_ArtLesSimple> FArtikel;
    std::unique_ptr<TInvMani> FInvMani;   // the article booker and its results
    TDateTime FWiJahr;
    TBuchungsUmgebung FUmgebung;
    QStringList FNichtAbgeschlossen;
};

// The 5-percent test of one row, in whole cents: the counted value deviates from the target
// value by less than 5 %; a target of nothing passes only with nothing counted.
bool Innerhalb5Prozent(const QVariant& sollEK, const QVariant& istEK);
