#pragma once

#include <QString>

#include <QStringList>

#include <map>
#include <memory>

struct TFiliale {
    int Nr = 0;
    QString Name;
    bool LV_Benutzen = false;   // stock kept per storage location
};

// The branch table, read once from the database.
class TFilialTabelle {
public:
    TFilialTabelle();
    // The branch with this number; throws EORVFehler when there is none.
    const TFiliale& GetFilialeByNr(int nr) const;
    const std::map<int, TFiliale>& Filialen() const { return FFilialen; }

private:
    std::map<int, TFiliale> FFilialen;
};

// The branch table shared by the program, read again after the database changed.
std::shared_ptr<const TFilialTabelle> GlobFilialTabelle_GetInstance();

// The branch list as a combo box shows it: "number – name" per branch.
QStringList FilialEintraege(const TFilialTabelle& tabelle);
// The branch number of such an entry; 0 for an empty entry (all branches).
int FilialNrAusEintrag(const QString& eintrag);
