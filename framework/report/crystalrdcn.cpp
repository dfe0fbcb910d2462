#include "framework/report/crystalrdcn.h"

#include "framework/core/fehler.h"
#include "framework/core/uhr.h"
#include "framework/db/files/artikelbildzugriff.h"
#include "framework/dbf/crystalsets.h"
#include "framework/dbf/printfile.h"

#include <map>

namespace {

constexpr double CTwipsProMm = 56.7;

// The articles' pictures from the article master's picture table, by product id ("1.2.3"); a
// few hundred in one statement.
QHash<QString, QByteArray> ArtikelBilder(const QStringList& produktIds)
{
    constexpr qsizetype CJeAnweisung = 250;
    QHash<QString, QByteArray> bilder;
    for (qsizetype von = 0; von < produktIds.size(); von += CJeAnweisung) {
        std::map<TInt32Trio, QString, bool (*)(const TInt32Trio&, const TInt32Trio&)> gesucht(&TInt32Trio::Numerisch_Kleiner);
        std::vector<TInt32Trio> ids;
        for (const QString& text : produktIds.mid(von, CJeAnweisung)) {
            const TInt32Trio id = DbfProduktIdAusText(text);
            if (!id.IsNull() && gesucht.try_emplace(id, text).second)
                ids.push_back(id);
        }
        for (const auto& [id, bild] : Artikelbild_Lesen(ids, QStringLiteral("TCrystalRDCn.Bilder")))
            bilder.insert(gesucht.at(id), bild);
    }
    return bilder;
}

}

TCrystalRDCn::TCrystalRDCn(QWidget* eltern) : FEltern(eltern)
{
    Clear();
}

TCrystalRDCn::~TCrystalRDCn() = default;

void TCrystalRDCn::Clear()
{
    FVorlage.reset();
    FVorlagenPfad.clear();
    FTabellen.clear();
    FEinstellungen = TReportEinstellungen{};
    FCaption.clear();
    FExportDatei.clear();
    FExportAktiv = true;
    FKomAktiv = false;
    FKomGrund.clear();
    FFensterZustand = Qt::WindowNoState;
}

void TCrystalRDCn::SetReport(const QString& pfad, bool, TDBFFiles_4_Crystal& tabellen)
{
    FVorlage = VorlageLesen(pfad);
    FVorlagenPfad = pfad;
    FTabellen.clear();
    for (const auto& [klasse, tabelle] : tabellen.Tabellen())
        FTabellen[klasse] = tabelle->Pfad();
}

void TCrystalRDCn::SetParameter(int, const QString& name, const QString& wert)
{
    FEinstellungen.parameter[name] = wert;
}

void TCrystalRDCn::SetTopMargin(int, int twips)
{
    FEinstellungen.randOben = twips / CTwipsProMm;
}

void TCrystalRDCn::SetBottomMargin(int, int twips)
{
    FEinstellungen.randUnten = twips / CTwipsProMm;
}

void TCrystalRDCn::SetLeftMargin(int, int twips)
{
    FEinstellungen.randLinks = twips / CTwipsProMm;
}

void TCrystalRDCn::SetRightMargin(int, int twips)
{
    FEinstellungen.randRechts = twips / CTwipsProMm;
}

void TCrystalRDCn::AddPictureConnectionByName(int, const QString& bild, const QString& spalte)
{
    // "INVLFile.Produkt_ID": the record file's class names the table
    QString tabelle = spalte.section(QLatin1Char('.'), 0, 0);
    if (tabelle.endsWith(QLatin1String("File"), Qt::CaseInsensitive))
        tabelle.chop(4);
    FEinstellungen.bilder[bild] = {tabelle, spalte.section(QLatin1Char('.'), 1)};
}

void TCrystalRDCn::SetViewerCaption(const QString& caption)
{
    FCaption = caption;
}

void TCrystalRDCn::SetTitle(int, const QString& titel)
{
    FEinstellungen.titel = titel;
}

void TCrystalRDCn::SetExportDiskfileName(const QString& pfad)
{
    FExportDatei = pfad;
}

void TCrystalRDCn::SetEnableExportAction(bool an)
{
    FExportAktiv = an;
}

void TCrystalRDCn::SetEnableKomAction(bool an)
{
    FKomAktiv = an;
}

void TCrystalRDCn::SetViewerWindowState(Qt::WindowStates zustand)
{
    FFensterZustand = zustand;
}

std::unique_ptr<TReportLauf> TCrystalRDCn::LaufBilden() const
{
    if (!FVorlage)
        FehlerRaise(QStringLiteral("TCrystalRDCn"), {QStringLiteral("Es ist kein Report gesetzt.")});
    TReportEinstellungen e = FEinstellungen;
    e.druckdatum = TDateTime_ToQDate(orv_Date());
    e.bilderLaden = ArtikelBilder;
    return std::make_unique<TReportLauf>(*FVorlage, FTabellen, std::move(e));
}

void TCrystalRDCn::Export(const QString& pfad, TExportFormat format, const TExportFortschritt& fortschritt)
{
    std::unique_ptr<TReportLauf> lauf = LaufBilden();
    ReportExportieren(*lauf, pfad, format, fortschritt);
}
