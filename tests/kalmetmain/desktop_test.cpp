// Desktop conventions: Qt's German texts, our message boxes.
#include "framework/gui/qtinteraktion.h"
#include "tests/kalmetmain/dialogskript.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>

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
