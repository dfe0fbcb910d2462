#pragma once

#include "framework/report/pdfschrift.h"
#include "framework/report/pdfseite.h"
#include "framework/report/seite.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <deque>
#include <future>
#include <memory>
#include <vector>

class QIODevice;
class TBildSpeicher;

// Writes laid-out pages as a PDF file. Fonts are embedded once, as subsets of the glyphs the
// document uses; each picture is embedded once. The pages' content is built and compressed on
// worker threads, a few pages ahead of the one written, so memory stays flat however long
// the document is; pages are written in the order they were given.
class TPdfDokument {
public:
    TPdfDokument(QIODevice& ziel, const QString& titel);
    ~TPdfDokument();

    // Sets up the page's fonts and pictures and queues it; throws when a page built before
    // failed or the file cannot be written.
    void SeiteHinzufuegen(TSeite seite, TBildSpeicher& bilder);
    // Writes the remaining pages, the fonts and the file's index.
    void Abschliessen();
    // Why the file could not be written, empty while it could; after a failure nothing more
    // is written.
    QString Schreibfehler() const { return FSchreibfehler; }

private:
    struct TFertigeSeite {
        QByteArray inhalt;   // compressed
        QSizeF groesse;      // millimetres
    };

    void SchriftZuordnen(const TStil& stil, TPdfSeitenAuftrag::TZuordnung& z);
    int BildNr(const QByteArray& daten, QSize platz, TBildSpeicher& bilder, QSize& pixel);
    void ErsteSeiteSchreiben();
    void SchriftSchreiben(int k, int objekt);

    // the file
    int NeuesObjekt();
    void ObjektSchreiben(int nr, const QByteArray& inhalt);
    void StromSchreiben(int nr, const QByteArray& eintraege, const QByteArray& daten);
    void Schreiben(const QByteArray& daten);
    void Leeren();

    QIODevice& FZiel;
    QString FSchreibfehler;
    QByteArray FPuffer;
    qint64 FStelle = 0;
    std::vector<qint64> FObjektStellen;   // by object number - 1
    std::vector<int> FSeiten;

    std::vector<std::unique_ptr<TPdfSchrift>> FSchriften;   // one per face
    struct TStilSchrift {
        TStil stil;
        int schrift;
        bool fett, schraeg;
    };
    std::vector<TStilSchrift> FStile;   // the face of each style met, and what it must make up
    struct TBildEintrag {
        int nr = -1;   // -1: not readable
        QSize pixel;
    };
    QHash<QByteArray, TBildEintrag> FBildIndex;
    std::vector<int> FBildObjekte;
    TPdfDeckkraft FDeckkraft;

    // declared last: pending pages read the fonts, so they finish before the fonts go
    std::deque<std::future<TFertigeSeite>> FOffen;
    size_t FVoraus = 2;
};
