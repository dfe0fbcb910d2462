#include "framework/gui/qtinteraktion.h"

#include <QMessageBox>
#include <QPushButton>

namespace {
QWidget* Fenster(QObject* owner)
{
    return qobject_cast<QWidget*>(owner);
}
}

int TQtInteraktion::Meldung(int art, const QString& titel, const QString& text, QObject* owner)
{
    if (art == maFrageJaNein)
        return QMessageBox::question(Fenster(owner), titel, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes
            ? maJa
            : maNein;
    if (art == maFehler)
        QMessageBox::critical(Fenster(owner), titel, text);
    else
        QMessageBox::information(Fenster(owner), titel, text);
    return maOK;
}

bool TQtInteraktion::Frage(const QString& titel, const QString& text, const std::vector<TFrageDlg_Antwort>& antworten,
                           int& gewaehlt, QObject* owner)
{
    QMessageBox box(QMessageBox::Question, titel, text, QMessageBox::NoButton, Fenster(owner));
    std::vector<std::pair<QAbstractButton*, int>> knoepfe;
    for (const TFrageDlg_Antwort& a : antworten)
        knoepfe.emplace_back(box.addButton(a.Caption, QMessageBox::ActionRole), a.Wert);
    box.addButton(QMessageBox::Cancel);
    box.exec();
    for (const auto& [knopf, wert] : knoepfe)
        if (box.clickedButton() == knopf) {
            gewaehlt = wert;
            return true;
        }
    return false;
}

void TQtInteraktion::Versionsinfo(const QString& titel, const QString& text, QObject* owner)
{
    QMessageBox::about(Fenster(owner), titel, text);
}
