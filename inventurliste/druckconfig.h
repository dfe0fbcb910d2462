#pragma once

#include "inventurliste/zeileanzeige.h"

// List options of the chosen print layout.
struct TLayOutParams {
    bool Filueber = false;
    int32_t MinDiff = 0;
    bool NurMitMengen = false;
    bool MitSummieren = false;
    bool IsUebersicht = false;
    // articles to count again: those whose absolute differences of their sizes reach
    // NachzaehlenAbStueck pieces, or whose difference at purchase prices reaches
    // NachzaehlenAbWert in amount (0: that threshold selects none; both 0: no selection)
    int32_t NachzaehlenAbStueck = 0;
    double NachzaehlenAbWert = 0;
    bool MitZaehlzeilen = false;   // the counting sheets' lines (INVZ) are written

    static TLayOutParams EmptyGet() { return {}; }
    bool Equal(const TLayOutParams& a) const
    {
        return Filueber == a.Filueber && MinDiff == a.MinDiff && NurMitMengen == a.NurMitMengen
            && MitSummieren == a.MitSummieren && IsUebersicht == a.IsUebersicht && NachzaehlenAbStueck == a.NachzaehlenAbStueck
            && NachzaehlenAbWert == a.NachzaehlenAbWert && MitZaehlzeilen == a.MitZaehlzeilen;
    }
};

// Everything that decides the content of the print tables.
struct TDruckConfig {
    TZeileAnzeige_Arr Zeilen;
    TLayOutParams LayoutParams;
    TDateTime WiJahr = 0;
    bool KVK = false;
    bool Rechnen = false;
    bool FilGegAufrechnen = false;
    bool MitRegalmengen = false;
    QString SelWGN;
    int32_t SelFil = 0;

    // Branch -1 matches no real request.
    static TDruckConfig EmptyGet()
    {
        TDruckConfig c;
        c.SelFil = -1;
        return c;
    }

    bool Equal(const TDruckConfig& a) const
    {
        if (Zeilen.size() != a.Zeilen.size() || !LayoutParams.Equal(a.LayoutParams) || WiJahr != a.WiJahr || KVK != a.KVK
            || Rechnen != a.Rechnen || FilGegAufrechnen != a.FilGegAufrechnen || MitRegalmengen != a.MitRegalmengen
            || SelWGN != a.SelWGN || SelFil != a.SelFil)
            return false;
        for (size_t i = 0; i < Zeilen.size(); ++i)
            if (!Zeilen[i].Equal(a.Zeilen[i]))
                return false;
        return true;
    }
};
