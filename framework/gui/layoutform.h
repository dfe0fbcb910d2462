#pragma once

#include "framework/app/layouts.h"
#include "framework/app/layoutspeicher.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLineEdit;
class QComboBox;
class QPushButton;
class QTableWidget;
class QTreeWidget;
class QWidget;

// What the layout dialog is asked for.
struct TZEP_LayoutDialog_InputData {
    QStringList Praefixe;   // report files starting with one of these (ignoring case)
    QString Ordner;         // folder of the report templates (GetDirWwsByName)
    uint8_t Option = 0;
    bool Gestaltung = false;   // the user may add, copy, rename, delete and edit layouts

    void Init() { *this = {}; }
};

// The layout dialog: the layouts of the program's module, one line each (title, report
// file). OK or a double click chooses the marked one; Esc leaves the selection as it was.
// With design rights the layouts can be edited beside the list and are stored together.
class TLayoutform : public QDialog {
    Q_OBJECT
public:
    explicit TLayoutform(QWidget* owner = nullptr);

    // True when the user chose a layout; AList then holds it alone.
    bool Execute(const TZEP_LayoutDialog_InputData& AInput, TZEP_SelectedLayout_List& AList);

    QTreeWidget* lstLayouts;
    QPushButton* btnOK;
    QPushButton* btnAbbruch;
    // design
    QWidget* pnlGestaltung;
    QLineEdit* edtTitel;
    QComboBox* cmbReport;
    QCheckBox* chkStandard;   // preselected in the dialog; one layout at most
    QTableWidget* tblOptionen;
    QTableWidget* tblParameter;
    QPushButton* btnNeu;
    QPushButton* btnKopieren;
    QPushButton* btnLoeschen;
    QPushButton* btnSpeichern;

    // Stores the changes; false (with a message) when a layout is faulty or another terminal
    // changed one meanwhile (the list is read again then).
    bool Speichern();

private:
    void Laden(const QString& titel);
    void ListeFuellen(int markiert);
    void EditorLaden();
    void EditorUebernehmen();
    void Neu(bool kopie);
    void Loeschen();
    void Waehlen();
    int Aktuell() const;

    TZEP_LayoutDialog_InputData FInput;
    std::vector<TLayoutSatz> FLayouts;
    std::vector<bool> FGeaendert;
    std::vector<TLayoutSatz> FGeloescht;
    int FEditor = -1;   // the layout shown in the editor
    bool FLaden = false;
};
