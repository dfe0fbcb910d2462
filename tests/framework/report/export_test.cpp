#include "framework/core/fehler.h"
#include "framework/report/export.h"
#include "framework/report/bildspeicher.h"
#include "framework/report/lauf.h"
#include "framework/report/pdfdokument.h"
#include "tests/framework/report/berichtdaten.h"

#include <QImage>
#include <QPainter>
#include <QBuffer>
#include <QProcess>
#include <QRegularExpression>

#include <set>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QString Ausgabe(const QString& programm, const QStringList& argumente)
{
    QProcess p;
    p.start(programm, argumente);
    EXPECT_TRUE(p.waitForFinished(30000)) << qPrintable(programm);
    EXPECT_EQ(p.exitCode(), 0) << qPrintable(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput());
}

const char* const CListe = R"X(
<seitenkopf hoehe="8"><feld x="0" y="0" b="150" h="5" ausdruck='titel() + ", Seite " + seite() + " von " + seiten()'/></seitenkopf>
<detail hoehe="6">
  <feld x="0" y="0" b="30" h="5" ausdruck="H.Gruppe"/>
  <feld x="30" y="0" b="40" h="5" ausdruck="H.Wert" format="betrag" ausrichtung="rechts"/>
  <bild x="80" y="0" b="60" h="5" name="Bild1"/>
</detail>
<berichtsfuss hoehe="6"><feld x="0" y="0" b="70" h="5" ausdruck='"Summe " + summe(H.Wert)'/></berichtsfuss>
<export>
  <spalte titel="Gruppe; Teil" ausdruck="H.Gruppe"/>
  <spalte titel="Nummer" ausdruck="H.Nr" format="ganz"/>
  <spalte titel="Wert" ausdruck="H.Wert" format="betrag"/>
  <spalte titel="Datum" ausdruck="H.Datum"/>
</export>
)X";

// The list as PDF, each row showing the picture file "<group>.png" of the test folder.
QString PdfMitBildern(TBerichtDaten& d, TReportEinstellungen e)
{
    e.bilder["Bild1"] = {"H", "Gruppe"};
    e.bilderLaden = [&d](const QStringList& namen) {
        QHash<QString, QByteArray> bilder;
        for (const QString& name : namen)
            if (QFile f(d.Pfad(name + ".png")); f.open(QIODevice::ReadOnly))
                bilder.insert(name, f.readAll());
        return bilder;
    };
    TReportLauf lauf(VorlageLesen(d.Vorlage(CListe)), d.Tabellen(), e);
    const QString pdf = d.Pfad("liste.pdf");
    ReportExportieren(lauf, pdf, TExportFormat::Pdf);
    return pdf;
}

}

TEST(ExportTest, PdfCarriesEveryTextAndMarksUnreadablePictures)
{
    TBerichtDaten d;
    // row 1 has a picture, row 2 a broken one; the others none
    QImage bild(40, 40, QImage::Format_RGB32);
    bild.fill(Qt::blue);
    ASSERT_TRUE(bild.save(d.Pfad("A.png")));
    QFile kaputt(d.Pfad("B.png"));
    ASSERT_TRUE(kaputt.open(QIODevice::WriteOnly));
    kaputt.write("kein Bild");
    kaputt.close();
    TReportEinstellungen e;
    e.titel = "Probe";
    const QString pdf = PdfMitBildern(d, e);
    const QString text = Ausgabe("pdftotext", {"-layout", pdf, "-"});
    for (const char* t : {"Probe, Seite 1 von 1", "10,50", "20,25", "2,68", "-4,00", "1.234,50", "Summe 1.263,92", "Bild nicht lesbar: B"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(t))) << t << "\n" << qPrintable(text);
    EXPECT_EQ(text.count("Bild nicht lesbar"), 2);   // both rows of group B
}

TEST(ExportTest, PdfEmbedsEachPictureOnceNoFinerThanItsPlace)
{
    TBerichtDaten d;
    // both rows of group A show the same small picture; group C a photo finer than its place
    QImage klein(40, 40, QImage::Format_RGB32);
    klein.fill(Qt::blue);
    ASSERT_TRUE(klein.save(d.Pfad("A.png")));
    QImage foto(800, 400, QImage::Format_RGB32);
    foto.fill(Qt::darkGreen);
    ASSERT_TRUE(foto.save(d.Pfad("C.png"), "JPEG"));
    const QString pdf = PdfMitBildern(d, {});

    // one line per drawn picture: page num type width height color comp bpc enc interp object ...
    QStringList gezeichnet;
    std::set<QString> objekte;
    const QStringList zeilen = Ausgabe("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
    for (const QString& z : zeilen) {
        const QStringList f = z.simplified().split(' ');
        gezeichnet << f[3] + "x" + f[4] + " " + f[8];
        objekte.insert(f[10]);
    }
    // the place is 60 x 5 mm, 1417 x 118 pixels at the writer's 600 dpi; the photo keeps its
    // proportions within it, the small picture its stored size and its lossless encoding
    EXPECT_EQ(gezeichnet, QStringList({"40x40 image", "40x40 image", "236x118 jpeg"}));
    EXPECT_EQ(objekte.size(), 2u);
}

namespace {

// A page with every kind of element: aligned, wrapped and clipped text in three styles, lines,
// frames, a picture and one that cannot be read.
TSeite Probeseite(const QByteArray& bild)
{
    TSeite s;
    s.nr = s.von = 1;
    s.groesse = QSizeF(210, 148);
    const auto text = [&](QRectF r, const QString& t, Qt::Alignment a, double groesse = 8, bool fett = false, bool kursiv = false,
                          bool umbrechen = false) {
        TPlanElement e;
        e.rect = r;
        e.text = t;
        e.stil.ausrichtung = a;
        e.stil.groesse = groesse;
        e.stil.fett = fett;
        e.stil.kursiv = kursiv;
        e.umbrechen = umbrechen;
        s.elemente.push_back(e);
    };
    text({10, 10, 190, 8}, "Inventurliste Größen Übersicht", Qt::AlignHCenter, 14, true);
    text({10, 25, 60, 5}, "links: Gürtel schwarz 17", Qt::AlignLeft);
    text({80, 25, 50, 5}, "1.234,50", Qt::AlignRight, 8, true);
    text({140, 25, 60, 5}, "Soll Typ 01", Qt::AlignHCenter, 8, false, true);
    text({10, 35, 40, 30}, "Ein langer Text, der in seinem Rahmen auf mehrere Zeilen umbrochen wird, oben beginnend.",
         Qt::AlignLeft, 8, false, false, true);
    text({60, 35, 12, 5}, "abgeschnittener Text über den Rand", Qt::AlignLeft, 10);
    // kerned pairs, breaks after hyphens and slashes, a script written from the right
    text({10, 115, 24, 25}, "WAVE Tor AVAV Tee Yacht Lieferant/Artikel/Größe Inventur-Differenz-Auswertung", Qt::AlignLeft, 8, false,
         false, true);
    text({60, 115, 60, 5}, "Hebräisch: שלום, Arabisch: مرحبا", Qt::AlignRight);
    TPlanElement linie;
    linie.art = TElement::Linie;
    linie.rect = QRectF(10, 70, 190, 0);
    linie.staerke = 0.5;
    s.elemente.push_back(linie);
    TPlanElement rahmen;
    rahmen.art = TElement::Rahmen;
    rahmen.rect = QRectF(80, 80, 50, 20);
    rahmen.staerke = 0.3;
    rahmen.fuellung = QColor(200, 200, 255);
    s.elemente.push_back(rahmen);
    for (const auto& [x, daten] : {std::pair{140.0, bild}, std::pair{170.0, QByteArray("kein Bild")}}) {
        TPlanElement b;
        b.art = TElement::Bild;
        b.rect = QRectF(x, 80, 25, 30);
        b.bild = daten;
        b.text = "X";
        s.elemente.push_back(b);
    }
    return s;
}

// The ink of an image in cells of 2 mm at 150 dpi, 0 white to 255 black.
std::vector<int> Tinte(const QImage& bild)
{
    const QImage grau = bild.convertToFormat(QImage::Format_Grayscale8);
    constexpr int zelle = 12;
    std::vector<int> t;
    for (int y = 0; y + zelle <= grau.height(); y += zelle)
        for (int x = 0; x + zelle <= grau.width(); x += zelle) {
            int summe = 0;
            for (int j = 0; j < zelle; ++j)
                for (int i = 0; i < zelle; ++i)
                    summe += 255 - grau.constScanLine(y + j)[x + i];
            t.push_back(summe / (zelle * zelle));
        }
    return t;
}

}

TEST(ExportTest, PdfPageLooksLikeThePaintedPageAndEmbedsFontSubsets)
{
    TBerichtDaten d;
    QImage foto(60, 80, QImage::Format_ARGB32);
    foto.fill(QColor(0, 128, 0, 255));
    QByteArray png;
    {
        QBuffer puffer(&png);
        puffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(foto.save(&puffer, "PNG"));
    }
    const TSeite seite = Probeseite(png);
    QFile f(d.Pfad("probe.pdf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    {
        TBildSpeicher bilder;
        TPdfDokument pdf(f, "Probe");
        pdf.SeiteHinzufuegen(seite, bilder);
        pdf.Abschliessen();
    }
    f.close();

    QImage gemalt(QSizeF(seite.groesse * 150 / 25.4).toSize(), QImage::Format_RGB32);
    gemalt.fill(Qt::white);
    gemalt.setDotsPerMeterX(5906);
    gemalt.setDotsPerMeterY(5906);
    {
        QPainter p(&gemalt);
        TBildSpeicher bilder;
        SeiteZeichnen(p, seite, 150 / 25.4, bilder);
    }
    QProcess render;
    render.start("pdftoppm", {"-r", "150", "-gray", "-png", "-singlefile", f.fileName(), d.Pfad("probe")});
    ASSERT_TRUE(render.waitForFinished(30000));
    EXPECT_EQ(render.readAllStandardError(), QByteArray());   // no complaint about the file
    const QImage gelesen(d.Pfad("probe.png"));
    ASSERT_FALSE(gelesen.isNull());

    // the same ink in every cell of 2 mm, up to the rendering of glyph edges
    const std::vector<int> soll = Tinte(gemalt), ist = Tinte(gelesen);
    ASSERT_EQ(soll.size(), ist.size());
    int abweichend = 0;
    for (size_t i = 0; i < soll.size(); ++i)
        abweichend += std::abs(soll[i] - ist[i]) > 40;
    EXPECT_LE(abweichend, 5) << "of " << soll.size() << " cells";

    const QString schriften = Ausgabe("pdffonts", {f.fileName()});
    // every face embedded as a subset: regular, bold, and an italic one where the machine has it
    // (else the regular one slanted)
    const qsizetype faces = schriften.split('\n', Qt::SkipEmptyParts).size() - 2;
    EXPECT_GE(faces, 2);
    EXPECT_EQ(schriften.count(QRegularExpression("CID TrueType +Identity-H +yes yes yes")), faces) << qPrintable(schriften);
    const QString text = Ausgabe("pdftotext", {f.fileName(), "-"});
    for (const char* t : {"Inventurliste Größen Übersicht", "1.234,50", "Soll Typ 01", "Bild nicht lesbar: X", "umbrochen"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(t))) << t << "\n" << qPrintable(text);
}

TEST(ExportTest, CsvOpensInAGermanSpreadsheet)
{
    TBerichtDaten d;
    TReportLauf lauf(VorlageLesen(d.Vorlage(CListe)), d.Tabellen(), {});
    const QString csv = d.Pfad("liste.csv");
    ReportExportieren(lauf, csv, TExportFormat::Csv);
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), std::string("\xEF\xBB\xBF"
                                      "Gruppe; Teil;Nummer;Wert;Datum\r\n"
                                      "A;1;10,50;01.03.2026\r\n"
                                      "A;2;20,25;02.03.2026\r\n"
                                      "B;3;2,68;03.03.2026\r\n"
                                      "B;4;-4,00;\r\n"
                                      "C;5;1234,50;05.03.2026\r\n"));
}

TEST(ExportTest, XlsxHasNumericCellsAndGermanHeaders)
{
    TBerichtDaten d;
    TReportLauf lauf(VorlageLesen(d.Vorlage(CListe)), d.Tabellen(), {});
    const QString xlsx = d.Pfad("liste.xlsx");
    ReportExportieren(lauf, xlsx, TExportFormat::Xlsx);
    const QString blatt = Ausgabe("unzip", {"-p", xlsx, "xl/worksheets/sheet1.xml"});
    EXPECT_TRUE(blatt.contains("Gruppe; Teil")) << qPrintable(blatt);
    EXPECT_TRUE(blatt.contains("<c r=\"C2\" s=\"2\"><v>10.5</v></c>")) << qPrintable(blatt);
    EXPECT_TRUE(blatt.contains("<c r=\"B6\"><v>5</v></c>")) << qPrintable(blatt);
    EXPECT_FALSE(QFile::exists(xlsx + ".tmp"));
}

TEST(ExportTest, AnUnwritablePathFailsAndLeavesNoFile)
{
    TBerichtDaten d;
    TReportLauf lauf(VorlageLesen(d.Vorlage(CListe)), d.Tabellen(), {});
    for (const char* datei : {"/proc/kalmet/liste.pdf", "/proc/kalmet/liste.csv", "/proc/kalmet/liste.xlsx"})
        EXPECT_THROW(ReportExportieren(lauf, datei, ExportFormatAusDatei(datei)), EORVFehler) << datei;
    EXPECT_THROW(ExportFormatAusDatei("liste.txt"), EORVFehler);
    // what stands at the target and is no regular file of its own stays as it is: a pipe, a
    // link (even one to nothing), a database and its log
    const QString pipe = d.Pfad("pipe.pdf"), verweis = d.Pfad("verweis.pdf"), db = d.Pfad("kalmet.db");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(d.Pfad("nichtda.pdf"), verweis));
    {
        QFile f(db);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("SQLite format 3", 16) + QByteArray(100, 'x'));
    }
    QFile(db + "-wal").open(QIODevice::WriteOnly);
    for (const QString& ziel : {pipe, verweis, db, db + "-wal"})
        EXPECT_THROW(ReportExportieren(lauf, ziel, TExportFormat::Pdf), EORVFehler) << qPrintable(ziel);
    EXPECT_TRUE(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
    EXPECT_TRUE(QFileInfo(verweis).isSymLink());
    EXPECT_EQ(QFileInfo(db).size(), 116);
    // a cancelled export leaves the earlier file as it was
    const QString csv = d.Pfad("liste.csv");
    ReportExportieren(lauf, csv, TExportFormat::Csv);
    const qint64 groesse = QFileInfo(csv).size();
    EXPECT_THROW(ReportExportieren(lauf, csv, TExportFormat::Csv, [](qint64, qint64) { return false; }), EORVFehler);
    EXPECT_EQ(QFileInfo(csv).size(), groesse);
    // so does a PDF cancelled while later pages are still being built
    TReportLauf lang(VorlageLesen(d.Vorlage(R"(<detail hoehe="120"><feld x="0" y="0" b="30" h="5" ausdruck="H.Gruppe"/></detail>)")),
                     d.Tabellen(), {});
    const QString pdf = d.Pfad("lang.pdf");
    EXPECT_THROW(ReportExportieren(lang, pdf, TExportFormat::Pdf, [](qint64 seite, qint64) { return seite < 2; }), EORVFehler);
    EXPECT_FALSE(QFileInfo::exists(pdf));
    ReportExportieren(lang, pdf, TExportFormat::Pdf);
    EXPECT_TRUE(Ausgabe("pdfinfo", {pdf}).contains(QRegularExpression("Pages: +3\\n")));   // two rows a page
}
