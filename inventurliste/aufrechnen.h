#pragma once

#include "collections/zep_list.h"
#include "framework/core/sortiment.h"
#include "framework/dbf/invlfile.h"

// Post-processing of one article's inventory-list lines: netting over branches, the
// minimum-difference and quantity filters, summary lines and writing to the INVL table.
// All slots are taken as GrVon - 1 + 17 * BlockNr + j; slots beyond 100 are left out.

using TinvlListe = TZEP_List<TinvlSatz>;

// Nets the differences of the selected branch against those of all branches and keeps the
// selected branch's lines; without a selected branch (0) it only drops an article whose
// netted differences all stay below minDiff.
void FilialenAufrechnen_INVL(int32_t SelFil, TinvlListe& list, int32_t minDiff);

// The enterprise-wide absolute net difference of an article.
int64_t FilialDifferenz_Exists(const TinvlListe& list);

void LoescheINVLohneDifferenz(TinvlListe& list, bool Filueber, int32_t MinDiff);
void LoescheINVLohneMengen(TinvlListe& list);
// Keeps the lines to count again (TLayOutParams::NachzaehlenAbStueck, NachzaehlenAbWert); both
// thresholds 0 keep all.
void LoescheINVLohneNachzaehlung(TinvlListe& list, int32_t abStueck, double abWert);

// Summary lines (branch 999999) per block for count days counted in several branches.
void SummiereINVL(const TinvlListe& list, TinvlListe& summaryList);

void InvlSatzClear(TinvlSatz& satz);
void InvlSatzAddTo(const TinvlSatz& source, TinvlSatz& target);

// Appends the lines to the table; block lines after the first carry zero totals and values,
// which cover the whole article and stand on its first block line.
// With Nummerieren each line gets the running number lfdNr, which counts on.
void INVLSaetzeWegschreiben(const TinvlListe& list, bool Nummerieren, Tinvlfile& datei, TDbf& tabelle, int32_t& lfdNr);
