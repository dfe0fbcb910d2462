#pragma once

#include "framework/dbf/printfile.h"

// Overview record: one article, branch and count date of an overview layout.
struct TinvuSatz {
    int32_t LfdNr = 0;
    QString WGN;
    int32_t Filiale = 0;
    QChar FilKZ;
    QString MwSt;
    int32_t Sum_Ist = 0;
    int32_t Sum_Soll = 0;
    int32_t Sum_Diff = 0;
    double Ist_EKWert = 0, Soll_EKWert = 0, Diff_EKWert = 0;
    double Ist_EKWert_Abgew = 0, Soll_EKWert_Abgew = 0, Diff_EKWert_Abgew = 0;
    double Ist_VKWert = 0, Soll_VKWert = 0, Diff_VKWert = 0;

    friend bool operator==(const TinvuSatz&, const TinvuSatz&) = default;
};

// INVUE print data file (record file class INVU).
class Tinvufile : public TDbfSatzDatei<TinvuSatz> {
public:
    const std::vector<TDbfFeld<TinvuSatz>>& Layout() const override;
};
