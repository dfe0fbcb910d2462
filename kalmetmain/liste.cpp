// The window's members of the list computation: each runs the engine's step of that name.
#include "kalmetmain/frmkalmetmain.h"

void TfrmKalmetMain::Constructor_Segmente()
{
    MitListe("TfrmKalmetMain.Constructor_Segmente", [](TInventurliste& l) { l.Constructor_Segmente(); });
}

void TfrmKalmetMain::ReadParam(const QString& AName, bool AFirstList, QString& AValue)
{
    AValue.clear();
    MitListe("TfrmKalmetMain.ReadParam", [&](TInventurliste& l) { l.ReadParam(AName, AFirstList, AValue); });
}

void TfrmKalmetMain::IZNSFile_GoC()
{
    MitListe("TfrmKalmetMain.IZNSFile_GoC", [](TInventurliste& l) { l.IZNSFile_GoC(); });
}

void TfrmKalmetMain::InitMengenfeld(TMengenfeld& AMengenfeld)
{
    MitListe("TfrmKalmetMain.InitMengenfeld", [&](TInventurliste& l) { l.InitMengenfeld(AMengenfeld); });
}

bool TfrmKalmetMain::LeseZaehlMengen(TMengenfeld& AMengenfeld, TRegalMengen& ARegalmengen, const TInt32Trio& Produkt_ID,
                                     TDateTime ZaehlDatum, int32_t Filiale, bool withShelves)
{
    bool gefunden = false;
    MitListe("TfrmKalmetMain.ErstelleINVL.LeseZaehlMengen", [&](TInventurliste& l) {
        gefunden = l.LeseZaehlMengen(AMengenfeld, ARegalmengen, Produkt_ID, ZaehlDatum, Filiale, withShelves);
    });
    return gefunden;
}

void TfrmKalmetMain::FuelleMengenfeld_MitZaehlsaetzen(TMengenfeld& AMengenfeld)
{
    MitListe("TfrmKalmetMain.FuelleMengenfeld_MitZaehlsaetzen",
             [&](TInventurliste& l) { l.FuelleMengenfeld_MitZaehlsaetzen(AMengenfeld); });
}

void TfrmKalmetMain::FuelleRegalmengen(TRegalMengen& ARegalmengen)
{
    MitListe("TfrmKalmetMain.FuelleRegalmengen", [&](TInventurliste& l) { l.FuelleRegalmengen(ARegalmengen); });
}

void TfrmKalmetMain::FuelleMengenfeld_MitSollsaetzen(const TivSatz& ivSatz, TMengenfeld& AMengenfeld)
{
    MitListe("TfrmKalmetMain.FuelleMengenfeld_MitSollsaetzen",
             [&](TInventurliste& l) { l.FuelleMengenfeld_MitSollsaetzen(ivSatz, AMengenfeld); });
}

void TfrmKalmetMain::FuelleMengenFeld_UF(int16_t Filiale, TMengenfeld& AMengenfeld)
{
    MitListe("TfrmKalmetMain.FuelleMengenFeld_UF", [&](TInventurliste& l) { l.FuelleMengenFeld_UF(Filiale, AMengenfeld); });
}

void TfrmKalmetMain::InventurlisteMinMaxIndBestimmen(TMengenfeld& AMengenfeld)
{
    MitListe("TfrmKalmetMain.InventurlisteMinMaxIndBestimmen",
             [&](TInventurliste& l) { l.InventurlisteMinMaxIndBestimmen(AMengenfeld); });
}

void TfrmKalmetMain::FVKKorrektur(const TInt32Trio& Produkt_ID, int32_t Filiale, TDateTime ZaehlDatum, bool ATestlauf,
                                  TMengenfeld& AMengenfeld)
{
    MitListe("TfrmKalmetMain.FVKKorrektur",
             [&](TInventurliste& l) { l.FVKKorrektur(Produkt_ID, Filiale, ZaehlDatum, ATestlauf, AMengenfeld); });
}

void TfrmKalmetMain::BestandRueckOderVorRechnen(const TInt32Trio& Produkt_ID, int16_t Filiale, TDateTime ZaehlDatum,
                                                TDateTime AuswertungsDatum, TDateTime WiJahr, TMengenfeld& AMengenfeld)
{
    MitListe("TfrmKalmetMain.BestandRueckOderVorRechnen", [&](TInventurliste& l) {
        l.BestandRueckOderVorRechnen(Produkt_ID, Filiale, ZaehlDatum, AuswertungsDatum, WiJahr, AMengenfeld);
    });
}

void TfrmKalmetMain::FilialenAufrechnen_INVL(int32_t SelFil, TinvlListe& list)
{
    MitListe("TfrmKalmetMain.FilialenAufrechnen_INVL", [&](TInventurliste& l) { l.FilialenAufrechnen_INVL(SelFil, list); });
}

void TfrmKalmetMain::INVLSaetzeWegschreiben(const TinvlListe& list, bool Nummerieren)
{
    MitListe("TfrmKalmetMain.INVLSaetzeWegschreiben", [&](TInventurliste& l) { l.INVLSaetzeWegschreiben(list, Nummerieren); });
}

void TfrmKalmetMain::SchreibeDruckDateien(TMengenfeld& Mengenfeld, const TRegalMengen& Regalmengen, const TAASatz& aaSatz,
                                          TDateTime WiJahr, TDateTime ZaehlDatum, const QString& WGN, int32_t Filiale,
                                          bool KVK, TinvlListe& List, bool IsUebersicht)
{
    MitListe("TfrmKalmetMain.SchreibeDruckDateien", [&](TInventurliste& l) {
        l.SchreibeDruckDateien(Mengenfeld, Regalmengen, aaSatz, WiJahr, ZaehlDatum, WGN, Filiale, KVK, List, IsUebersicht);
    });
}

void TfrmKalmetMain::ReNrErmitteln(const TInt32Trio& Produkt_ID, TIntPair& Pair)
{
    Pair = {};
    MitListe("TfrmKalmetMain.ReNrErmitteln", [&](TInventurliste& l) { l.ReNrErmitteln(Produkt_ID, Pair); });
}

void TfrmKalmetMain::GetRENRFile()
{
    MitListe("TfrmKalmetMain.GetRENRFile", [](TInventurliste& l) { l.GetRENRFile(); });
}

void TfrmKalmetMain::LiefGPData_AufbauenWennNichtDa()
{
    MitListe("TfrmKalmetMain.LiefGPData_AufbauenWennNichtDa", [](TInventurliste& l) { l.LiefGPData_AufbauenWennNichtDa(); });
}
