#pragma once

#include "framework/report/vorlage.h"

#include <QFont>
#include <QRectF>
#include <QSizeF>

#include <vector>

class QPainter;
class TBildSpeicher;

// One thing on a laid-out page; positions in millimetres from the page's top left.
struct TPlanElement {
    TElement::Art art = TElement::Text;   // Feld is laid out as Text
    QRectF rect;
    TStil stil;
    QString text;
    bool umbrechen = false;   // text wraps within its width
    double staerke = 0;
    std::optional<QColor> fuellung;
    QByteArray bild;   // the picture's file contents; text names it
};

struct TSeite {
    int nr = 0;
    int von = 0;
    QSizeF groesse;   // millimetres
    std::vector<TPlanElement> elemente;
};

// The page as text, one element per line, for tests and for the search of the viewer.
QString SeitePlanText(const TSeite& s);

// The height in millimetres that a text needs in the given width (one line at least).
double TextHoehe(const TStil& stil, const QString& text, double breiteMm, bool umbrechen);

// The flags of QPainter::drawText that place an element's text in its rectangle.
int TextFlags(const TPlanElement& e);

// The font of a style.
QFont Schrift(const TStil& s);

// What stands in the frame of a picture that cannot be read, and in which style.
QString BildFehlerText(const QString& name);
TStil BildFehlerStil();

// Paints the page onto a device whose resolution is pxProMm pixels per millimetre; fonts
// follow the device's resolution. Pictures come from bilder, which the pages of one document
// share, and are scaled into their place keeping their proportions. A picture that cannot be
// read is drawn as a red frame naming it.
void SeiteZeichnen(QPainter& p, const TSeite& s, double pxProMm, TBildSpeicher& bilder);
