#pragma once

#include "framework/article/aasatz.h"
#include "framework/article/preisview.h"

#include <memory>
#include <vector>

// Simple article reader: loads the article master record of a product id. Mode and
// segment set are kept as the callers set them.
class IORV_ArtLesSimple {
public:
    virtual ~IORV_ArtLesSimple() = default;
    virtual void SetMode(int mode) = 0;
    virtual int Mode() const = 0;
    virtual void SetSegmente(unsigned segmente) = 0;   // bit set of segments 0..31
    virtual unsigned Segmente() const = 0;
    // Loads the article; false when there is none with this id.
    virtual bool Laden(const TInt32Trio& produktId) = 0;
    // Reads the master records and prices of a block of articles (at most
    // TProduktBlockAbfrage::CBlock, no id twice) at once; Laden and Preise take them from
    // there. Replaces the previous block.
    virtual void Vorladen(const std::vector<TInt32Trio>& ids) = 0;
    // The same for the master records only: an article's prices are read when they are asked
    // for (for those who seldom need them). Replaces the previous block, its prices included.
    virtual void StammVorladen(const std::vector<TInt32Trio>& ids) = 0;
    // Exchanges the read-ahead block with another reader of the same kind (one that read it on
    // another thread).
    virtual void VorratTauschen(IORV_ArtLesSimple& anderer) = 0;
    // Exchanges the read-ahead prices with a price view that read the same block on another
    // thread (after StammVorladen here).
    virtual void PreisVorratTauschen(TORV_ArtPreisView& preise) = 0;
    virtual const TAASatz& Satz() const = 0;
    // The price view of the loaded article.
    virtual TORV_ArtPreisView& Preise() = 0;
    // The article's season as of a date.
    virtual TSaisonKurz Saison(TDateTime datum) const = 0;
};

// The server factory hands out article readers and takes them back.
namespace TORVServerFactory {
IORV_ArtLesSimple* ArtLesSimpleHolen();
// Frees the reader and clears the reference.
void ArtLesSimpleZurueckgeben(IORV_ArtLesSimple*& reader);
}
