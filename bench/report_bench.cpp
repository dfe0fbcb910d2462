// The report on a generated INVL table: the inventory list (kalme003) with the articles'
// pictures written as PDF, against drawing the same texts, lines, frames and pictures straight
// onto a PDF writer; and peak memory from 1,000 to 100,000 lines. Prints its figures and ends
// with one line "ratio N.NN".
//   report_bench [--lines N]           time and bytes per page of one size (default 10,000);
//                                      ratio: ours / direct
//   report_bench --case speicher       peak memory at 1,000 and 100,000 lines; ratio: 100,000 / 1,000
//   report_bench --case fenster [--lines N]   longest pause of the viewer's event loop; ratio: / 250 ms
#include "bench/benchdb.h"
#include "framework/dbf/invlfile.h"
#include "framework/dbf/invrfile.h"
#include "framework/report/export.h"
#include "framework/report/lauf.h"
#include "framework/report/viewer.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTimer>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// n lines of 40 articles per product group and five branches, sizes 1 to 14, quantities and
// values as a count gives them.
QString TabelleErzeugen(const QString& ordner, int n)
{
    const QString pfad = ordner + "/invl.dbf";
    Tinvlfile datei;
    auto tabelle = datei.DBF_Create_Table_Empty(pfad);
    QRandomGenerator zufall(42);
    for (int i = 0; i < n; ++i) {
        TinvlSatz& s = datei.Satz();
        s = TinvlSatz{};
        s.LfdNr = i + 1;
        s.WiJahr = 46054;
        s.ZaehlDatum = 46157;
        s.Produkt_ID = {1, i / 5 + 1, 0};
        s.Filiale = i % 5 + 1;
        s.FilKZ = 'F';
        s.WGN = QString("KI%1").arg(1000 + i / 200);
        s.ArtNr = QString("%1-%2").arg(s.WGN).arg(i / 5, 5, 10, QChar('0'));
        s.Bezeichnung = QString("Schuh Modell %1").arg(i / 5);
        s.LiefNr = 70000 + i % 9;
        s.LiefArtNr = QString("L%1").arg(i);
        s.EK = 30 + zufall.bounded(5000) / 100.0;
        s.VK = s.EK * 2.2;
        s.GrVon = 1;
        s.GrBis = 14;
        for (int j = 0; j < 14; ++j) {
            TinvlMengen& m = s.Mengen[j];
            m.Soll = zufall.bounded(6);
            m.Ist = m.Soll + (zufall.bounded(10) == 0 ? zufall.bounded(3) - 1 : 0);
            m.Diff = m.Ist - m.Soll;
            m.Typ01 = m.Soll;
            s.Sum_Soll += m.Soll;
            s.Sum_Ist += m.Ist;
            s.Sum_Diff += m.Diff;
            s.Sum_Typ01 += m.Typ01;
        }
        s.Soll_EKWert = s.Sum_Soll * s.EK;
        s.Ist_EKWert = s.Sum_Ist * s.EK;
        s.Diff_EKWert = s.Ist_EKWert - s.Soll_EKWert;
        s.Soll_VKWert = s.Sum_Soll * s.VK;
        s.Ist_VKWert = s.Sum_Ist * s.VK;
        s.Diff_VKWert = s.Ist_VKWert - s.Soll_VKWert;
        s.Soll_EKWert_Abgew = s.Soll_EKWert;
        s.Ist_EKWert_Abgew = s.Ist_EKWert;
        s.Diff_EKWert_Abgew = s.Diff_EKWert;
        datei.DBF_InsertSatz(*tabelle);
    }
    tabelle->Schliessen();
    return pfad;
}

// The stored picture of an article ("1.2.3"): 48 x 48 pixels in one of 360 hues, a few hundred
// bytes of PNG as the article master holds them.
QByteArray ArtikelBild(const QString& produktId)
{
    static QHash<int, QByteArray> bilder;
    const int farbe = produktId.section('.', 1, 1).toInt() * 37 % 360;
    QByteArray& png = bilder[farbe];
    if (png.isEmpty()) {
        QImage bild(48, 48, QImage::Format_RGB32);
        bild.fill(Qt::white);
        QPainter p(&bild);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromHsv(farbe, 160, 200));
        p.drawEllipse(8, 8, 32, 32);
        p.end();
        QBuffer puffer(&png);
        puffer.open(QIODevice::WriteOnly);
        bild.save(&puffer, "PNG");
    }
    return png;
}

QHash<QString, QByteArray> ArtikelBilder(const QStringList& produktIds)
{
    QHash<QString, QByteArray> bilder;
    for (const QString& id : produktIds)
        bilder.insert(id, ArtikelBild(id));
    return bilder;
}

std::unique_ptr<TReportLauf> Lauf(const QString& invl, const QString& invr)
{
    TReportEinstellungen e;
    e.titel = "Inventuren - Inventurliste je Filiale und Artikel mit Größen";
    e.parameter["Param_TextMandant"] = "Schuhhaus Nord GmbH";
    e.parameter["Param_FilNr"] = "0";
    e.druckdatum = QDate(2026, 12, 9);
    e.bilder["Bild1"] = {"INVL", "Produkt_ID"};
    e.bilderLaden = ArtikelBilder;
    return std::make_unique<TReportLauf>(VorlageLesen(KALMET_SOURCE_DIR "/reports/kalme003.rpt"),
                                         std::map<QString, QString>{{"INVL", invl}, {"INVR", invr}}, e);
}

int Speicher()
{
    std::vector<long> kb;
    for (int n : {1000, 100000}) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QCoreApplication::applicationFilePath(), {"--lines", QString::number(n), "--nur-bericht"});
        p.waitForFinished(-1);
        const QRegularExpressionMatch m = QRegularExpression("Spitzenspeicher (\\d+) kB").match(QString::fromUtf8(p.readAllStandardOutput()));
        kb.push_back(m.hasMatch() ? m.captured(1).toLong() : 0);
        std::printf("%6d Zeilen: Spitzenspeicher %ld kB\n", n, kb.back());
        std::fflush(stdout);
    }
    std::printf("ratio %.2f\n", kb.front() ? double(kb.back()) / kb.front() : 0.0);
    return 0;
}

// The viewer on the list: the longest pause of the event loop from the start of the report
// (template, tables and sorting) until every page is counted and the first pages are painted.
int Fenster(const QString& invl, const QString& invr, int n)
{
    QElapsedTimer uhr, gesamt;
    qint64 laengste = 0;
    QTimer takt;
    QObject::connect(&takt, &QTimer::timeout, [&] {
        laengste = std::max(laengste, uhr.restart());
    });
    takt.start(10);
    uhr.start();
    gesamt.start();
    QCoreApplication::processEvents();
    QElapsedTimer bau;
    bau.start();
    auto lauf = Lauf(invl, invr);
    std::printf("Vorlage, Tabellen und Sortierung: %lld ms\n", bau.elapsed());
    TReportViewer viewer(*lauf, {"Inventurauswertung", {}, false, true});
    viewer.show();
    while (viewer.Seitenanzahl() == 0 || gesamt.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("%d Zeilen, %d Seiten, gezählt nach %.2f s\n", n, viewer.Seitenanzahl(), gesamt.elapsed() / 1000.0);
    std::printf("längste Pause der Ereignisschleife: %lld ms\n", laengste);
    std::printf("ratio %.2f\n", laengste / 250.0);
    return 0;
}

}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.contains("--case") && args.value(args.indexOf("--case") + 1) == "speicher")
        return Speicher();
    const int n = args.contains("--lines") ? args.value(args.indexOf("--lines") + 1).toInt() : 10000;
    QTemporaryDir ordner;
    const QString invl = TabelleErzeugen(ordner.path(), n);
    Tinvrfile r;
    r.DBF_Create_Table_Empty(ordner.filePath("invr.dbf"))->Schliessen();
    const QString invr = ordner.filePath("invr.dbf");

    if (args.contains("--case") && args.value(args.indexOf("--case") + 1) == "fenster")
        return Fenster(invl, invr, n);
    if (args.contains("--nur-bericht")) {
        ReportExportieren(*Lauf(invl, invr), ordner.filePath("liste.pdf"), TExportFormat::Pdf);
        std::printf("Spitzenspeicher %ld kB\n", Spitzenspeicher());
        return 0;
    }

    // the direct drawing: the same pages, laid out beforehand, painted element by element
    std::vector<TSeite> seiten;
    {
        auto lauf = Lauf(invl, invr);
        for (int s = 1; s <= lauf->Seitenanzahl(); ++s)
            seiten.push_back(lauf->Seite(s));
    }
    QElapsedTimer uhr;
    uhr.start();
    {
        QHash<QByteArray, QImage> bilder;   // each picture decoded once, so the writer embeds it once
        QPdfWriter pdf(ordner.filePath("direkt.pdf"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        pdf.setResolution(600);
        QPainter p(&pdf);
        const double f = pdf.logicalDpiX() / 25.4;
        for (size_t s = 0; s < seiten.size(); ++s) {
            if (s > 0)
                pdf.newPage();
            for (const TPlanElement& e : seiten[s].elemente) {
                const QRectF r(e.rect.x() * f, e.rect.y() * f, e.rect.width() * f, e.rect.height() * f);
                if (e.art == TElement::Text) {
                    QFont schrift(e.stil.schrift);
                    schrift.setPointSizeF(e.stil.groesse);
                    schrift.setBold(e.stil.fett);
                    schrift.setItalic(e.stil.kursiv);
                    p.setFont(schrift);
                    p.drawText(r, int(e.stil.ausrichtung) | Qt::AlignVCenter, e.text);
                } else if (e.art == TElement::Linie) {
                    p.drawLine(r.topLeft(), r.bottomRight());
                } else if (e.art == TElement::Bild) {
                    QImage& bild = bilder[e.bild];
                    if (bild.isNull())
                        bild = QImage::fromData(e.bild);
                    p.drawImage(QRectF(r.topLeft(), QSizeF(bild.size()).scaled(r.size(), Qt::KeepAspectRatio)), bild);
                } else {
                    p.drawRect(r);
                }
            }
        }
    }
    const double direkt = uhr.elapsed() / 1000.0;
    uhr.restart();
    auto lauf = Lauf(invl, invr);
    ReportExportieren(*lauf, ordner.filePath("liste.pdf"), TExportFormat::Pdf);
    const double bericht = uhr.elapsed() / 1000.0;
    const int anzahl = lauf->Seitenanzahl();
    const auto jeSeite = [&](const char* datei) { return QFileInfo(ordner.filePath(datei)).size() / anzahl; };
    std::printf("%d Zeilen, %d Seiten\n", n, anzahl);
    std::printf("direkt gezeichnet:       %.2f s, %lld Bytes je Seite\n", direkt, jeSeite("direkt.pdf"));
    std::printf("Bericht (Zählen, Umbruch, Zeichnen): %.2f s, %lld Bytes je Seite\n", bericht, jeSeite("liste.pdf"));
    std::printf("ratio %.2f\n", bericht / direkt);
    return 0;
}
