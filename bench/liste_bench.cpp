// The overview list with 20,000 inventories: time to fill the list and to paint it, and
// to mark all rows and invert the marks.
#include "bench/benchfenster.h"
#include "framework/app/programm.h"
#include "framework/core/uhr.h"
#include "framework/db/files/iafile.h"
#include "framework/gui/vrlist.h"
#include "kalmetmain/frmkalmetmain.h"

#include <QApplication>
#include <QComboBox>
#include <QSqlQuery>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchDatenbank(app.arguments());
    BenchProgrammStarten();
    TfrmKalmetMain f;
    BenchFensterZeigen(f, app);
    const int index = f.cmbDatum->findText(CBenchJahr);
    const double fuellen = Sekunden([&] {
        f.cmbDatum->setCurrentIndex(index);
        app.processEvents();
    });
    const double lesen = Sekunden([&] {
        Tiafile ia;
        ia.AllesClear();
        ia.WiJahr.SetFilterMinMax(EncodeDate(2024, 2, 1));
        for (bool ok = ia.Get_first(); ok; ok = ia.Get_next())
            ia.GetSatz();
    });
    const double nochmal = Sekunden([&] {
        f.FuelleGrid(EncodeDate(2024, 2, 1));
        app.processEvents();
    });
    const double malen = Bestzeit(5, [&] { f.vrInvList->viewport()->repaint(); });
    const double alle = Sekunden([&] { f.btnAlleEinClick(); app.processEvents(); });
    const double umkehren = Sekunden([&] { f.btnAlleUmsClick(); app.processEvents(); });
    std::printf("%d Zeilen: füllen %.3f s (erneut %.3f s; die Zeilen nur lesen %.3f s), einmal malen %.4f s, "
                "alle markieren %.3f s, umkehren %.3f s\n",
                f.vrInvList->VRList()->Anzahl(), fuellen, nochmal, lesen, malen, alle, umkehren);
    return 0;
}
