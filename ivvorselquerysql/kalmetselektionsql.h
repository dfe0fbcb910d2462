#pragma once

#include "collections/zep_list.h"
#include "framework/db/files/bnefile.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/files/iznsfile.h"
#include "framework/db/files/lstfile.h"
#include "framework/db/query.h"

#include <QThread>

#include <array>
#include <memory>
#include <vector>

// Branch and count date of one inventory to select.
struct TVglInvAnf_Inv {
    int32_t Filiale = 0;
    TDateTime ZaehlDatum = 0;
};

// The product ids of a set of inventories: target and count records and, with
// back-calculation, the articles moved or sold between the evaluation date and the count
// dates. One statement, a union of up to four SELECTs, run on a worker thread.
class TZEP_KalmetSelektionSQL : public TZEP_DB_Query {
public:
    explicit TZEP_KalmetSelektionSQL(QObject* AOwner = nullptr);
    ~TZEP_KalmetSelektionSQL() override;

    // Fills AProdIds (unsorted, possibly with duplicates); false with database configuration
    // 1 or without a list.
    bool Execute(const std::vector<TVglInvAnf_Inv>& AInventuren, bool ARueckRechnen, TDateTime AAuswertungsDatum,
                 TDateTime AWiJahr4DB, TZEP_List<TInt32Trio>* AProdIds);

    QString SQL_Query_Get(TConnectorTyp AConnectorTyp) override;
    QString SQL_Query_IV_Get(TConnectorTyp AConnectorTyp);
    QString SQL_Query_IZNS_Get(TConnectorTyp AConnectorTyp);
    QString SQL_Query_BNE_Get(TConnectorTyp AConnectorTyp);
    QString SQL_Query_LST_Get(TConnectorTyp AConnectorTyp);
    void Clear_State();

    std::unique_ptr<TInt32TrioDatenFeld> FProdID;

private:
    friend class TZEP_QueryThread;
    enum TDatei { dIV = 0, dIZNS = 1, dBNE = 2, dLST = 3 };

    void CreateDatenfelder() override;
    QString Anfang(const TInt32TrioDatenFeld& id, TDatei datei) const;
    QString InventurKette(const TDatenfeld& filiale, const TDatenfeld& datum, TDatei datei);

    std::unique_ptr<Tivfile> FIVFile;
    std::unique_ptr<Tiznsfile> FIZNSFile;
    std::unique_ptr<TBNEFile> FBNEFile;
    std::unique_ptr<Tlstfile> FLSTFile;
    std::array<QString, 4> FDateinamen;
    std::vector<int16_t> FFilialen;
    bool FRueckRechnen = false;
    TDateTime FRueckAuswertDatum = 0;
    TDateTime FRueckMaxZaehlDatum = 0;
    TDateTime FWiJahr4DB = 0;
    std::vector<TVglInvAnf_Inv> FInventuren;
};

// Runs the query on its own database connection and fills the list.
class TZEP_QueryThread : public QThread {
public:
    TZEP_QueryThread(TZEP_KalmetSelektionSQL* AQuery, TZEP_List<TInt32Trio>* AProdIds);

protected:
    void run() override;

private:
    TZEP_KalmetSelektionSQL* FKalmetSelQuery = nullptr;
    TZEP_List<TInt32Trio>* FProdIds = nullptr;
};
