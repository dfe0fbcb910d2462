#include "inventurliste/inventursaetze.h"

#include "inventurliste/inventurliste.h"

namespace {

// without shelves only the totals are read: the shelf records are most of the file
void ZaehlScan(Tiznsfile& z, const TInventurSaetze::TZaehlKey& key)
{
    const auto& [zaehlDatum, filiale, mitRegalen] = key;
    z.SetKeyNum(Tiznsfile::StandardKeyNum);
    z.ZaehlDatum.SetKeyWertAndFilter(zaehlDatum);
    z.Filiale.SetFilterMinMax(filiale);
    if (!mitRegalen)
        z.Satzart.SetFilterMinMax(QChar('G'));
}

void SollScan(Tivfile& iv, const TInventurSaetze::TSollKey& key)
{
    const auto& [wiJahr, zaehlDatum, filiale] = key;
    iv.SetKeyNum(Tivfile::StandardKeyNum);
    iv.WiJahr.SetKeyWertAndFilter(wiJahr);
    iv.ZaehlDatum.SetKeyWertAndFilter(zaehlDatum);
    iv.Filiale.SetKeyWertAndFilter(filiale);
}

// The erroneous sales a count date corrects: those of the branch from 2000 up to the date.
void FvkScan(TFvkFile& f, const TInventurSaetze::TFvkKey& key)
{
    const auto& [zaehlDatum, filiale] = key;
    f.SetKeyNum(TFvkFile::StandardKeyNum);
    f.Filiale.SetFilterMinMax(filiale);
    f.Datum.SetFilterMin(FVKKorrekturBeginn());
    f.Datum.SetFilterMax(zaehlDatum);
    f.Vorgangsart.SetFilterMinMax(QChar('F'));
    f.Belegart.SetFilterMinMax(QStringLiteral("23"));
}

}

TInventurSaetze::TInventurSaetze() : Zaehl(&ZaehlScan), Soll(&SollScan), Fvk(&FvkScan)
{
}

void TInventurSaetze::Vorladen(const std::vector<TInt32Trio>& ids, const std::vector<TInventurSchluessel>& inventuren)
{
    ZaehlVorladen(ids, inventuren);
    SollVorladen(ids, inventuren);
}

void TInventurSaetze::ZaehlVorladen(const std::vector<TInt32Trio>& ids, const std::vector<TInventurSchluessel>& inventuren)
{
    Zaehl.Leeren();
    for (const TInventurSchluessel& i : inventuren)
        Zaehl.Vorladen({i.ZaehlDatum, i.Filiale, i.MitRegalen}, ids);
}

void TInventurSaetze::SollVorladen(const std::vector<TInt32Trio>& ids, const std::vector<TInventurSchluessel>& inventuren)
{
    Soll.Leeren();
    Fvk.Leeren();
    for (const TInventurSchluessel& i : inventuren) {
        Soll.Vorladen({i.WiJahr, i.ZaehlDatum, i.Filiale}, ids);
        Fvk.Vorladen({i.ZaehlDatum, i.Filiale}, ids);
        FvkZaehltagLaden({i.ZaehlDatum, i.Filiale});
    }
}

void TInventurSaetze::VorratTauschen(TInventurSaetze& andere)
{
    ZaehlTauschen(andere);
    SollTauschen(andere);
}

void TInventurSaetze::ZaehlTauschen(TInventurSaetze& andere)
{
    Zaehl.Tauschen(andere.Zaehl);
}

void TInventurSaetze::SollTauschen(TInventurSaetze& andere)
{
    Soll.Tauschen(andere.Soll);
    Fvk.Tauschen(andere.Fvk);
    FFvkZaehltag.merge(andere.FFvkZaehltag);
}

void TInventurSaetze::FvkZaehltagLaden(const TFvkKey& key)
{
    if (!FFvkZaehltag.count(key))
        FFvkZaehltag.emplace(key, FVK_ZaehltagLesen(key.first, key.second, QStringLiteral("TfrmKalmetMain.FVKKorrektur")));
}

const std::vector<TFvkSatz>& TInventurSaetze::FvkZaehltag(const TFvkKey& key, const TInt32Trio& id)
{
    static const std::vector<TFvkSatz> keine;
    FvkZaehltagLaden(key);
    const TFvkZaehltag& tag = FFvkZaehltag.at(key);
    const auto it = tag.find(id);
    return it == tag.end() ? keine : it->second;
}
