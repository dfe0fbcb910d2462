#pragma once

#include <QString>
#include <QStringList>

// Hand-held device booker: looks for data files that hand-held counting devices left in
// the "mde" folder of the data folder.
class TMDEBucher {
public:
    explicit TMDEBucher(QString ordner = {});
    // True when device files are waiting; they are listed in Dateien().
    bool DateiSuche();
    const QStringList& Dateien() const { return FDateien; }

private:
    QString FOrdner;
    QStringList FDateien;
};
