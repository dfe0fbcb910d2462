// Delay from a commit of another writer to the repainted row of the overview, on the year of
// 20,000 inventories: the median and the longest of 20 changes, made at random moments.
//     build/bench/live_bench [--db URL] [--articles N] [--branches N]
// (default a small chain of 500 articles and 5 branches: the delay does not depend on it)
#include "bench/benchfenster.h"
#include "framework/app/programm.h"
#include "framework/core/uhr.h"
#include "framework/db/migrations.h"
#include "framework/gui/vrlist.h"
#include "kalmetmain/frmkalmetmain.h"
#include "kalmetmain/uebersicht_logik.h"
#include "kalmetmain/uebersicht_modell.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlError>

#include <algorithm>

namespace {

// Counts the paintings of the list.
class TMaler : public QObject {
public:
    int Anzahl = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++Anzahl;
        return false;
    }
};

}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    for (const char* standard : {"--articles", "--branches"})
        if (!args.contains(standard))
            args << standard << (qstrcmp(standard, "--articles") == 0 ? "500" : "5");
    const TDbUrl url = BenchDatenbank(args);
    // a chain written by an older build gets the newest schema, as the program's start gives it
    MigrationenAusfuehren(TZEP_Connection::Database());
    BenchProgrammStarten();
    TfrmKalmetMain f;
    BenchFensterZeigen(f, app);
    f.cmbDatum->setCurrentIndex(f.cmbDatum->findText(CBenchJahr));
    app.processEvents();
    TMaler maler;
    f.vrInvList->viewport()->installEventFilter(&maler);

    // the other writer: a connection of its own
    QSqlDatabase schreiber = TZEP_Connection::Oeffnen(url, QStringLiteral("live_bench"));
    const TIAInventur ziel = f.Modell().Inventur(f.vrInvList->GetFirst());
    const QString wo = QString("zaehldatum = '%1' AND wgn = '%2' AND filiale = %3")
                           .arg(TDatumTraits::ToSql(ziel.Schluessel.ZaehlDatum).first().toString(), IA_WGNGespeichert(ziel.Schluessel.WGN))
                           .arg(ziel.Schluessel.Filiale);
    std::vector<double> ms;
    for (int i = 0; i < 20; ++i) {
        const QString kz = i % 2 ? "3" : "4";
        QElapsedTimer pause;
        pause.start();
        const int warten = QRandomGenerator::global()->bounded(200, 1200);
        while (pause.elapsed() < warten)
            app.processEvents(QEventLoop::AllEvents, 5);
        QSqlQuery q(schreiber);
        if (!q.exec(QString("UPDATE ia SET kzzaehlung = '%1' WHERE %2").arg(kz, wo)))
            qFatal("UPDATE: %s", qPrintable(q.lastError().text()));
        QElapsedTimer t;
        t.start();
        const int gemalt = maler.Anzahl;
        int n = f.Modell().Zeile(ziel.Schluessel);
        while (f.vrInvList->VRList()->Wert(n, usStatusKZ).toString() != kz || maler.Anzahl == gemalt) {
            app.processEvents(QEventLoop::AllEvents, 1);
            if (t.elapsed() > 5000)
                qFatal("no repaint within 5 s");
        }
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s, %d Zeilen: Verzögerung Commit bis neu gemalte Zeile: Median %.0f ms, längste %.0f ms, kürzeste %.0f ms (%zu Änderungen)\n",
                url.Typ == TConnectorTyp::PostgreSQL ? "PostgreSQL" : "SQLite", f.vrInvList->VRList()->Anzahl(), ms[ms.size() / 2],
                ms.back(), ms.front(), ms.size());
    return 0;
}
