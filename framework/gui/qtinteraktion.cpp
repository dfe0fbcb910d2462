#include "framework/gui/qtinteraktion.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <memory>

namespace {

QWidget* Fenster(QObject* owner)
{
    return qobject_cast<QWidget*>(owner);
}

// German captions of the standard buttons, also where Qt's translation is not installed.
void KnoepfeDeutsch(QMessageBox& box)
{
    static const std::pair<QMessageBox::StandardButton, const char*> texte[] = {
        {QMessageBox::Yes, "&Ja"}, {QMessageBox::No, "&Nein"}, {QMessageBox::Cancel, "Abbrechen"}, {QMessageBox::Ok, "OK"}};
    for (const auto& [knopf, text] : texte)
        if (QAbstractButton* b = box.button(knopf))
            b->setText(QString::fromUtf8(text));
}

int Zeigen(QMessageBox& box, const QString& herkunft)
{
    box.setInformativeText(herkunft);
    KnoepfeDeutsch(box);
    return box.exec();
}

}

int TQtInteraktion::Meldung(int art, const QString& titel, const QString& text, QObject* owner)
{
    const bool frage = art == maFrageJaNein;
    QMessageBox box(frage ? QMessageBox::Question : art == maFehler ? QMessageBox::Critical : QMessageBox::Information,
                    FProgrammTitel, text, frage ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, Fenster(owner));
    const int antwort = Zeigen(box, titel);
    if (!frage)
        return maOK;
    return antwort == QMessageBox::Yes ? maJa : maNein;
}

bool TQtInteraktion::Frage(const QString& titel, const QString& text, const std::vector<TFrageDlg_Antwort>& antworten,
                           int& gewaehlt, QObject* owner)
{
    QMessageBox box(QMessageBox::Question, FProgrammTitel, text, QMessageBox::NoButton, Fenster(owner));
    std::vector<std::pair<QAbstractButton*, int>> knoepfe;
    for (const TFrageDlg_Antwort& a : antworten)
        knoepfe.emplace_back(box.addButton(a.Caption, QMessageBox::ActionRole), a.Wert);
    box.addButton(QMessageBox::Cancel);
    Zeigen(box, titel);
    for (const auto& [knopf, wert] : knoepfe)
        if (box.clickedButton() == knopf) {
            gewaehlt = wert;
            return true;
        }
    return false;
}

void TQtInteraktion::Versionsinfo(const QString& titel, const QString& text, QObject* owner)
{
    QMessageBox box(QMessageBox::Information, FProgrammTitel, text, QMessageBox::Ok, Fenster(owner));
    Zeigen(box, titel);
}

QString TQtInteraktion::DateiSpeichern(const QString& titel, const QString& vorschlag, const QString& filter, QObject* owner)
{
    return QFileDialog::getSaveFileName(Fenster(owner), titel, QDir::home().filePath(vorschlag), filter);
}

QString TQtInteraktion::Passwort(const QString& titel, const QString& text, QObject* owner)
{
    return QInputDialog::getText(Fenster(owner), FProgrammTitel + QStringLiteral(" – ") + titel, text, QLineEdit::Password);
}

bool QtUebersetzungLaden()
{
    auto uebersetzung = std::make_unique<QTranslator>(qApp);
    if (!uebersetzung->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(uebersetzung.get()))
        return false;
    uebersetzung.release();   // the application object owns it
    return true;
}
