#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTreeWidget;

// Search of a product group by the beginning of its code or a part of its name.
class TWGNSuchDialog : public QDialog {
    Q_OBJECT
public:
    explicit TWGNSuchDialog(QWidget* parent = nullptr);

    // True when the user chose a group; GetWGN then gives its code.
    bool Execute(QWidget* owner);
    QString GetWGN() const { return FWGN; }

    QLineEdit* edtSuche;
    QTreeWidget* lstWGN;
    QPushButton* btnOK;
    QPushButton* btnAbbruch;

private:
    void Filtern(const QString& text);
    void Waehlen();

    QString FWGN;
};
