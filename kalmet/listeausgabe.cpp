#include "kalmet/listeausgabe.h"

#include "framework/core/fehler.h"
#include "framework/db/connection.h"
#include "framework/dbf/crystalsets.h"
#include "framework/report/crystalrdcn.h"
#include "framework/report/export.h"
#include "inventurliste/bau.h"
#include "inventurliste/inventurliste.h"
#include "inventurliste/reportstart.h"
#include "inventurliste/reportvorbereiten.h"
#include "kalmet/befehl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <utility>
#include <vector>

namespace {

// Moves the finished tables to their names in ziel; a table there before is replaced.
void TabellenAblegen(TDBFFiles_4_Crystal& tabellen, const QString& ziel)
{
    for (const auto& [klasse, name] : {std::pair{"INVL", "invl.dbf"}, {"INVR", "invr.dbf"}, {"INVU", "invue.dbf"}}) {
        const QString von = tabellen.Tabelle(QLatin1String(klasse))->Pfad();
        const QString nach = QDir(ziel).filePath(QLatin1String(name));
        QFile::remove(nach);
        if (!QFile::rename(von, nach))
            FehlerRaise(QStringLiteral("TabellenAblegen"), {QStringLiteral("%1 kann nicht geschrieben werden").arg(nach)});
    }
}


// Files written under "<name>.teil" that take their names together; what was not placed is
// removed.
class TTeildateien {
public:
    TTeildateien() = default;
    TTeildateien(const TTeildateien&) = delete;
    TTeildateien& operator=(const TTeildateien&) = delete;
    ~TTeildateien()
    {
        for (const auto& [teil, pfad] : FDateien)
            QFile::remove(teil);
    }
    // The name to write the file of pfad under.
    QString Neu(const QString& pfad)
    {
        FDateien.emplace_back(pfad + QStringLiteral(".teil"), pfad);
        return FDateien.back().first;
    }
    void Ablegen()
    {
        for (const auto& [teil, pfad] : FDateien) {
            QFile::remove(pfad);
            if (!QFile::rename(teil, pfad))
                FehlerRaise(QStringLiteral("ListeAusgeben"), {QStringLiteral("%1 kann nicht geschrieben werden").arg(pfad)});
        }
        FDateien.clear();
    }

private:
    std::vector<std::pair<QString, QString>> FDateien;
};

}

std::vector<TAusgabe> Ausgaben(const QCommandLineParser& p, bool pflicht)
{
    std::vector<TAusgabe> r;
    for (const auto& [option, format] : {std::pair{"pdf", TExportFormat::Pdf}, {"csv", TExportFormat::Csv}, {"xlsx", TExportFormat::Xlsx}}) {
        if (!p.optionNames().contains(QLatin1String(option)))
            continue;
        const QString pfad = p.value(QLatin1String(option));
        const QString name = QStringLiteral("--") + QLatin1String(option);
        const QFileInfo info(pfad);
        if (pfad.isEmpty() || info.isDir())
            Falsch(name, QStringLiteral("\"%1\" ist kein Dateiname").arg(pfad));
        if (!QDir().mkpath(info.absolutePath()) || !QFileInfo(info.absolutePath()).isWritable())
            Falsch(name, QStringLiteral("in %1 kann nicht geschrieben werden").arg(info.absolutePath()));
        try {
            ExportZielPruefen(pfad);
        } catch (const EORVFehler& e) {
            Falsch(name, e.Texts().join(QLatin1Char(' ')));
        }
        r.push_back({pfad, format});
    }
    if (p.optionNames().contains(QStringLiteral("tables"))) {
        const QString ziel = p.value(QStringLiteral("tables"));
        if (!QDir().mkpath(ziel) || !QFileInfo(ziel).isWritable())
            Falsch(QStringLiteral("--tables"), QStringLiteral("in %1 kann nicht geschrieben werden").arg(ziel));
        r.push_back({ziel, std::nullopt});
    }
    if (r.empty() && pflicht)
        Falsch(QStringLiteral("--pdf"), QStringLiteral("es ist keine Ausgabe verlangt (--pdf, --csv, --xlsx oder --tables)"));
    return r;
}

int ListeAusgeben(TInventurliste& liste, const TDruckConfig& c, TDateTime auswertung, int32_t filiale,
                  const std::vector<TAusgabe>& ausgaben)
{
    const auto tabellen = std::find_if(ausgaben.begin(), ausgaben.end(), [](const TAusgabe& a) { return !a.Format; });
    // the tables are written beside their place and take their names only when complete
    const QString ziel = tabellen == ausgaben.end() ? QDir::tempPath() : tabellen->Pfad;
    QTemporaryDir arbeit(QDir(ziel).filePath(QStringLiteral(".kalmet-XXXXXX")));
    if (!arbeit.isValid())
        Falsch(QStringLiteral("--tables"), QStringLiteral("in %1 kann nicht geschrieben werden").arg(ziel));
    VorlagePruefen(liste);
    int artikel = 0;
    TInventurlisteBau bau(liste, c, auswertung);
    const bool fertig = bau.Ausfuehren(arbeit.path(), [&](const QString& artNr) {
        if (++artikel % 1000 == 0)
            Melden(QStringLiteral("%1 Artikel berechnet (zuletzt %2)").arg(artikel).arg(artNr));
    });
    if (!fertig) {
        Melden(QStringLiteral("die Liste konnte nicht vollständig erstellt werden; es wurde nichts abgelegt: %1").arg(bau.Fehler()));
        return 1;
    }
    Melden(QStringLiteral("%1 Artikel berechnet").arg(artikel));
    TCrystalRDCn crystal;
    ReportVorbereiten(crystal, ReportStartBilden(liste, filiale, liste.RR(), auswertung), liste.CrystalSets(), -1);
    // every export is written beside its place under a name of its own; all take their names
    // only when all are complete and the database was there to the end
    TTeildateien teile;
    for (const TAusgabe& a : ausgaben)
        if (a.Format)
            crystal.Export(teile.Neu(a.Pfad), *a.Format, [&](qint64 erledigt, qint64 gesamt) {
                if (erledigt % 100 == 0)
                    Melden(QStringLiteral("%1: %2 von %3").arg(QFileInfo(a.Pfad).fileName()).arg(erledigt).arg(gesamt));
                return true;
            });
    TZEP_Connection::Pruefen(QStringLiteral("ListeAusgeben"));
    teile.Ablegen();
    for (const TAusgabe& a : ausgaben) {
        if (!a.Format)
            TabellenAblegen(liste.CrystalSets(), a.Pfad);
        Melden(QStringLiteral("geschrieben: %1").arg(QFileInfo(a.Pfad).absoluteFilePath()));
    }
    return 0;
}
