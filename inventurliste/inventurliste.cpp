#include "inventurliste/inventurliste.h"
#include "inventurliste/inventursaetze.h"

#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/article/artabwmani.h"
#include "framework/article/artlessimple.h"
#include "framework/article/filialtabelle.h"
#include "framework/article/liefgpdata.h"
#include "framework/core/fehler.h"
#include "framework/db/files/fvkfile.h"
#include "framework/db/files/ivfile.h"
#include "framework/db/files/iznsfile.h"
#include "framework/db/files/renrfile.h"
#include "framework/db/produktblock.h"
#include "framework/dbf/crystalsets.h"
#include "framework/dbf/invlfile.h"
#include "framework/dbf/invrfile.h"
#include "framework/dbf/invufile.h"
#include "framework/dbf/invzfile.h"
#include "framework/stock/invmani.h"

#include <QDir>

TInventurlisteOptionen TInventurlisteOptionen::AusParametern()
{
    TInventurlisteOptionen o;
    o.MitRegal = ORVParameter().GetStringValueByName(QStringLiteral("REGANR")).toUpper() == QLatin1String("J");
    return o;
}

// The record files are opened in this order; a file whose table is missing ends the
// construction there.
TInventurliste::TInventurliste(const TInventurlisteOptionen& AOptionen)
    : FOptionen(AOptionen),
      FIVFile(std::make_unique<Tivfile>(2, -1)),
      FINVLFile(std::make_unique<Tinvlfile>()),
      FINVRFile(std::make_unique<Tinvrfile>()),
      FINVUEFile(std::make_unique<Tinvufile>()),
      FINVZFile(std::make_unique<Tinvzfile>()),
      FCrystalSets(std::make_unique<TDBFFiles_4_Crystal>()),
      FSaetze(std::make_unique<TInventurSaetze>())
{
    Constructor_Segmente();
    FFilialtab = std::make_unique<TFilialTabelle>();
}

TInventurliste::~TInventurliste()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.FormDestroy"), [this] { TORVServerFactory::ArtLesSimpleZurueckgeben(FArtlesSimple); },
             false);
}

void TInventurliste::ReadParam(const QString& AName, bool AFirstList, QString& AValue)
{
    AValue.clear();
    ORVGuard(QStringLiteral("TfrmKalmetMain.ReadParam"), [&] {
        if (FSelectedLayouts.empty())
            FehlerRaise(QStringLiteral("TfrmKalmetMain.ReadParam"), {QStringLiteral("Kein Layout ausgewählt")});
        const TZEP_SelectedLayout& layout = *FSelectedLayouts.front();
        for (const QString& zeile : AFirstList ? layout.Liste1 : layout.Liste2) {
            const qsizetype gleich = zeile.indexOf(QLatin1Char('='));
            if (gleich >= 0 && zeile.left(gleich) == AName) {
                AValue = zeile.mid(gleich + 1);
                return;
            }
        }
    });
}

// Report files of the overview layouts: their lists hold INVUE records.
static bool IstUebersicht(const QString& datei)
{
    static const QStringList uebersichten{QStringLiteral("kalme001.rpt"), QStringLiteral("kalme005.rpt"),
                                          QStringLiteral("kalme006.rpt"), QStringLiteral("kalme007.rpt"),
                                          QStringLiteral("kalme008.rpt"), QStringLiteral("kalme010.rpt")};
    return uebersichten.contains(datei, Qt::CaseInsensitive);
}

// Report files of the counting sheets: the recount list and the blind count sheets.
static bool IstZaehlliste(const QString& datei)
{
    static const QStringList zaehllisten{QStringLiteral("kalme011.rpt"), QStringLiteral("kalme012.rpt")};
    return zaehllisten.contains(datei, Qt::CaseInsensitive);
}

void TInventurliste::ReadLayOutParams(TLayOutParams& AParams)
{
    AParams = TLayOutParams::EmptyGet();
    ORVGuard(QStringLiteral("TfrmKalmetMain.ReadLayOutParams"), [&] {
        if (FSelectedLayouts.empty())
            FehlerRaise(QStringLiteral("TfrmKalmetMain.ReadLayOutParams"), {QStringLiteral("Kein Layout ausgewählt")});
        const QString datei = FSelectedLayouts.front()->ReportDatei;
        AParams.MitSummieren = datei.compare(QLatin1String("kalme002.rpt"), Qt::CaseInsensitive) == 0;
        QString wert;
        ReadParam(QStringLiteral("Listentyp"), true, wert);
        AParams.Filueber = wert == QLatin1String("Filueber");
        ReadParam(QStringLiteral("MinDiff"), false, wert);
        bool zahl;
        const int32_t minDiff = wert.trimmed().toInt(&zahl);
        AParams.MinDiff = zahl ? minDiff : 0;
        ReadParam(QStringLiteral("FilNull"), false, wert);
        AParams.NurMitMengen = wert.compare(QLatin1String("J"), Qt::CaseInsensitive) == 0;
        AParams.IsUebersicht = IstUebersicht(datei);
        AParams.MitZaehlzeilen = IstZaehlliste(datei);
        // thresholds as people write them: "3", "150", "150,50"
        ReadParam(QStringLiteral("NachzaehlenAbStueck"), false, wert);
        AParams.NachzaehlenAbStueck = std::max(0, wert.trimmed().toInt());
        ReadParam(QStringLiteral("NachzaehlenAbWert"), false, wert);
        AParams.NachzaehlenAbWert = std::max(0.0, wert.trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble());
    });
}

void TInventurliste::Constructor_Segmente()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.Constructor_Segmente"), [this] {
        if (!FArtlesSimple)
            FArtlesSimple = TORVServerFactory::ArtLesSimpleHolen();
        FArtlesSimple->SetMode(2);
        FArtlesSimple->SetSegmente(0x7);   // segments 0, 1 and 2
    });
}

IORV_ArtLesSimple& TInventurliste::ArtlesSimple()
{
    return Angelegt(FArtlesSimple, "FArtlesSimple");
}

void TInventurliste::ReNrLesen(std::unique_ptr<TProduktBlockAbfrage>& abfrage, const std::vector<TInt32Trio>& ids,
                               TReNrVorrat& vorrat)
{
    if (!abfrage)
        abfrage = std::make_unique<TProduktBlockAbfrage>(QStringLiteral("t.renr, t.renr2"), QStringLiteral("renr"),
                                                         QStringLiteral("t.id"), QString());
    // an article without RENR record has none; of several the first counts, as for a keyed read
    vorrat.clear();
    for (const TInt32Trio& id : ids)
        vorrat.emplace(id, TIntPair{});
    std::vector<bool> gelesen(ids.size());
    abfrage->Lesen(ids, [&](int i, const TBlockZeile& q) {
        if (!gelesen[i])
            vorrat[ids[i]] = {q.Int(1), q.Int(2)};
        gelesen[i] = true;
    });
}

void TInventurliste::VorratTauschen(IORV_ArtLesSimple& artikel, TReNrVorrat& renr)
{
    ArtlesSimple().VorratTauschen(artikel);
    std::swap(FReNrVorrat, renr);
}

void TInventurliste::IZNSFile_GoC()
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.IZNSFile_GoC"), [this] {
        if (!FIZNSFile)
            FIZNSFile = std::make_unique<Tiznsfile>(2, -1);
    });
}

TInvMani& TInventurliste::InvMani()
{
    if (!FInvmani)
        FInvmani = std::make_unique<TInvMani>();
    return *FInvmani;
}

void TInventurliste::DBFFilesErstellen(const QString& ordner)
{
    ORVGuard(QStringLiteral("TfrmKalmetMain.DBFFilesErstellen"), [&] {
        FCrystalSets->Clear();
        FSaetze = std::make_unique<TInventurSaetze>();
        FINVL_DBF = FINVR_DBF = FINVUE_DBF = FINVZ_DBF = nullptr;
        const QString pid = ORVProgramm().ProzessIdFormated();
        const QDir d(ordner);
        d.mkpath(QStringLiteral("."));
        FINVL_DBF = FCrystalSets->Registrieren(QStringLiteral("INVL"),
                                               FINVLFile->DBF_Create_Table_Empty(d.filePath(QStringLiteral("invl%1.dbf").arg(pid))));
        FINVR_DBF = FCrystalSets->Registrieren(QStringLiteral("INVR"),
                                               FINVRFile->DBF_Create_Table_Empty(d.filePath(QStringLiteral("invr%1.dbf").arg(pid))));
        FINVUE_DBF = FCrystalSets->Registrieren(
            QStringLiteral("INVU"), FINVUEFile->DBF_Create_Table_Empty(d.filePath(QStringLiteral("invue%1.dbf").arg(pid))));
        FINVZ_DBF = FCrystalSets->Registrieren(QStringLiteral("INVZ"),
                                               FINVZFile->DBF_Create_Table_Empty(d.filePath(QStringLiteral("invz%1.dbf").arg(pid))));
        FLfdNrINVL = 1;
        FLfdNrINVU = 1;
    });
}
