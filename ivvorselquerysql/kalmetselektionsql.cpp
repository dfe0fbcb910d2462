#include "ivvorselquerysql/kalmetselektionsql.h"

#include "framework/app/info.h"
#include "framework/app/programm.h"
#include "framework/core/fehler.h"
#include "framework/stock/artbewtyp.h"
#include "framework/stock/verkbeleg.h"

using namespace TZEP_DB_Query_Helper;

TZEP_KalmetSelektionSQL::TZEP_KalmetSelektionSQL(QObject*)
{
    ORVGuard(QStringLiteral("TZEP_KalmetSelektionSQ.Create"), [this] {
        if (GDBConfig == 1)
            return;
        FIVFile = std::make_unique<Tivfile>();
        FIZNSFile = std::make_unique<Tiznsfile>();
        FBNEFile = std::make_unique<TBNEFile>();
        FLSTFile = std::make_unique<Tlstfile>();
        const TZEP_DBFile* dateien[] = {FIVFile.get(), FIZNSFile.get(), FBNEFile.get(), FLSTFile.get()};
        for (int i = 0; i < 4; ++i)
            FDateinamen[i] = SQL_TableName_4_FilePath(dateien[i]->GetFullDateiName());
    });
}

TZEP_KalmetSelektionSQL::~TZEP_KalmetSelektionSQL()
{
    const QString ort = QStringLiteral("TZEP_KalmetSelektionSQL.Destroy");
    ORVGuard(ort, [this] { FProdID.reset(); }, false);
    ORVGuard(ort, [this] { FBNEFile.reset(); }, false);
    ORVGuard(ort, [this] { FLSTFile.reset(); }, false);
    ORVGuard(ort, [this] { FIZNSFile.reset(); }, false);
    ORVGuard(ort, [this] { FIVFile.reset(); }, false);
    ORVGuard(ort, [this] { ParameterFelderClear(); }, false);
    try {
        ORVInfo().FehlerRaise(ort);
    } catch (const std::exception& e) {
        ORVInfo().RegisterException(QStringLiteral("TZEP_KalmetSelektionSQL.DestructorException"), e, true);
    }
    ORVInfo().FehlerTerminate(ort);
}

void TZEP_KalmetSelektionSQL::CreateDatenfelder()
{
    ORVGuard(QStringLiteral("TZEP_KalmetSelektionSQL.CreateDatenfelder"), [this] {
        FProdID = std::make_unique<TInt32TrioDatenFeld>(QStringLiteral("ProduktID"), QStringLiteral("produkt_id"));
        DatenfeldAdd(*FProdID);
    });
}

void TZEP_KalmetSelektionSQL::Clear_State()
{
    ORVGuard(QStringLiteral("TZEP_KalmetSelektionSQL.Clear_State"), [this] {
        FRueckRechnen = false;
        FRueckAuswertDatum = 0;
        FRueckMaxZaehlDatum = 0;
        FWiJahr4DB = 0;
        FInventuren.clear();
    });
}

bool TZEP_KalmetSelektionSQL::Execute(const std::vector<TVglInvAnf_Inv>& AInventuren, bool ARueckRechnen,
                                      TDateTime AAuswertungsDatum, TDateTime AWiJahr4DB, TZEP_List<TInt32Trio>* AProdIds)
{
    bool ergebnis = false;
    ORVGuard(QStringLiteral("TZEP_KalmetSelektionSQL.Execute"), [&] {
        if (GDBConfig == 1)
            return;
        Clear_State();
        if (AInventuren.empty()) {
            ergebnis = true;
            return;
        }
        if (!AProdIds)
            return;
        FFilialen.clear();
        FInventuren = AInventuren;
        for (const TVglInvAnf_Inv& inv : AInventuren)
            if (inv.Filiale != 0 && std::find(FFilialen.begin(), FFilialen.end(), inv.Filiale) == FFilialen.end())
                FFilialen.push_back(static_cast<int16_t>(inv.Filiale));
        FWiJahr4DB = AWiJahr4DB;
        FRueckRechnen = ARueckRechnen;
        if (FRueckRechnen) {
            FRueckAuswertDatum = DateOf(AAuswertungsDatum);
            FRueckMaxZaehlDatum = FRueckAuswertDatum;
            for (const TVglInvAnf_Inv& inv : FInventuren)
                FRueckMaxZaehlDatum = std::max(FRueckMaxZaehlDatum, inv.ZaehlDatum);
        }
        TZEP_QueryThread thread(this, AProdIds);
        thread.start();
        // the window stays responsive while the database works
        while (!thread.wait(QDeadlineTimer(50)))
            ORVInfoProcessMessages(50);
        ergebnis = true;
    });
    return ergebnis;
}

QString TZEP_KalmetSelektionSQL::SQL_Query_Get(TConnectorTyp AConnectorTyp)
{
    QString text;
    ORVGuard(QStringLiteral("TZEP_KalmetSelektionSQL.SQL_Query_Get"), [&] {
        ParameterFelderClear();
        text = Command_Add_With_Union(text, SQL_Query_IV_Get(AConnectorTyp));
        text = Command_Add_With_Union(text, SQL_Query_IZNS_Get(AConnectorTyp));
        text = Command_Add_With_Union(text, SQL_Query_BNE_Get(AConnectorTyp));
        text = Command_Add_With_Union(text, SQL_Query_LST_Get(AConnectorTyp));
        ORVProgramm().ZusatzinfoAddOrUpdate(this, text);
    });
    return text;
}

QString TZEP_KalmetSelektionSQL::Anfang(const TInt32TrioDatenFeld& id, TDatei datei) const
{
    const QStringList p = id.Columns();
    return QStringLiteral("SELECT ") + p[0] + QStringLiteral(", ") + p[1] + QStringLiteral(", ") + p[2] + QStringLiteral(" FROM ")
        + FDateinamen[datei] + QStringLiteral(" WHERE ");
}

// (T.br = ? and T.cd = ?) or (T.br = ? and T.cd = ?) ..., branch and count date of each inventory
QString TZEP_KalmetSelektionSQL::InventurKette(const TDatenfeld& filiale, const TDatenfeld& datum, TDatei datei)
{
    const QString& t = FDateinamen[datei];
    QString kette;
    for (const TVglInvAnf_Inv& inv : FInventuren) {
        QString bedingung;
        bedingung = Command_Add_With_And(bedingung, QStringLiteral("%1.%2 = ?").arg(t, filiale.Columns().first()));
        ParameterFeldAdd_Integer(inv.Filiale);
        bedingung = Command_Add_With_And(bedingung, QStringLiteral("%1.%2 = ?").arg(t, datum.Columns().first()));
        ParameterFeldAdd_DateTime(inv.ZaehlDatum);
        kette = Command_Add_With_Or(kette, Command_Add_Klammern(bedingung));
    }
    return kette;
}

QString TZEP_KalmetSelektionSQL::SQL_Query_IV_Get(TConnectorTyp)
{
    QString teil;
    ORVGuard(QStringLiteral("TZEP_KalmetSelektionSQL.SQL_Query_IV_Get"), [&] {
        if (FInventuren.empty())
            return;
        QString text = QStringLiteral("(%1.%2 = ?)").arg(FDateinamen[dIV], FIVFile->WiJahr.Columns().first());
        ParameterFeldAdd_DateTime(FWiJahr4DB);
        text = Command_Add_With_And(text, Command_Add_Klammern(InventurKette(FIVFile->Filiale, FIVFile->ZaehlDatum, dIV)));
        teil = Anfang(FIVFile->Produkt_ID, dIV) + text;
    });
    return teil;
}

QString TZEP_KalmetSelektionSQL::SQL_Query_IZNS_Get(TConnectorTyp)
{
    QString teil;
    ORVGuard(QStringLiteral("TZEP_KalmetSelektionSQL.SQL_Query_IZNS_Get"), [&] {
        if (FInventuren.empty())
            return;
        teil = Anfang(FIZNSFile->Produkt_ID, dIZNS) + InventurKette(FIZNSFile->Filiale, FIZNSFile->ZaehlDatum, dIZNS);
    });
    return teil;
}

QString TZEP_KalmetSelektionSQL::SQL_Query_BNE_Get(TConnectorTyp)
{
    QString teil;
    ORVGuard(QStringLiteral("TZEP_KalmetSelektionSQL.SQL_Query_BNE_Get"), [&] {
        if (!FRueckRechnen || FInventuren.empty())
            return;
        const QString& t = FDateinamen[dBNE];
        const QString datum = FBNEFile->Datum.Columns().first();
        QString text = QStringLiteral("((%1.%2 >= ?) and (%1.%2 <= ?))").arg(t, datum);
        ParameterFeldAdd_DateTime(FRueckAuswertDatum);
        // the whole count day: movements carry a time of day
        ParameterFeldAdd_DateTime(EndOfTheDay(FRueckMaxZaehlDatum));
        text = Command_Add_With_And(text, Command_Add_Klammern(Command_Add_With_Or(Get_InBedingung(t, FBNEFile->Filiale, FFilialen),
                                                                                   Get_InBedingung(t, FBNEFile->Filiale2, FFilialen))));
        std::vector<int16_t> arten;
        for (TORV_ArtBewTyp_Pos pos : {abtPreisaenderung, abtLagerplatzUmbuchung, abtStatistik, abtPreiskorrektur, abtEtikettendruck})
            arten.push_back(ArtBewTyp_DbCode(pos));
        text = Command_Add_With_And(text, QStringLiteral("(not ") + Get_InBedingung(t, FBNEFile->BewArt, arten) + QLatin1Char(')'));
        teil = Anfang(FBNEFile->Produkt_ID, dBNE) + text;
    });
    return teil;
}

QString TZEP_KalmetSelektionSQL::SQL_Query_LST_Get(TConnectorTyp AConnectorTyp)
{
    QString teil;
    ORVGuard(QStringLiteral("TZEP_KalmetSelektionSQL.SQL_Query_LST_Get"), [&] {
        if (!FRueckRechnen || FInventuren.empty())
            return;
        const QString& t = FDateinamen[dLST];
        QString text = QStringLiteral("(%1.%2 = ?)").arg(t, FLSTFile->PosTyp.Columns().first());
        ParameterFeldAdd_String(QString::fromLatin1(CZEP_VerkBeleg_PosTyp_2_LstKuerzel[vbptVerkauf]), false, false, AConnectorTyp,
                                FLSTFile->PosTyp.Width());
        text = Command_Add_With_And(text, Get_InBedingung(t, FLSTFile->Filiale, FFilialen));
        const QString datum = FLSTFile->Datum.Columns().first();
        text = Command_Add_With_And(text, QStringLiteral("((%1.%2 >= ?) and (%1.%2 <= ?))").arg(t, datum));
        ParameterFeldAdd_DateTime(FRueckAuswertDatum);
        ParameterFeldAdd_DateTime(EndOfTheDay(FRueckMaxZaehlDatum));
        teil = Anfang(FLSTFile->Produkt_ID, dLST) + text;
    });
    return teil;
}

TZEP_QueryThread::TZEP_QueryThread(TZEP_KalmetSelektionSQL* AQuery, TZEP_List<TInt32Trio>* AProdIds)
{
    ORVGuard(QStringLiteral("TZEP_QueryThread.Create"), [&] {
        FKalmetSelQuery = AQuery;
        FProdIds = AProdIds;
    });
}

void TZEP_QueryThread::run()
{
    ORVGuard(QStringLiteral("TZEP_QueryThread.Execute"), [this] {
        FProdIds->Clear();
        for (bool ok = FKalmetSelQuery->Get_first(); ok; ok = FKalmetSelQuery->Get_next())
            FProdIds->Add(FKalmetSelQuery->FProdID->GetWert());
    });
    FKalmetSelQuery->Schliessen();
    TZEP_Connection::CloseThreadConnection();
}
