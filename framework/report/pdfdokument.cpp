#include "framework/report/pdfdokument.h"

#include "framework/core/fehler.h"
#include "framework/report/bildspeicher.h"
#include "framework/report/pdfseite.h"
#include "framework/report/pdftext.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QImageWriter>
#include <QThread>

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int CKatalog = 1, CSeitenbaum = 2, CRessourcen = 3, CInfo = 4;

// Level 1 for pages: their text compresses almost as well and several times faster.
QByteArray Komprimiert(const QByteArray& daten, int stufe = Z_DEFAULT_COMPRESSION)
{
    uLongf laenge = compressBound(static_cast<uLong>(daten.size()));
    QByteArray aus(static_cast<qsizetype>(laenge), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(aus.data()), &laenge, reinterpret_cast<const Bytef*>(daten.constData()),
                  static_cast<uLong>(daten.size()), stufe) != Z_OK)
        FehlerRaise(QStringLiteral("PdfSchreiben"), {QStringLiteral("Die Daten lassen sich nicht komprimieren.")});
    aus.truncate(static_cast<qsizetype>(laenge));
    return aus;
}

QByteArray Verweis(int nr)
{
    return QByteArray::number(nr) + " 0 R";
}

// A text string of the file's information: UTF-16 with byte-order mark, in hex.
QByteArray InfoText(const QString& t)
{
    QByteArray a("<FEFF");
    for (QChar c : t)
        a += QByteArray::number(c.unicode() + 0x10000, 16).mid(1).toUpper();
    return a + '>';
}

// A name as PDF writes it: a character that is no regular character is written as #xx.
QByteArray PdfName(const QString& text)
{
    QByteArray n;
    for (const char c : text.toUtf8()) {
        const auto b = static_cast<unsigned char>(c);
        if (b > 0x20 && b < 0x7F && !std::strchr("()<>[]{}/%#", c))
            n += c;
        else
            n += '#' + QByteArray::number(b + 0x100, 16).mid(1).toUpper();
    }
    return n;
}

// The entries of a picture's dictionary.
QByteArray BildEintraege(QSize pixel, const char* farbraum)
{
    return "/Type /XObject /Subtype /Image /Width " + QByteArray::number(pixel.width()) + " /Height " +
           QByteArray::number(pixel.height()) + " /BitsPerComponent 8 /ColorSpace " + farbraum;
}

QByteArray Punkte(double mm)
{
    return QByteArray::number(mm * 72 / 25.4, 'f', 2);
}

QByteArray Pixel(const QImage& bild, QImage::Format format, int kanaele)
{
    const QImage i = bild.convertToFormat(format);
    QByteArray daten;
    daten.reserve(qsizetype(i.width()) * i.height() * kanaele);
    for (int y = 0; y < i.height(); ++y)
        daten.append(reinterpret_cast<const char*>(i.constScanLine(y)), qsizetype(i.width()) * kanaele);
    return daten;
}

}

TPdfDokument::TPdfDokument(QIODevice& ziel, const QString& titel)
    : FZiel(ziel), FVoraus(static_cast<size_t>(std::max(2, QThread::idealThreadCount() + 1)))
{
    Schreiben("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    FObjektStellen.assign(CInfo, -1);   // the objects with fixed numbers, written when their contents are known
    ObjektSchreiben(CKatalog, "<< /Type /Catalog /Pages " + Verweis(CSeitenbaum) + " >>");
    QByteArray info = "<< /Creator " + InfoText(QStringLiteral("Kalmet")) + " /Producer " + InfoText(QStringLiteral("Kalmet")) +
                      " /CreationDate (D:" + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + "Z)";
    if (!titel.isEmpty())
        info += " /Title " + InfoText(titel);
    ObjektSchreiben(CInfo, info + " >>");
}

TPdfDokument::~TPdfDokument() = default;

void TPdfDokument::SchriftZuordnen(const TStil& stil, TPdfSeitenAuftrag::TZuordnung& z)
{
    // a page has a handful of styles and many elements: a look-up must cost next to nothing
    auto it = std::find_if(FStile.begin(), FStile.end(), [&](const TStilSchrift& s) {
        return s.stil.fett == stil.fett && s.stil.kursiv == stil.kursiv && s.stil.schrift == stil.schrift;
    });
    if (it == FStile.end()) {
        const QRawFont gesicht = TPdfSchrift::Gesicht(Schrift(stil));
        const auto schrift = std::find_if(FSchriften.begin(), FSchriften.end(), [&](const auto& f) {
            return f->Name() == TPdfSchrift::Name(gesicht);
        });
        const int nr = static_cast<int>(schrift - FSchriften.begin());
        if (schrift == FSchriften.end())
            FSchriften.push_back(std::make_unique<TPdfSchrift>(gesicht));
        // the painter makes up bold and slant that the face lacks
        FStile.push_back({stil, nr, stil.fett && !TPdfSchrift::Fett(gesicht), stil.kursiv && !TPdfSchrift::Kursiv(gesicht)});
        it = FStile.end() - 1;
    }
    z.schriftNr = it->schrift;
    z.schrift = FSchriften[it->schrift].get();
    z.fett = it->fett;
    z.schraeg = it->schraeg;
}

// The picture's resource, written on its first use at the resolution its place needs
// (platz, dots of 600 dpi); -1 when it is no readable picture.
int TPdfDokument::BildNr(const QByteArray& daten, QSize platz, TBildSpeicher& bilder, QSize& pixel)
{
    QByteArray schluessel = QCryptographicHash::hash(daten, QCryptographicHash::Sha1);
    schluessel.append(reinterpret_cast<const char*>(&platz), sizeof platz);
    auto it = FBildIndex.find(schluessel);
    if (it == FBildIndex.end()) {
        const TBildSpeicher::TBild& b = bilder.Bild(daten, platz);
        TBildEintrag e;
        if (!b.bild.isNull()) {
            e.nr = static_cast<int>(FBildObjekte.size());
            e.pixel = b.bild.size();
            const int objekt = NeuesObjekt();
            FBildObjekte.push_back(objekt);
            QByteArray eintraege = BildEintraege(e.pixel, "/DeviceRGB");
            if (!b.verlustfrei) {
                QBuffer jpeg;
                jpeg.open(QIODevice::WriteOnly);
                QImageWriter w(&jpeg, "jpeg");
                w.setQuality(94);
                w.write(b.bild.convertToFormat(QImage::Format_RGB888));
                StromSchreiben(objekt, eintraege + " /Filter /DCTDecode", jpeg.data());
            } else {
                if (b.bild.hasAlphaChannel()) {
                    const int maske = NeuesObjekt();
                    StromSchreiben(maske, BildEintraege(e.pixel, "/DeviceGray") + " /Filter /FlateDecode",
                                   Komprimiert(Pixel(b.bild.convertToFormat(QImage::Format_Alpha8), QImage::Format_Alpha8, 1)));
                    eintraege += " /SMask " + Verweis(maske);
                }
                StromSchreiben(objekt, eintraege + " /Filter /FlateDecode", Komprimiert(Pixel(b.bild, QImage::Format_RGB888, 3)));
            }
        }
        it = FBildIndex.insert(schluessel, e);
    }
    pixel = it->pixel;
    return it->nr;
}

void TPdfDokument::SeiteHinzufuegen(TSeite seite, TBildSpeicher& bilder)
{
    auto auftrag = std::make_shared<TPdfSeitenAuftrag>();
    auftrag->zuordnung.resize(seite.elemente.size());
    constexpr double punkteJeMm = 600 / 25.4;
    for (size_t i = 0; i < seite.elemente.size(); ++i) {
        const TPlanElement& e = seite.elemente[i];
        TPdfSeitenAuftrag::TZuordnung& z = auftrag->zuordnung[i];
        if (e.art == TElement::Bild) {
            const QSize platz = QSizeF(e.rect.width() * punkteJeMm, e.rect.height() * punkteJeMm).toSize();
            z.bildNr = BildNr(e.bild, platz, bilder, z.bildPixel);
            if (z.bildNr < 0)
                SchriftZuordnen(BildFehlerStil(), z);
        } else if (e.art == TElement::Text || e.art == TElement::Feld) {
            SchriftZuordnen(e.stil, z);
            FSchriften[z.schriftNr]->ZeichenLaden(e.text);
            if (PdfBrauchtSatz(*z.schrift, e.text))
                z.umriss = PdfTextUmriss(e.stil, e.rect, TextFlags(e), e.umbrechen, e.text);
        }
    }
    auftrag->seite = std::move(seite);
    auftrag->deckkraft = &FDeckkraft;
    FOffen.push_back(std::async(std::launch::async, [auftrag] {
        return TFertigeSeite{Komprimiert(PdfSeitenInhalt(*auftrag), Z_BEST_SPEED), auftrag->seite.groesse};
    }));
    while (FOffen.size() > FVoraus)
        ErsteSeiteSchreiben();
}

void TPdfDokument::ErsteSeiteSchreiben()
{
    const TFertigeSeite s = FOffen.front().get();
    FOffen.pop_front();
    const int inhalt = NeuesObjekt();
    StromSchreiben(inhalt, "/Filter /FlateDecode", s.inhalt);
    const int seite = NeuesObjekt();
    ObjektSchreiben(seite, "<< /Type /Page /Parent " + Verweis(CSeitenbaum) + " /MediaBox [0 0 " + Punkte(s.groesse.width()) + ' ' +
                               Punkte(s.groesse.height()) + "] /Resources " + Verweis(CRessourcen) + " /Contents " +
                               Verweis(inhalt) + " >>");
    FSeiten.push_back(seite);
}

void TPdfDokument::Abschliessen()
{
    while (!FOffen.empty())
        ErsteSeiteSchreiben();
    QByteArray ressourcen = "<< /ProcSet [/PDF /Text /ImageC] /Font <<";
    for (int k = 0; k < static_cast<int>(FSchriften.size()); ++k) {
        const int objekt = NeuesObjekt();
        ressourcen += " /F" + QByteArray::number(k) + ' ' + Verweis(objekt);
        SchriftSchreiben(k, objekt);
    }
    ressourcen += " >> /XObject <<";
    for (size_t k = 0; k < FBildObjekte.size(); ++k)
        ressourcen += " /Im" + QByteArray::number(qsizetype(k)) + ' ' + Verweis(FBildObjekte[k]);
    ressourcen += " >> /ExtGState <<";
    for (int alpha = 0; alpha < 256; ++alpha) {
        const QByteArray wert = QByteArray::number(alpha / 255.0, 'f', 3);
        if (FDeckkraft.fuellung[alpha].load(std::memory_order_relaxed))
            ressourcen += " /Fa" + QByteArray::number(alpha) + " << /ca " + wert + " >>";
        if (FDeckkraft.strich[alpha].load(std::memory_order_relaxed))
            ressourcen += " /Sa" + QByteArray::number(alpha) + " << /CA " + wert + " >>";
    }
    ObjektSchreiben(CRessourcen, ressourcen + " >> >>");

    QByteArray kinder;
    for (int s : FSeiten)
        kinder += Verweis(s) + ' ';
    ObjektSchreiben(CSeitenbaum, "<< /Type /Pages /Kids [" + kinder + "] /Count " + QByteArray::number(qsizetype(FSeiten.size())) + " >>");

    const qint64 verzeichnis = FStelle;
    Schreiben("xref\n0 " + QByteArray::number(qsizetype(FObjektStellen.size() + 1)) + "\n0000000000 65535 f \n");
    for (qint64 stelle : FObjektStellen)
        Schreiben(QByteArray::number(stelle).rightJustified(10, '0') + " 00000 n \n");
    Schreiben("trailer\n<< /Size " + QByteArray::number(qsizetype(FObjektStellen.size() + 1)) + " /Root " + Verweis(CKatalog) +
              " /Info " + Verweis(CInfo) + " >>\nstartxref\n" + QByteArray::number(verzeichnis) + "\n%%EOF\n");
    Leeren();
}

// The font as PDF wants a TrueType font with glyph ids as codes: a Type0 font (objekt) over a
// CID font, its descriptor, the font file and the text of its glyphs.
void TPdfDokument::SchriftSchreiben(int k, int objekt)
{
    const TPdfSchrift& f = *FSchriften[k];
    const QByteArray name = "KALM" + QByteArray(1, char('A' + k / 26 % 26)) + QByteArray(1, char('A' + k % 26)) + '+' + PdfName(f.Name());
    const QByteArray teil = f.Teilschrift();
    const int datei = NeuesObjekt();
    StromSchreiben(datei, "/Length1 " + QByteArray::number(teil.size()) + " /Filter /FlateDecode", Komprimiert(teil));
    const int beschreibung = NeuesObjekt();
    ObjektSchreiben(beschreibung, "<< " + f.Beschreibung(name) + " /FontFile2 " + Verweis(datei) + " >>");
    const int cid = NeuesObjekt();
    ObjektSchreiben(cid, "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                             " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor " +
                             Verweis(beschreibung) + " /CIDToGIDMap /Identity /W " + f.Breiten() + " >>");
    const int text = NeuesObjekt();
    StromSchreiben(text, "/Filter /FlateDecode", Komprimiert(f.UnicodeTabelle()));
    ObjektSchreiben(objekt, "<< /Type /Font /Subtype /Type0 /BaseFont /" + name + " /Encoding /Identity-H /DescendantFonts [" +
                                Verweis(cid) + "] /ToUnicode " + Verweis(text) + " >>");
}

int TPdfDokument::NeuesObjekt()
{
    FObjektStellen.push_back(-1);
    return static_cast<int>(FObjektStellen.size());
}

void TPdfDokument::ObjektSchreiben(int nr, const QByteArray& inhalt)
{
    FObjektStellen[nr - 1] = FStelle;
    Schreiben(QByteArray::number(nr) + " 0 obj\n" + inhalt + "\nendobj\n");
}

void TPdfDokument::StromSchreiben(int nr, const QByteArray& eintraege, const QByteArray& daten)
{
    FObjektStellen[nr - 1] = FStelle;
    Schreiben(QByteArray::number(nr) + " 0 obj\n<< " + eintraege + " /Length " + QByteArray::number(daten.size()) + " >>\nstream\n");
    Schreiben(daten);
    Schreiben("\nendstream\nendobj\n");
}

void TPdfDokument::Schreiben(const QByteArray& daten)
{
    FPuffer += daten;
    FStelle += daten.size();
    if (FPuffer.size() >= (1 << 20))
        Leeren();
}

void TPdfDokument::Leeren()
{
    errno = 0;
    if (FSchreibfehler.isEmpty() && FZiel.write(FPuffer) != FPuffer.size())
        FSchreibfehler = errno ? QString::fromLocal8Bit(std::strerror(errno)) : FZiel.errorString();
    FPuffer.clear();
}
