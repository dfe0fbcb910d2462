#include "demo/bulkinsert.h"
#include "demo/demogenerator.h"

#include "framework/article/besttyp.h"
#include "framework/db/datenfeld.h"

namespace {


struct TBestTypDef {
    int Typ;
    const char* Text;
    bool Gezaehlt;
};

const TBestTypDef CBestTypen[] = {
    {1, "Verkaufsbestand", true}, {2, "Lagerbestand", true},   {3, "Schaufenster", true},
    {4, "Filialreserve", true},   {5, "Zentrallager", true},   {6, "Aktionsware", true},
    {7, "Ausstellung", true},     {8, "Kommission", false},    {9, "Reparatur", true},
    {10, "Muster", false},        {11, "Defekt", true},        {12, "Reserviert", false},
    {13, "Transit", false},       {14, "Kundenretoure", true}, {15, "Leihgabe", false},
    {16, "Sonstige", true},
};

}

void TDemoGenerator::Stammdaten(QSqlDatabase& db)
{
    // size grids: women's/men's shoes, children's shoes (more than 17 sizes), apparel, one size
    FRaster = {{1, "Schuhe 35-47", {}, {}}, {2, "Kinderschuhe 18-40", {}, {}}, {3, "Konfektion XS-3XL", {}, {}},
               {4, "Einheitsgröße", {0}, {"OS"}}};
    for (int g = 35; g <= 47; ++g) {
        FRaster[0].Groessen.push_back(g * 10);
        FRaster[0].Texte.push_back(QString::number(g));
    }
    for (int g = 18; g <= 40; ++g) {
        FRaster[1].Groessen.push_back(g * 10);
        FRaster[1].Texte.push_back(QString::number(g));
    }
    const char* konf[] = {"XS", "S", "M", "L", "XL", "XXL", "3XL"};
    for (int i = 0; i < 7; ++i) {
        FRaster[2].Groessen.push_back(i + 1);
        FRaster[2].Texte.push_back(konf[i]);
    }
    TBulkInsert gg(db, "ggtab", {"ggkey", "bezeichnung"});
    TBulkInsert ggg(db, "ggtab_groesse", {"ggkey", "groesse", "idx", "text"});
    for (const TRaster& r : FRaster) {
        gg.Zeile({r.GGKey, r.Name});
        for (size_t i = 0; i < r.Groessen.size(); ++i)
            ggg.Zeile({r.GGKey, r.Groessen[i], static_cast<int>(i), r.Texte[i]});
    }
    gg.Ende();
    ggg.Ende();

    // product groups: six-character codes, the first two letters tell the department
    TBulkInsert wgn(db, "wgn", {"wgn", "bezeichnung"});
    const std::pair<const char*, const char*> abteilungen[] = {
        {"DA", "Damenschuhe"}, {"HE", "Herrenschuhe"}, {"KI", "Kinderschuhe"}, {"TX", "Textil"}, {"AC", "Accessoires"}};
    for (const auto& [kurz, text] : abteilungen)
        for (int n = 1; n <= 4; ++n) {
            const QString code = QStringLiteral("%1%2").arg(QLatin1String(kurz)).arg(1000 + n);
            FWarengruppen.push_back(code);
            wgn.Zeile({code, QStringLiteral("%1 %2").arg(QLatin1String(text)).arg(n)});
        }
    wgn.Ende();

    TBulkInsert saison(db, "saison", {"kurz", "bezeichnung", "beginn"});
    for (int jahr = FP.Heute.year() - 3; jahr <= FP.Heute.year(); ++jahr) {
        const int yy = jahr % 100;
        saison.Zeile({QStringLiteral("F%1").arg(yy, 2, 10, QLatin1Char('0')), QStringLiteral("Frühjahr %1").arg(jahr), SqlDatum(EncodeDate(jahr, 2, 1))});
        saison.Zeile({QStringLiteral("H%1").arg(yy, 2, 10, QLatin1Char('0')), QStringLiteral("Herbst %1").arg(jahr), SqlDatum(EncodeDate(jahr, 8, 1))});
    }
    saison.Ende();

    TBulkInsert fil(db, "filiale", {"nr", "name", "lv_benutzen"});
    const char* orte[] = {"Hamburg", "Bremen", "Hannover", "Kiel", "Lübeck", "Rostock", "Schwerin", "Oldenburg"};
    for (int f = 1; f <= FP.Filialen; ++f) {
        FFilialen.push_back(f);
        const bool lv = f == std::min(3, FP.Filialen);   // one branch keeps stock per storage location
        if (lv)
            FLagerplatzFiliale = f;
        fil.Zeile({f, QStringLiteral("Filiale %1").arg(QLatin1String(orte[(f - 1) % 8])), lv ? 1 : 0});
    }
    fil.Ende();

    TBulkInsert lief(db, "lieferant", {"gep_1", "gep_2", "liefnr", "name"});
    for (int l = 1; l <= 12; ++l)
        lief.Zeile({1, 1000 + l, 70000 + l, QStringLiteral("Lieferant %1 GmbH").arg(l)});
    lief.Ende();

    TBulkInsert mwst(db, "mwst", {"mwstkz", "gueltig_ab", "satz"});
    mwst.Zeile({1, SqlDatum(EncodeDate(2007, 1, 1)), 19.0});
    mwst.Zeile({1, SqlDatum(EncodeDate(2020, 7, 1)), 16.0});
    mwst.Zeile({1, SqlDatum(EncodeDate(2021, 1, 1)), 19.0});
    mwst.Zeile({2, SqlDatum(EncodeDate(2007, 1, 1)), 7.0});
    mwst.Zeile({2, SqlDatum(EncodeDate(2020, 7, 1)), 5.0});
    mwst.Zeile({2, SqlDatum(EncodeDate(2021, 1, 1)), 7.0});
    mwst.Ende();

    // write-down by the age of the article's season in half-years, per product-group pattern
    TBulkInsert abw(db, "abwregel", {"wgn_muster", "saisonalter_ab", "prozent"});
    abw.Zeile({"*", 0, 0});
    abw.Zeile({"*", 2, 20});
    abw.Zeile({"*", 4, 50});
    abw.Zeile({"*", 6, 100});
    abw.Zeile({"AC*", 2, 10});
    abw.Ende();

    TBulkInsert bt(db, "besttyp", {"besttyp", "zeichen", "bezeichnung", "istgezaehlt"});
    for (const TBestTypDef& b : CBestTypen)
        bt.Zeile({b.Typ, QString(ArtBestTyp_2_Char(b.Typ)), b.Text, b.Gezaehlt ? 1 : 0});
    bt.Ende();

    TBulkInsert par(db, "parameter", {"name", "wert"});
    par.Zeile({"REGANR", "J"});
    par.Zeile({"RTYP", "1"});
    par.Zeile({"FREIGABE_AB_EK", "1000"});   // larger differences need the right "pzf"
    par.Ende();

    // the message catalogue of the inventory module (texts of our own)
    TBulkInsert meldung(db, "meldung", {"modul", "nr", "text"});
    meldung.Zeile({"KALMET", 1000, "Es ist keine Inventur markiert. Bitte markieren Sie mindestens eine Inventur."});
    meldung.Zeile({"KALMET", 1001, "Die Werte der markierten Inventuren weichen um 5 % oder mehr voneinander ab. "
                                   "Wollen Sie trotzdem fortfahren?"});
    meldung.Zeile({"KALMET", 1002, "Wollen Sie die markierten Inventuren jetzt wirklich buchen?"});
    meldung.Zeile({"KALMET", 1003, "Mindestens eine der markierten Inventuren ist nicht zur Buchung offen."});
    meldung.Zeile({"KALMET", 1007, "In einer Filiale mit lagerplatzbezogener Bestandsführung gibt es noch Differenzen "
                                   "oder Fehlverkäufe. Die Buchung wird nicht ausgeführt."});
    meldung.Zeile({"ZOLMIK", 1000, "Sollen die Sollmengen jetzt als Zählmengen übernommen werden?"});
    meldung.Zeile({"ZOLMIK", 1001, "Es ist keine Inventur markiert oder ausgewählt."});
    meldung.Zeile({"ZOLMIK", 1002, "Bei der Soll-Ist-Übernahme werden alle bisherigen Zählungen dieser Inventur verworfen."});
    meldung.Ende();

    TBulkInsert man(db, "mandant", {"nr_1", "nr_2", "text", "erster"});
    man.Zeile({1, 1, "Schuhhaus Nord GmbH", 1});
    man.Ende();

    // users: the generating user and "demo" hold every right, "lager" may not book,
    // "kasse" may not take the target over, "filialleitung" may book but not approve large
    // differences
    QStringList alle = {"demo"};
    if (!FP.Benutzer.isEmpty() && FP.Benutzer != "demo")
        alle.prepend(FP.Benutzer);
    TBulkInsert ben(db, "benutzer", {"name", "vollname"});
    TBulkInsert recht(db, "benutzerrecht", {"benutzer", "recht"});
    for (const QString& b : alle) {
        ben.Zeile({b, b == "demo" ? QStringLiteral("Demo-Benutzer") : b});
        for (const char* r : {"pz{", "pz|", "psv", "pzf"})
            recht.Zeile({b, r});
    }
    ben.Zeile({"lager", "Lager ohne Buchungsrecht"});
    recht.Zeile({"lager", "pz{"});
    recht.Zeile({"lager", "psv"});
    ben.Zeile({"kasse", "Kasse ohne Soll=Ist"});
    recht.Zeile({"kasse", "pz{"});
    recht.Zeile({"kasse", "pz|"});
    ben.Zeile({"filialleitung", "Filialleitung ohne Freigabe"});
    recht.Zeile({"filialleitung", "pz{"});
    recht.Zeile({"filialleitung", "pz|"});
    ben.Ende();
    recht.Ende();
}
