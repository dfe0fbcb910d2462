// Desktop conventions: Qt's German texts, our message boxes, the window kept per user.
#include "framework/app/programm.h"
#include "framework/gui/qtinteraktion.h"
#include "tests/kalmetmain/dialogskript.h"
#include "tests/kalmetmain/fenster.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>

TEST(German, QtButtonsAndOurMessageBoxes)
{
    ASSERT_TRUE(QtUebersetzungLaden()) << "qt6-translations-l10n is missing";
    const QDialogButtonBox knoepfe(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
    EXPECT_EQ(knoepfe.button(QDialogButtonBox::Yes)->text(), "&Ja");
    EXPECT_EQ(knoepfe.button(QDialogButtonBox::No)->text(), "&Nein");
    EXPECT_EQ(knoepfe.button(QDialogButtonBox::Cancel)->text(), "Abbrechen");

    TQtInteraktion qt(QStringLiteral("Inventurauswertung"));
    int antwort = 0;
    {
        TDialogSkript skript({Im<QMessageBox>([](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), "Inventurauswertung");
            EXPECT_EQ(box.informativeText(), "KALMET 1003") << "the catalogue entry stays visible for support";
            EXPECT_EQ(box.button(QMessageBox::Yes)->text(), "&Ja");
            box.button(QMessageBox::No)->click();
        })});
        antwort = qt.Meldung(maFrageJaNein, QStringLiteral("KALMET 1003"), QStringLiteral("Wirklich buchen?"), nullptr);
    }
    EXPECT_EQ(antwort, maNein);
}

class WindowStateTest : public FensterTest {};

TEST_F(WindowStateTest, SizePlaceAndColumnsComeBackPerUser)
{
    TfrmKalmetMain* f = &Fenster();
    const QSize schirm = f->screen()->availableGeometry().size();
    EXPECT_LE(f->width(), schirm.width());
    EXPECT_LE(f->height(), schirm.height());
    // the first start shows every column, where the screen allows
    if (f->width() < schirm.width()) {
        EXPECT_GE(f->vrInvList->viewport()->width(), f->vrInvList->header()->length());
    }

    f->resize(660, 470);
    f->move(20, 30);
    f->vrInvList->setColumnWidth(1, 111);
    const QSize ersteGroesse = f->size();
    f->close();
    FFenster.reset();

    f = &Fenster();
    EXPECT_EQ(f->size(), ersteGroesse);
    EXPECT_EQ(f->pos(), QPoint(20, 30));
    EXPECT_EQ(f->vrInvList->columnWidth(1), 111);
    f->cmbDatumChange();   // the rows filled again keep the width
    EXPECT_EQ(f->vrInvList->columnWidth(1), 111);
    FFenster.reset();

    ORVProgramm().SetBenutzer("lager");
    const auto zurueck = qScopeGuard([] { ORVProgramm().SetBenutzer("demo"); });
    f = &Fenster();
    EXPECT_NE(f->vrInvList->columnWidth(1), 111) << "another user has his own";
}
