#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSize>

#include <list>

// The pictures of one document, each read once: a stored picture is drawn from the same image
// every time, so that a PDF embeds it once. A picture keeps its stored resolution unless that
// is finer than its place on the device needs; the painter scales it into its place. Decoded
// pictures are held up to a budget of bytes, the least recently drawn dropped first.
class TBildSpeicher {
public:
    struct TBild {
        QImage bild;                // null when the contents are no readable picture
        bool verlustfrei = false;   // stored without loss (not JPEG): to be embedded without loss
    };

    explicit TBildSpeicher(qsizetype budget = qsizetype(64) << 20);

    // The picture of the file contents for a place of platz pixels.
    const TBild& Bild(const QByteArray& daten, QSize platz);

private:
    struct TEintrag {
        QByteArray schluessel;
        TBild bild;
    };

    qsizetype FBudget;
    qsizetype FBelegt = 0;
    std::list<TEintrag> FEintraege;   // most recently drawn first
    QHash<QByteArray, std::list<TEintrag>::iterator> FIndex;
};
