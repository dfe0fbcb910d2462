#include "framework/report/export.h"

#include "framework/core/fehler.h"
#include "framework/report/bildspeicher.h"
#include "framework/report/lauf.h"
#include "framework/report/pdfdokument.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QSaveFile>

#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

[[noreturn]] void ExportFehler(const QString& pfad, const QString& was)
{
    FehlerRaise(QStringLiteral("ReportExportieren"), {QStringLiteral("%1 kann nicht geschrieben werden: %2").arg(pfad, was)});
}

// Whether the regular file at pfad holds a SQLite database.
bool SqliteDatei(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3", 16);
}

void Melden(const TExportFortschritt& f, qint64 erledigt, qint64 gesamt, const QString& pfad)
{
    if (f && !f(erledigt, gesamt))
        ExportFehler(pfad, QStringLiteral("abgebrochen"));
}

// A cell of CSV text: numbers with decimal comma and no thousands separator, the rest as
// shown in the list, quoted when it holds a separator, quote or line break.
QString CsvZelle(const TWert& w, const TFormat& f)
{
    static const QLocale deutsch = [] {
        QLocale l(QLocale::German, QLocale::Germany);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    QString t;
    const int stellen = f.art == TFormat::Zahl ? f.nachkomma : 2;
    if (w.art == TWert::Zahl && f.art != TFormat::Text)
        t = w.ganz || f.art == TFormat::Ganz ? QString::number(std::llround(w.zahl))
                                              : deutsch.toString(Gerundet(w.zahl, stellen), 'f', stellen);
    else
        t = Formatieren(w, f);
    if (t.contains(QLatin1Char(';')) || t.contains(QLatin1Char('"')) || t.contains(QLatin1Char('\n')))
        t = QLatin1Char('"') + QString(t).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    return t;
}

void CsvSchreiben(TReportLauf& lauf, const QString& pfad, const TExportFortschritt& fortschritt)
{
    QSaveFile f(pfad);
    if (!f.open(QIODevice::WriteOnly))
        ExportFehler(pfad, f.errorString());
    QByteArray zeile("\xEF\xBB\xBF");
    QStringList titel;
    for (int s = 0; s < lauf.ExportSpalten(); ++s)
        titel << lauf.ExportTitel(s);
    zeile += titel.join(QLatin1Char(';')).toUtf8() + "\r\n";
    f.write(zeile);
    for (uint32_t z = 0; z < lauf.Zeilen(); ++z) {
        QStringList zellen;
        for (int s = 0; s < lauf.ExportSpalten(); ++s)
            zellen << CsvZelle(lauf.ExportWert(z, s), lauf.ExportFormat(s));
        f.write(zellen.join(QLatin1Char(';')).toUtf8() + "\r\n");
        if (z % 1000 == 0)
            Melden(fortschritt, z, lauf.Zeilen(), pfad);
    }
    if (!f.commit())
        ExportFehler(pfad, f.errorString());
}

void XlsxSchreiben(TReportLauf& lauf, const QString& pfad, const TExportFortschritt& fortschritt)
{
    // the library writes to a file name: a temporary one beside the target, renamed at the end
    const QString temp = pfad + QStringLiteral(".%1.tmp").arg(QCoreApplication::applicationPid());
    lxw_workbook_options optionen{};
    optionen.constant_memory = LXW_TRUE;   // rows go to disk as they are written
    lxw_workbook* mappe = workbook_new_opt(QFile::encodeName(temp).constData(), &optionen);
    if (!mappe)
        ExportFehler(pfad, QStringLiteral("Arbeitsmappe nicht angelegt"));
    lxw_worksheet* blatt = workbook_add_worksheet(mappe, "Liste");
    lxw_format* fett = workbook_add_format(mappe);
    format_set_bold(fett);
    lxw_format* betrag = workbook_add_format(mappe);
    format_set_num_format(betrag, "#,##0.00");
    lxw_format* datum = workbook_add_format(mappe);
    format_set_num_format(datum, "dd.mm.yyyy");
    for (int s = 0; s < lauf.ExportSpalten(); ++s)
        worksheet_write_string(blatt, 0, static_cast<lxw_col_t>(s), lauf.ExportTitel(s).toUtf8().constData(), fett);
    bool abgebrochen = false;
    for (uint32_t z = 0; z < lauf.Zeilen() && !abgebrochen; ++z) {
        const lxw_row_t r = z + 1;
        for (int s = 0; s < lauf.ExportSpalten(); ++s) {
            const TWert w = lauf.ExportWert(z, s);
            const TFormat f = lauf.ExportFormat(s);
            const auto c = static_cast<lxw_col_t>(s);
            if (w.art == TWert::Zahl && f.art != TFormat::Text) {
                worksheet_write_number(blatt, r, c, w.zahl, w.ganz || f.art == TFormat::Ganz ? nullptr : betrag);
            } else if (w.art == TWert::Datum) {
                lxw_datetime d{w.datum.year(), w.datum.month(), w.datum.day(), 0, 0, 0};
                worksheet_write_datetime(blatt, r, c, &d, datum);
            } else if (w.art != TWert::Leer) {
                worksheet_write_string(blatt, r, c, Formatieren(w, f).toUtf8().constData(), nullptr);
            }
        }
        if (z % 1000 == 0 && fortschritt && !fortschritt(z, lauf.Zeilen()))
            abgebrochen = true;
    }
    const lxw_error fehler = workbook_close(mappe);
    if (abgebrochen || fehler != LXW_NO_ERROR) {
        QFile::remove(temp);
        ExportFehler(pfad, abgebrochen ? QStringLiteral("abgebrochen") : QString::fromUtf8(lxw_strerror(fehler)));
    }
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(pfad).constData()) != 0) {
        QFile::remove(temp);
        ExportFehler(pfad, QString::fromLocal8Bit(std::strerror(errno)));
    }
}

void PdfSchreiben(TReportLauf& lauf, const QString& pfad, const TExportFortschritt& fortschritt)
{
    QSaveFile f(pfad);
    if (!f.open(QIODevice::WriteOnly))
        ExportFehler(pfad, f.errorString());
    const int seiten = lauf.Seitenanzahl();
    TPdfDokument pdf(f, lauf.Vorlage().datei.isEmpty() ? QString() : QFileInfo(lauf.Vorlage().datei).baseName());
    TBildSpeicher bilder;
    for (int s = 1; s <= seiten && pdf.Schreibfehler().isEmpty(); ++s) {
        pdf.SeiteHinzufuegen(lauf.Seite(s), bilder);
        Melden(fortschritt, s, seiten, pfad);
    }
    pdf.Abschliessen();
    if (!pdf.Schreibfehler().isEmpty())
        ExportFehler(pfad, pdf.Schreibfehler());
    if (!f.commit())
        ExportFehler(pfad, f.errorString());
}
}

void SeitenDrucken(TReportLauf& lauf, QPagedPaintDevice& geraet, int von, int bis, const TExportFortschritt& fortschritt)
{
    const TVorlage& v = lauf.Vorlage();
    geraet.setPageLayout(QPageLayout(QPageSize(v.papier), v.ausrichtung, QMarginsF(0, 0, 0, 0)));
    QPainter p;
    if (!p.begin(&geraet))
        FehlerRaise(QStringLiteral("SeitenDrucken"), {QStringLiteral("Der Drucker kann nicht beginnen.")});
    const double pxProMm = geraet.logicalDpiX() / 25.4;
    TBildSpeicher bilder;
    for (int s = von; s <= bis; ++s) {
        if (s > von)
            geraet.newPage();
        SeiteZeichnen(p, lauf.Seite(s), pxProMm, bilder);
        if (fortschritt && !fortschritt(s - von + 1, bis - von + 1)) {
            p.end();
            FehlerRaise(QStringLiteral("SeitenDrucken"), {QStringLiteral("Der Druck wurde abgebrochen.")});
        }
    }
    p.end();
}

void ExportZielPruefen(const QString& pfad)
{
    const QFileInfo ziel(pfad);
    if (ziel.isSymLink())
        ExportFehler(pfad, QStringLiteral("dort steht ein Verweis"));
    if (!ziel.exists())
        return;
    if (!ziel.isFile())
        ExportFehler(pfad, QStringLiteral("dort steht keine gewöhnliche Datei"));
    bool datenbank = SqliteDatei(pfad);
    for (const QLatin1String endung : {QLatin1String("-wal"), QLatin1String("-shm"), QLatin1String("-journal")})
        datenbank = datenbank || (pfad.endsWith(endung) && SqliteDatei(pfad.chopped(endung.size())));
    if (datenbank)
        ExportFehler(pfad, QStringLiteral("dort steht eine Datenbank"));
}

TExportFormat ExportFormatAusDatei(const QString& pfad)
{
    const QString endung = QFileInfo(pfad).suffix().toLower();
    if (endung == QLatin1String("pdf"))
        return TExportFormat::Pdf;
    if (endung == QLatin1String("csv"))
        return TExportFormat::Csv;
    if (endung == QLatin1String("xlsx"))
        return TExportFormat::Xlsx;
    FehlerRaise(QStringLiteral("ExportFormatAusDatei"), {QStringLiteral("%1: nur .pdf, .csv und .xlsx").arg(pfad)});
}

void ReportExportieren(TReportLauf& lauf, const QString& pfad, TExportFormat format, const TExportFortschritt& fortschritt)
{
    ExportZielPruefen(pfad);
    switch (format) {
    case TExportFormat::Pdf:
        PdfSchreiben(lauf, pfad, fortschritt);
        break;
    case TExportFormat::Csv:
        CsvSchreiben(lauf, pfad, fortschritt);
        break;
    case TExportFormat::Xlsx:
        XlsxSchreiben(lauf, pfad, fortschritt);
        break;
    }
}
