#include "framework/report/viewer.h"

#include "framework/app/einstellungen.h"
#include "framework/app/interaktion.h"
#include "framework/core/fehler.h"
#include "framework/report/export.h"
#include "framework/report/lauf.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

constexpr int CAbstand = 12;   // pixels between pages
constexpr size_t CBilderImSpeicher = 12;
const double CZoomStufen[] = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0};

const QString CZoomSchluessel = QStringLiteral("Berichtsansicht/Zoom");

// "Nächste Seite (Bild ab)": the tooltip names the keys.
template <class T>
void Tipp(T* ziel, const QString& text, const QList<QKeySequence>& tasten)
{
    ziel->setToolTip(tasten.isEmpty() ? text
                                      : QStringLiteral("%1 (%2)").arg(text, tasten.front().toString(QKeySequence::NativeText)));
}

void FehlerZeigen(QWidget* w, const EORVFehler& e)
{
    ORVInteraktion().Meldung(maFehler, w->windowTitle(), e.Texts().join(QLatin1Char('\n')), w);
}

}

// The pages one below the other; only those in sight are painted.
class TSeitenFlaeche : public QWidget {
public:
    explicit TSeitenFlaeche(TReportViewer& v) : QWidget(nullptr), FViewer(v) {}

    QSizeF SeitePx() const
    {
        const QSizeF mm = FViewer.FLauf.Vorlage().SeitenGroesse();
        return mm * FViewer.PxProMm();
    }

    int SeitenOben(int nr) const { return CAbstand + (nr - 1) * (static_cast<int>(SeitePx().height()) + CAbstand); }

    int SeiteBei(int y) const
    {
        const int hoehe = static_cast<int>(SeitePx().height()) + CAbstand;
        return std::clamp(y / std::max(hoehe, 1) + 1, 1, std::max(FViewer.Seitenanzahl(), 1));
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        p.fillRect(e->rect(), QColor(0x80, 0x80, 0x80));
        const int n = FViewer.Seitenanzahl();
        if (n == 0)
            return;
        const QSizeF g = SeitePx();
        const int links = std::max(CAbstand, (width() - static_cast<int>(g.width())) / 2);
        for (int nr = SeiteBei(e->rect().top()); nr <= n && SeitenOben(nr) <= e->rect().bottom(); ++nr) {
            const QRect r(links, SeitenOben(nr), static_cast<int>(g.width()), static_cast<int>(g.height()));
            p.fillRect(r, Qt::white);
            if (const QImage* bild = FViewer.Bild(nr))
                p.drawImage(r.topLeft(), *bild);
            else
                p.drawText(r, Qt::AlignCenter, QStringLiteral("Seite %1 wird aufbereitet …").arg(nr));
            if (nr == FViewer.FTrefferSeite) {
                const double f = FViewer.PxProMm();
                for (const QRectF& t : FViewer.FTreffer)
                    p.fillRect(QRectF(r.left() + t.x() * f, r.top() + t.y() * f, t.width() * f, t.height() * f), QColor(255, 230, 0, 110));
            }
        }
    }

private:
    TReportViewer& FViewer;
};

TReportViewer::TReportViewer(TReportLauf& lauf, TViewerOptionen optionen, QWidget* eltern)
    : QDialog(eltern), FLauf(lauf), FOptionen(std::move(optionen))
{
    setWindowTitle(FOptionen.caption);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(1000, 750);
    auto* leiste = new QToolBar(this);
    // a toolbar button with its keys, which its tooltip names
    const auto knopf = [&](const QString& text, const QString& tipp, const QList<QKeySequence>& tasten, auto slot) {
        QAction* a = leiste->addAction(text);
        a->setShortcuts(tasten);
        Tipp(a, tipp, tasten);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    knopf(QStringLiteral("|<"), QStringLiteral("Erste Seite"), {QKeySequence(Qt::Key_Home)}, [this] { ZuSeite(1); });
    knopf(QStringLiteral("<"), QStringLiteral("Vorige Seite"), {QKeySequence(Qt::Key_PageUp)},
          [this] { ZuSeite(AktuelleSeite() - 1); });
    FSeite = new QSpinBox(leiste);
    FSeite->setRange(1, 1);
    leiste->addWidget(FSeite);
    connect(FSeite, &QSpinBox::editingFinished, this, [this] { ZuSeite(FSeite->value()); });
    FVon = new QLabel(leiste);
    leiste->addWidget(FVon);
    knopf(QStringLiteral(">"), QStringLiteral("Nächste Seite"), {QKeySequence(Qt::Key_PageDown)},
          [this] { ZuSeite(AktuelleSeite() + 1); });
    knopf(QStringLiteral(">|"), QStringLiteral("Letzte Seite"), {QKeySequence(Qt::Key_End)}, [this] { ZuSeite(Seitenanzahl()); });
    leiste->addSeparator();
    FZoom = new QComboBox(leiste);
    FZoom->addItems({QStringLiteral("Seitenbreite"), QStringLiteral("Ganze Seite")});
    for (double z : CZoomStufen)
        FZoom->addItem(QStringLiteral("%1 %").arg(qRound(z * 100)));
    // the zoom of the user's last list
    FZoom->setCurrentIndex(std::clamp(BenutzerEinstellungen()->value(CZoomSchluessel).toInt(), 0, FZoom->count() - 1));
    leiste->addWidget(FZoom);
    connect(FZoom, &QComboBox::currentIndexChanged, this, [this](int index) {
        BenutzerEinstellungen()->setValue(CZoomSchluessel, index);
        Anordnen();
    });
    const QList<QKeySequence> groesser{QKeySequence(Qt::CTRL | Qt::Key_Plus)};
    const QList<QKeySequence> kleiner{QKeySequence(Qt::CTRL | Qt::Key_Minus)};
    FZoom->setToolTip(QStringLiteral("Zoom: größer (%1), kleiner (%2)")
                          .arg(groesser.front().toString(QKeySequence::NativeText), kleiner.front().toString(QKeySequence::NativeText)));
    // a key without a button of its own
    const auto taste = [this](const QList<QKeySequence>& tasten, auto slot) {
        auto* a = new QAction(this);
        a->setShortcuts(tasten);
        addAction(a);
        connect(a, &QAction::triggered, this, slot);
    };
    taste(groesser, [this] { ZoomStufe(1); });
    taste(kleiner, [this] { ZoomStufe(-1); });
    leiste->addSeparator();
    FSuche = new QLineEdit(leiste);
    FSuche->setPlaceholderText(QStringLiteral("Suchen"));
    FSuche->setMaximumWidth(200);
    leiste->addWidget(FSuche);
    const QList<QKeySequence> sucheTasten{QKeySequence(Qt::CTRL | Qt::Key_F)};
    Tipp(FSuche, QStringLiteral("Suchen"), sucheTasten);
    taste(sucheTasten, [this] {
        FSuche->setFocus(Qt::ShortcutFocusReason);
        FSuche->selectAll();
    });
    const auto suchen = [this] {
        if (FSuche->text().isEmpty())
            return;
        if (Suchen(FSuche->text()) == 0)
            FStatus->setText(QStringLiteral("„%1“ nicht gefunden").arg(FSuche->text()));
    };
    connect(FSuche, &QLineEdit::returnPressed, this, suchen);
    knopf(QStringLiteral("Weitersuchen"), QStringLiteral("Weitersuchen"), {QKeySequence(Qt::Key_F3)}, suchen);
    leiste->addSeparator();
    knopf(QStringLiteral("Drucken …"), QStringLiteral("Drucken"), {QKeySequence(Qt::CTRL | Qt::Key_P)}, [this] { Drucken(); });
    FExport = knopf(QStringLiteral("Exportieren …"), QStringLiteral("Als CSV oder XLSX exportieren"), {}, [this] { Exportieren(); });
    FExport->setVisible(FOptionen.exportAktiv);
    FKom = knopf(QStringLiteral("Kom"), QStringLiteral("Als PDF ablegen und den Ordner öffnen"), {}, [this] { Kom(); });
    FKom->setVisible(FOptionen.komAktiv);
    if (!FOptionen.komGrund.isEmpty()) {
        FKom->setEnabled(false);
        FKom->setToolTip(FOptionen.komGrund);
    }
    knopf(QStringLiteral("Schließen"), QStringLiteral("Schließen"), {QKeySequence(Qt::Key_Escape)}, [this] { reject(); });

    FSeiten = new TSeitenFlaeche(*this);
    FScroll = new QScrollArea(this);
    FScroll->setWidget(FSeiten);
    FScroll->setAlignment(Qt::AlignHCenter);
    connect(FScroll->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { StatusZeigen(); });
    FStatus = new QLabel(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(leiste);
    layout->addWidget(FScroll, 1);
    layout->addWidget(FStatus);

    // counting and painting go on in slices, so the window answers throughout
    FTakt = new QTimer(this);
    FTakt->setInterval(0);
    connect(FTakt, &QTimer::timeout, this, [this] {
        if (!FLauf.Gezaehlt())
            Weiterzaehlen();
        else
            Aufbereiten();
    });
    FTakt->start();
    StatusZeigen();
}

TReportViewer::~TReportViewer() = default;

double TReportViewer::PxProMm() const
{
    const QSizeF mm = FLauf.Vorlage().SeitenGroesse();
    const int index = FZoom ? FZoom->currentIndex() : 0;
    const double breite = (FScroll ? FScroll->viewport()->width() : 800) - 2 * CAbstand - 2;
    const double hoehe = (FScroll ? FScroll->viewport()->height() : 600) - 2 * CAbstand;
    if (index == 0)
        return std::max(breite / mm.width(), 0.5);
    if (index == 1)
        return std::max(std::min(breite / mm.width(), hoehe / mm.height()), 0.5);
    return CZoomStufen[index - 2] * logicalDpiX() / 25.4;
}

int TReportViewer::Seitenanzahl() const
{
    return FLauf.Gezaehlt() ? FLauf.Seitenanzahl() : 0;
}

int TReportViewer::AktuelleSeite() const
{
    if (Seitenanzahl() == 0)
        return 0;
    return FSeiten->SeiteBei(FScroll->verticalScrollBar()->value() + FScroll->viewport()->height() / 3);
}

void TReportViewer::ZuSeite(int nr)
{
    if (Seitenanzahl() == 0)
        return;
    nr = std::clamp(nr, 1, Seitenanzahl());
    FScroll->verticalScrollBar()->setValue(FSeiten->SeitenOben(nr) - CAbstand);
    StatusZeigen();
}

void TReportViewer::ZoomSetzen(int index)
{
    FZoom->setCurrentIndex(index);
}

void TReportViewer::ZoomStufe(int richtung)
{
    // the next percent step above or below the scale shown, also from a fitted one
    const double jetzt = PxProMm() / (logicalDpiX() / 25.4);
    const auto anfang = std::begin(CZoomStufen);
    const auto ende = std::end(CZoomStufen);
    if (richtung > 0) {
        const auto z = std::find_if(anfang, ende, [&](double stufe) { return stufe > jetzt + 0.001; });
        if (z != ende)
            ZoomSetzen(2 + static_cast<int>(z - anfang));
        return;
    }
    const auto z = std::find_if(std::make_reverse_iterator(ende), std::make_reverse_iterator(anfang),
                                [&](double stufe) { return stufe < jetzt - 0.001; });
    if (z.base() != anfang)
        ZoomSetzen(1 + static_cast<int>(z.base() - anfang));
}

void TReportViewer::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    Anordnen();
}

void TReportViewer::Weiterzaehlen()
{
    if (FLauf.Zaehlen(50))
        Anordnen();
    StatusZeigen();
}

void TReportViewer::Anordnen()
{
    if (!FLauf.Gezaehlt())
        return;
    const int seite = std::max(AktuelleSeite(), 1);
    const QSizeF g = FSeiten->SeitePx();
    FSeiten->resize(static_cast<int>(g.width()) + 2 * CAbstand, FSeiten->SeitenOben(Seitenanzahl() + 1));
    FSeite->setRange(1, Seitenanzahl());
    ZuSeite(seite);
    FSeiten->update();
}

const QImage* TReportViewer::Bild(int nr)
{
    const double zoom = PxProMm();
    if (zoom != FBildZoom) {
        FBilder.clear();
        FBildZoom = zoom;
    }
    for (auto it = FBilder.begin(); it != FBilder.end(); ++it)
        if (it->first == nr) {
            FBilder.splice(FBilder.begin(), FBilder, it);
            return &FBilder.front().second;
        }
    if (std::find(FWarteschlange.begin(), FWarteschlange.end(), nr) == FWarteschlange.end())
        FWarteschlange.push_back(nr);
    return nullptr;
}

// Paints the next page that was asked for; one page per tick.
void TReportViewer::Aufbereiten()
{
    if (FWarteschlange.empty()) {
        FTakt->setInterval(50);
        return;
    }
    FTakt->setInterval(0);
    const int nr = FWarteschlange.front();
    FWarteschlange.pop_front();
    const double f = PxProMm();
    const QSizeF g = FLauf.Vorlage().SeitenGroesse() * f;
    QImage bild(g.toSize(), QImage::Format_RGB32);
    bild.setDotsPerMeterX(qRound(f * 1000));
    bild.setDotsPerMeterY(qRound(f * 1000));
    bild.fill(Qt::white);
    try {
        QPainter p(&bild);
        SeiteZeichnen(p, FLauf.Seite(nr), f, FArtikelBilder);
    } catch (const EORVFehler& e) {
        FTakt->stop();
        FehlerZeigen(this, e);
        return;
    }
    FBilder.emplace_front(nr, std::move(bild));
    if (FBilder.size() > CBilderImSpeicher)
        FBilder.pop_back();
    FSeiten->update();
}

void TReportViewer::StatusZeigen()
{
    if (!FLauf.Gezaehlt()) {
        FStatus->setText(QStringLiteral("Seiten werden gezählt: %1").arg(FLauf.GezaehlteSeiten()));
        FVon->setText(QStringLiteral(" von … "));
        return;
    }
    FSeite->blockSignals(true);
    FSeite->setValue(AktuelleSeite());
    FSeite->blockSignals(false);
    FVon->setText(QStringLiteral(" von %1 ").arg(Seitenanzahl()));
    FStatus->setText(QStringLiteral("Seite %1 von %2").arg(AktuelleSeite()).arg(Seitenanzahl()));
}

int TReportViewer::Suchen(const QString& text)
{
    while (!FLauf.Gezaehlt())
        FLauf.Zaehlen(50);
    Anordnen();
    const int n = Seitenanzahl();
    const int start = text == FTrefferText && FTrefferSeite > 0 ? FTrefferSeite : AktuelleSeite() - 1;
    FTreffer.clear();
    FTrefferText = text;
    QElapsedTimer uhr;
    uhr.start();
    for (int i = 1; i <= n; ++i) {
        const int nr = (start + i - 1) % n + 1;
        const TSeite s = FLauf.Seite(nr);
        for (const TPlanElement& e : s.elemente)
            if ((e.art == TElement::Text || e.art == TElement::Feld) && e.text.contains(text, Qt::CaseInsensitive))
                FTreffer.push_back(e.rect);
        if (!FTreffer.empty()) {
            FTrefferSeite = nr;
            ZuSeite(nr);
            FSeiten->update();
            return nr;
        }
        if (uhr.elapsed() > 100) {
            FStatus->setText(QStringLiteral("Suche auf Seite %1 …").arg(nr));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            uhr.restart();
        }
    }
    FTrefferSeite = 0;
    FSeiten->update();
    return 0;
}

void TReportViewer::Drucken()
{
    const int n = FLauf.Seitenanzahl();
    QPrinter drucker(QPrinter::HighResolution);
    drucker.setFullPage(true);
    drucker.setDocName(FOptionen.caption);
    drucker.setFromTo(1, n);
    QPrintDialog dialog(&drucker, this);
    dialog.setMinMax(1, n);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return;
    int von = 1, bis = n;
    if (drucker.printRange() == QPrinter::PageRange) {
        von = std::max(drucker.fromPage(), 1);
        bis = std::min(drucker.toPage(), n);
    } else if (drucker.printRange() == QPrinter::CurrentPage) {
        von = bis = AktuelleSeite();
    }
    QProgressDialog fortschritt(QStringLiteral("Seiten werden gedruckt …"), QStringLiteral("Abbrechen"), 0, bis - von + 1, this);
    fortschritt.setWindowModality(Qt::WindowModal);
    try {
        SeitenDrucken(FLauf, drucker, von, bis, [&](qint64 erledigt, qint64) {
            fortschritt.setValue(static_cast<int>(erledigt));
            return !fortschritt.wasCanceled();
        });
    } catch (const EORVFehler& e) {
        FehlerZeigen(this, e);
    }
}

void TReportViewer::Exportieren()
{
    const QString pfad = QFileDialog::getSaveFileName(this, QStringLiteral("Exportieren"), FOptionen.exportDatei,
                                                      QStringLiteral("PDF (*.pdf);;CSV für Tabellenkalkulation (*.csv);;Excel-Arbeitsmappe (*.xlsx)"));
    if (pfad.isEmpty())
        return;
    QProgressDialog fortschritt(QStringLiteral("Die Liste wird exportiert …"), QStringLiteral("Abbrechen"), 0, 100, this);
    fortschritt.setWindowModality(Qt::WindowModal);
    try {
        ReportExportieren(FLauf, pfad, ExportFormatAusDatei(pfad), [&](qint64 erledigt, qint64 gesamt) {
            fortschritt.setValue(gesamt > 0 ? static_cast<int>(100 * erledigt / gesamt) : 0);
            return !fortschritt.wasCanceled();
        });
        FStatus->setText(QStringLiteral("Gespeichert: %1").arg(pfad));
    } catch (const EORVFehler& e) {
        FehlerZeigen(this, e);
    }
}

QString FreierName(const QString& pfad)
{
    const QFileInfo f(pfad);
    QString frei = pfad;
    for (int n = 2; QFileInfo::exists(frei); ++n)
        frei = f.dir().filePath(QStringLiteral("%1_%2.%3").arg(f.completeBaseName()).arg(n).arg(f.suffix()));
    return frei;
}

void TReportViewer::Kom()
{
    try {
        // an earlier list of the same day stays: the new one gets the next free name
        const QString pfad = FreierName(FOptionen.exportDatei);
        ReportExportieren(FLauf, pfad, TExportFormat::Pdf);
        FStatus->setText(QStringLiteral("Gespeichert: %1").arg(pfad));
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(pfad).absolutePath()));
    } catch (const EORVFehler& e) {
        FehlerZeigen(this, e);
    }
}
