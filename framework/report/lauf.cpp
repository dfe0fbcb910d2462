#include "framework/report/lauf.h"

#include "framework/core/fehler.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <string_view>

struct TReportLauf::TSchritt {
    enum Art { Berichtskopf, Gruppenfuss, Gruppenkopf, Akku, Detail, Unterband, Berichtsfuss, Ende };
    Art art;
    int index;
};

struct TReportLauf::TInstanz {
    double hoehe = 0;
    bool mitNaechstem = false;
    bool umbruchVor = false;
    std::vector<TPlanElement> elemente;   // positions relative to the band's top left
};

class TReportLauf::TKontext : public TAuswertungsKontext {
public:
    TKontext(const TReportLauf& l, uint32_t haupt, int64_t unter, const std::vector<TAkku>* akkus, int seite)
        : FLauf(l), FHaupt(haupt), FUnter(unter), FAkkus(akkus), FSeite(seite)
    {
    }
    TWert SpaltenWert(int tabelle, int spalte) const override
    {
        if (tabelle == 1 && FUnter >= 0)
            return FLauf.Wert(1, static_cast<uint32_t>(FUnter), spalte);
        if (tabelle != 0 || FHaupt >= FLauf.FTabellen[0]->Anzahl())
            return {};
        return FLauf.Wert(0, FHaupt, spalte);
    }
    QString ParameterWert(const QString& name) const override
    {
        const auto it = FLauf.FEinstellungen.parameter.find(name);
        return it == FLauf.FEinstellungen.parameter.end() ? QString() : it->second;
    }
    TWert AggregatWert(int slot) const override
    {
        if (!FAkkus)
            return {};
        const TAkku& a = (*FAkkus)[slot];
        switch (FLauf.FSlots[slot].art) {
        case TAggregat::Summe:
            return TWert::AusZahl(static_cast<double>(a.summe), a.ganz);
        case TAggregat::Anzahl:
            return TWert::AusZahl(static_cast<double>(a.anzahl), true);
        case TAggregat::Min:
            return a.min;
        case TAggregat::Max:
            return a.max;
        }
        return {};
    }
    int SeitenNr() const override { return FSeite; }
    int SeitenAnzahl() const override { return FLauf.FSeitenanzahl; }
    QDate DruckDatum() const override { return FLauf.FEinstellungen.druckdatum; }
    QString TitelText() const override { return FLauf.FEinstellungen.titel; }

private:
    const TReportLauf& FLauf;
    uint32_t FHaupt;
    int64_t FUnter;
    const std::vector<TAkku>* FAkkus;
    int FSeite;
};

TReportLauf::TReportLauf(TVorlage vorlage, const std::map<QString, QString>& tabellen, TReportEinstellungen einstellungen)
    : FVorlage(std::move(vorlage)), FEinstellungen(std::move(einstellungen))
{
    const auto oeffnen = [&](const QString& name, const TBand* band) {
        for (const auto& [n, pfad] : tabellen)
            if (n.compare(name, Qt::CaseInsensitive) == 0) {
                FTabellen.push_back(std::make_unique<TDbfLeser>(pfad));
                FTabellenNamen.push_back(name);
                return;
            }
        FehlerRaise(QStringLiteral("TReportLauf"), {QStringLiteral("Vorlage %1, %2: die Tabelle %3 wurde nicht übergeben")
                                                        .arg(QFileInfo(FVorlage.datei).fileName(),
                                                             band ? band->Bezeichnung() : QStringLiteral("Bericht"), name)});
    };
    oeffnen(FVorlage.haupttabelle, nullptr);
    if (FVorlage.unterband)
        oeffnen(FVorlage.unterband->tabelle, &*FVorlage.unterband);
    FOben = FEinstellungen.randOben.value_or(FVorlage.randOben);
    FUnten = FEinstellungen.randUnten.value_or(FVorlage.randUnten);
    FLinks = FEinstellungen.randLinks.value_or(FVorlage.randLinks);
    FRechts = FEinstellungen.randRechts.value_or(FVorlage.randRechts);
    Binden();
    ReihenfolgeBilden();
    VerbindungBilden();
    FZaehlStand.akkus.resize(FSlots.size());
}

TReportLauf::~TReportLauf() = default;

void TReportLauf::BindenAusdruck(TAusdruck& wurzel, const TBand* band, int aggregatStufe)
{
    const QString ort = QStringLiteral("Vorlage %1, %2").arg(QFileInfo(FVorlage.datei).fileName(),
                                                             band ? band->Bezeichnung() : QStringLiteral("Sortierung, Gruppe oder Export"));
    wurzel.Besuchen([&](TAusdruck& a) {
        if (a.art == TAusdruck::Spalte) {
            const QString tabelle = a.name.section(QLatin1Char('.'), 0, 0);
            const QString spalte = a.name.section(QLatin1Char('.'), 1);
            a.tabelle = -1;
            for (size_t t = 0; t < FTabellenNamen.size(); ++t)
                if (FTabellenNamen[t].compare(tabelle, Qt::CaseInsensitive) == 0)
                    a.tabelle = static_cast<int>(t);
            if (a.tabelle < 0 || (a.tabelle == 1 && (!band || band->art != TBand::Unterband)))
                FehlerRaise(QStringLiteral("TReportLauf"), {QStringLiteral("%1: die Tabelle der Spalte %2 ist hier nicht verfügbar").arg(ort, a.name)});
            a.spalte = FTabellen[a.tabelle]->SpaltenIndex(spalte);
            if (a.spalte < 0)
                FehlerRaise(QStringLiteral("TReportLauf"), {QStringLiteral("%1: die Spalte %2 gibt es nicht").arg(ort, a.name)});
        } else if (a.art == TAusdruck::Aggregat) {
            if (aggregatStufe < 0)
                FehlerRaise(QStringLiteral("TReportLauf"), {QStringLiteral("%1: %2() nur in Gruppen-, Berichts- und Seitenfüßen").arg(ort, a.name)});
            a.slot = static_cast<int>(FSlots.size());
            FSlots.push_back({a.kinder.empty() ? nullptr : a.kinder[0].get(), a.aggregat, aggregatStufe});
            for (auto& k : a.kinder)
                k->Besuchen([&](TAusdruck& innen) {
                    if (innen.art == TAusdruck::Aggregat)
                        FehlerRaise(QStringLiteral("TReportLauf"), {QStringLiteral("%1: Aggregat in Aggregat").arg(ort)});
                });
        }
    });
}

void TReportLauf::Binden()
{
    for (TBand* b : FVorlage.Baender()) {
        int stufe = -1;
        if (b->art == TBand::Gruppenfuss)
            stufe = b->gruppe;
        else if (b->art == TBand::Berichtsfuss)
            stufe = static_cast<int>(FVorlage.gruppen.size());
        else if (b->art == TBand::Seitenfuss)
            stufe = SeitenStufe();
        if (b->bedingung)
            BindenAusdruck(*b->bedingung, b, stufe);
        for (TElement& e : b->elemente)
            for (const std::shared_ptr<TAusdruck>& a : {e.ausdruck, e.bedingung})
                if (a)
                    BindenAusdruck(*a, b, stufe);
        for (const TElement& e : b->elemente) {
            if (e.art != TElement::Bild)
                continue;
            const auto it = FEinstellungen.bilder.find(e.bildName);
            if (it == FEinstellungen.bilder.end())
                continue;   // a picture nobody linked stays empty
            for (size_t t = 0; t < FTabellenNamen.size(); ++t) {
                const int spalte = FTabellen[t]->SpaltenIndex(it->second.second);
                if (FTabellenNamen[t].compare(it->second.first, Qt::CaseInsensitive) == 0 && spalte >= 0)
                    FBildSpalten[e.bildName] = {static_cast<int>(t), spalte};
            }
            if (!FBildSpalten.count(e.bildName))
                FehlerRaise(QStringLiteral("TReportLauf"), {QStringLiteral("Vorlage %1, %2: das Bild %3 ist mit %4.%5 verbunden, die es nicht gibt")
                                                                .arg(QFileInfo(FVorlage.datei).fileName(), b->Bezeichnung(), e.bildName,
                                                                     it->second.first, it->second.second)});
        }
    }
    for (auto& s : FVorlage.sortierung)
        BindenAusdruck(*s, nullptr, -1);
    for (TGruppe& g : FVorlage.gruppen)
        BindenAusdruck(*g.ausdruck, nullptr, -1);
    for (TExportSpalte& s : FVorlage.export_)
        BindenAusdruck(*s.ausdruck, nullptr, -1);
}

namespace {

// A sort key as bytes whose order is the order of the values: the kind first (empty, number or
// date, text), numbers as order-preserving big-endian bits, texts as UTF-8 ending in a zero
// byte. Compact, so that sorting a long table costs a few bytes per row.
void SchluesselAnhaengen(std::vector<char>& aus, const TWert& w)
{
    const auto zahl = [&](double d) {
        uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        bits = (bits & 0x8000000000000000ull) ? ~bits : bits ^ 0x8000000000000000ull;
        for (int i = 7; i >= 0; --i)
            aus.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    };
    switch (w.art) {
    case TWert::Leer:
        aus.push_back(0);
        break;
    case TWert::Zahl:
        aus.push_back(1);
        zahl(w.zahl);
        break;
    case TWert::Datum:
        aus.push_back(1);
        zahl(static_cast<double>(w.datum.toJulianDay()));
        break;
    case TWert::Text: {
        aus.push_back(2);
        const QByteArray t = w.text.toUtf8();
        aus.insert(aus.end(), t.begin(), t.end());
        aus.push_back(0);
        break;
    }
    }
}

}

void TReportLauf::ReihenfolgeBilden()
{
    if (FVorlage.sortierung.empty())
        return;
    const uint32_t n = FTabellen[0]->Anzahl();
    std::vector<char> bytes;
    std::vector<uint32_t> anfang;
    anfang.reserve(n + 1);
    for (uint32_t s = 0; s < n; ++s) {
        anfang.push_back(static_cast<uint32_t>(bytes.size()));
        const TKontext k(*this, s, -1, nullptr, 0);
        for (const auto& a : FVorlage.sortierung)
            SchluesselAnhaengen(bytes, Auswerten(*a, k));
    }
    anfang.push_back(static_cast<uint32_t>(bytes.size()));
    FReihenfolge.resize(n);
    for (uint32_t s = 0; s < n; ++s)
        FReihenfolge[s] = s;
    // stable: rows with equal keys keep the order the build wrote them in
    std::stable_sort(FReihenfolge.begin(), FReihenfolge.end(), [&](uint32_t a, uint32_t b) {
        const std::string_view x(bytes.data() + anfang[a], anfang[a + 1] - anfang[a]);
        const std::string_view y(bytes.data() + anfang[b], anfang[b + 1] - anfang[b]);
        return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                            [](char c, char d) { return static_cast<unsigned char>(c) < static_cast<unsigned char>(d); });
    });
}

uint32_t TReportLauf::Satz(uint32_t pos) const
{
    return FReihenfolge.empty() ? pos : FReihenfolge[pos];
}

TWert TReportLauf::Wert(int tabelle, uint32_t satz, int spalte) const
{
    const QVariant v = FTabellen[tabelle]->Wert(satz, spalte);
    switch (v.metaType().id()) {
    case QMetaType::Int:
        return TWert::AusZahl(v.toInt(), true);
    case QMetaType::Double:
        return TWert::AusZahl(v.toDouble());
    case QMetaType::QDate:
        return TWert::AusDatum(v.toDate());
    default:
        return TWert::AusText(v.toString());
    }
}

int TReportLauf::ErsteGeaenderteGruppe(uint32_t pos) const
{
    const TKontext vorher(*this, Satz(pos - 1), -1, nullptr, 0), jetzt(*this, Satz(pos), -1, nullptr, 0);
    for (size_t g = 0; g < FVorlage.gruppen.size(); ++g)
        if (!Auswerten(*FVorlage.gruppen[g].ausdruck, vorher).Gleich(Auswerten(*FVorlage.gruppen[g].ausdruck, jetzt)))
            return static_cast<int>(g);
    return static_cast<int>(FVorlage.gruppen.size());
}

// The bands a row brings: the footers of the groups it closes, the headers of those it opens,
// its details and related rows; after the last row the closing footers and the report footer.
const std::vector<TReportLauf::TSchritt>& TReportLauf::Schritte(uint32_t pos)
{
    if (pos == FSchrittePos)
        return FSchritte;
    FSchrittePos = pos;
    FSchritte.clear();
    const int gruppen = static_cast<int>(FVorlage.gruppen.size());
    const uint32_t n = FTabellen[0]->Anzahl();
    if (pos == 0)
        FSchritte.push_back({TSchritt::Berichtskopf, 0});
    const int geaendert = pos == 0 ? 0 : pos == n ? 0 : ErsteGeaenderteGruppe(pos);
    if (pos > 0)
        for (int g = gruppen - 1; g >= geaendert; --g)
            FSchritte.push_back({TSchritt::Gruppenfuss, g});
    if (pos == n) {
        FSchritte.push_back({TSchritt::Berichtsfuss, 0});
        FSchritte.push_back({TSchritt::Ende, 0});
        return FSchritte;
    }
    for (int g = geaendert; g < gruppen; ++g)
        FSchritte.push_back({TSchritt::Gruppenkopf, g});
    FSchritte.push_back({TSchritt::Akku, 0});
    for (size_t d = 0; d < FVorlage.details.size(); ++d)
        FSchritte.push_back({TSchritt::Detail, static_cast<int>(d)});
    if (FVorlage.unterband)
        FSchritte.push_back({TSchritt::Unterband, 0});
    return FSchritte;
}

void TReportLauf::Akkumulieren(TStromZustand& z, uint32_t satz) const
{
    const TKontext k(*this, satz, -1, nullptr, 0);
    for (size_t s = 0; s < FSlots.size(); ++s) {
        TAkku& a = z.akkus[s];
        const TWert w = FSlots[s].argument ? Auswerten(*FSlots[s].argument, k) : TWert{};
        ++a.anzahl;
        if (FSlots[s].art == TAggregat::Summe) {
            a.summe += w.AlsZahl();
            a.ganz &= w.ganz || w.art == TWert::Leer;
        }
        if (w.art != TWert::Leer && (a.min.art == TWert::Leer || w.Kleiner(a.min)))
            a.min = w;
        if (w.art != TWert::Leer && (a.max.art == TWert::Leer || a.max.Kleiner(w)))
            a.max = w;
    }
}

bool TReportLauf::Instanz(const TBand& b, const TKontext& k, uint32_t pos, bool zeichnen, TInstanz& aus)
{
    if (b.bedingung && !Wahr(Auswerten(*b.bedingung, k)))
        return false;
    aus.hoehe = b.hoehe;
    aus.mitNaechstem = b.mitNaechstem;
    aus.umbruchVor = b.art == TBand::Gruppenkopf && FVorlage.gruppen[b.gruppe].umbruchVor;
    aus.elemente.clear();
    for (const TElement& e : b.elemente) {
        if (!zeichnen && !e.wachsen)
            continue;
        if (e.bedingung && !Wahr(Auswerten(*e.bedingung, k)))
            continue;
        TPlanElement p;
        p.art = e.art == TElement::Feld ? TElement::Text : e.art;
        p.rect = QRectF(e.x, e.y, e.b, e.h);
        p.stil = e.stil;
        p.staerke = e.staerke;
        p.fuellung = e.fuellung;
        p.umbrechen = e.wachsen;
        if (e.art == TElement::Text)
            p.text = e.text;
        else if (e.art == TElement::Feld)
            p.text = Formatieren(Auswerten(*e.ausdruck, k), e.format);
        else if (e.art == TElement::Bild) {
            const auto it = FBildSpalten.find(e.bildName);
            if (it == FBildSpalten.end())
                continue;
            p.text = AlsText(k.SpaltenWert(it->second.first, it->second.second)).trimmed();
            if (!p.text.isEmpty())
                p.bild = BildDaten(p.text, pos);
            if (p.bild.isEmpty())
                continue;   // an article without a picture
        }
        if (e.wachsen) {
            p.rect.setHeight(std::max(e.h, TextHoehe(e.stil, p.text, e.b, true)));
            aus.hoehe = std::max(aus.hoehe, e.y + p.rect.height());
        }
        if (zeichnen)
            aus.elemente.push_back(std::move(p));
    }
    return true;
}

bool TReportLauf::Naechstes(TStromZustand& z, int seite, bool zeichnen, TInstanz& aus)
{
    const uint32_t n = FTabellen[0]->Anzahl();
    for (;;) {
        const std::vector<TSchritt>& schritte = Schritte(z.pos);
        if (z.schritt >= static_cast<int>(schritte.size())) {
            ++z.pos;
            z.schritt = 0;
            z.unter = 0;
            continue;
        }
        const TSchritt s = schritte[z.schritt];
        const uint32_t satz = z.pos < n ? Satz(z.pos) : UINT32_MAX;
        const uint32_t vorheriger = z.pos > 0 ? Satz(z.pos - 1) : UINT32_MAX;
        switch (s.art) {
        case TSchritt::Ende:
            return false;
        case TSchritt::Akku:
            Akkumulieren(z, satz);
            ++z.schritt;
            continue;
        case TSchritt::Unterband: {
            const auto [von, bis] = Verwandte(satz);
            if (von + z.unter >= bis) {
                ++z.schritt;
                continue;
            }
            const uint32_t unter = von[z.unter++];
            if (Instanz(*FVorlage.unterband, TKontext(*this, satz, unter, &z.akkus, seite), z.pos, zeichnen, aus))
                return true;
            continue;
        }
        case TSchritt::Gruppenkopf: {
            ++z.schritt;
            for (size_t i = 0; i < FSlots.size(); ++i)
                if (FSlots[i].stufe == s.index)
                    z.akkus[i] = TAkku{};
            const auto& kopf = FVorlage.gruppen[s.index].kopf;
            if (kopf && Instanz(*kopf, TKontext(*this, satz, -1, &z.akkus, seite), z.pos, zeichnen, aus))
                return true;
            continue;
        }
        case TSchritt::Gruppenfuss:
        case TSchritt::Berichtsfuss: {
            ++z.schritt;
            const auto& fuss = s.art == TSchritt::Berichtsfuss ? FVorlage.berichtsfuss : FVorlage.gruppen[s.index].fuss;
            if (fuss && Instanz(*fuss, TKontext(*this, vorheriger, -1, &z.akkus, seite), z.pos, zeichnen, aus))
                return true;
            continue;
        }
        case TSchritt::Berichtskopf:
        case TSchritt::Detail: {
            ++z.schritt;
            const auto* band = s.art == TSchritt::Detail ? &FVorlage.details[s.index] : (FVorlage.berichtskopf ? &*FVorlage.berichtskopf : nullptr);
            if (band && Instanz(*band, TKontext(*this, satz, -1, &z.akkus, seite), z.pos, zeichnen, aus))
                return true;
            continue;
        }
        }
    }
}

TSeite TReportLauf::SeiteBauen(TStromZustand& z, int nr, bool zeichnen, bool& fertig)
{
    TSeite seite;
    seite.nr = nr;
    seite.von = FSeitenanzahl;
    seite.groesse = FVorlage.SeitenGroesse();
    fertig = false;
    const uint32_t n = FTabellen[0]->Anzahl();
    const uint32_t zeile = n == 0 ? UINT32_MAX : Satz(std::min(z.pos, n - 1));
    const auto setzen = [&](TInstanz& inst, double y) {
        for (TPlanElement& e : inst.elemente) {
            e.rect.translate(FLinks, y);
            seite.elemente.push_back(std::move(e));
        }
    };
    // the page footer's aggregates run over the rows of this page
    for (size_t i = 0; i < FSlots.size(); ++i)
        if (FSlots[i].stufe == SeitenStufe())
            z.akkus[i] = TAkku{};
    double y = FOben;
    TInstanz inst;
    if (FVorlage.seitenkopf && Instanz(*FVorlage.seitenkopf, TKontext(*this, zeile, -1, &z.akkus, nr), z.pos, zeichnen, inst)) {
        setzen(inst, y);
        y += inst.hoehe;
    }
    const double inhalt = y;
    double grenze = seite.groesse.height() - FUnten;
    // the footer's height first; what it shows once the page's rows are known
    TInstanz fuss;
    const bool mitFuss = FVorlage.seitenfuss && Instanz(*FVorlage.seitenfuss, TKontext(*this, zeile, -1, &z.akkus, nr), z.pos, false, fuss);
    if (mitFuss)
        grenze -= fuss.hoehe;
    for (;;) {
        const TStromZustand vorher = z;
        if (!Naechstes(z, nr, zeichnen, inst)) {
            fertig = true;
            break;
        }
        if (inst.umbruchVor && y > inhalt) {
            z = vorher;
            break;
        }
        double noetig = inst.hoehe;
        if (inst.mitNaechstem) {
            TStromZustand weiter = z;
            TInstanz naechste;
            if (Naechstes(weiter, nr, false, naechste))
                noetig += naechste.hoehe;
        }
        // a band taller than the page still goes on an empty page, so the list always ends
        if (y + noetig > grenze + 1e-9 && y > inhalt) {
            z = vorher;
            break;
        }
        setzen(inst, y);
        y += inst.hoehe;
    }
    if (mitFuss && Instanz(*FVorlage.seitenfuss, TKontext(*this, zeile, -1, &z.akkus, nr), z.pos, zeichnen, fuss))
        setzen(fuss, grenze);
    return seite;
}

bool TReportLauf::Zaehlen(int budgetMs)
{
    QElapsedTimer uhr;
    uhr.start();
    while (!FGezaehlt) {
        if (FGezaehlteSeiten % CMerkAbstand == 0)
            FSeitenAnfang.push_back(FZaehlStand);
        bool fertig;
        SeiteBauen(FZaehlStand, ++FGezaehlteSeiten, false, fertig);
        if (fertig) {
            FGezaehlt = true;
            FSeitenanzahl = FGezaehlteSeiten;
        }
        if (budgetMs >= 0 && uhr.elapsed() >= budgetMs)
            break;
    }
    return FGezaehlt;
}

int TReportLauf::Seitenanzahl()
{
    Zaehlen(-1);
    return FSeitenanzahl;
}

TSeite TReportLauf::Seite(int nr)
{
    while (!FGezaehlt && FGezaehlteSeiten < nr)
        Zaehlen(50);
    if (nr < 1 || nr > FGezaehlteSeiten)
        FehlerRaise(QStringLiteral("TReportLauf.Seite"), {QStringLiteral("Seite %1 gibt es nicht").arg(nr)});
    const int gemerkt = (nr - 1) / CMerkAbstand * CMerkAbstand + 1;
    if (FFolgeSeite < gemerkt || FFolgeSeite > nr) {
        FFolgeSeite = gemerkt;
        FFolgeStand = FSeitenAnfang[(nr - 1) / CMerkAbstand];
    }
    bool fertig;
    for (; FFolgeSeite < nr; ++FFolgeSeite)
        SeiteBauen(FFolgeStand, FFolgeSeite, false, fertig);
    TSeite s = SeiteBauen(FFolgeStand, nr, true, fertig);
    ++FFolgeSeite;
    return s;
}

uint32_t TReportLauf::Zeilen() const
{
    return FTabellen[0]->Anzahl();
}

int TReportLauf::ExportSpalten() const
{
    return FVorlage.export_.empty() ? static_cast<int>(FTabellen[0]->Spalten().size()) : static_cast<int>(FVorlage.export_.size());
}

QString TReportLauf::ExportTitel(int spalte) const
{
    return FVorlage.export_.empty() ? FTabellen[0]->Spalten()[spalte].Name : FVorlage.export_[spalte].titel;
}

TFormat TReportLauf::ExportFormat(int spalte) const
{
    return FVorlage.export_.empty() ? TFormat{} : FVorlage.export_[spalte].format;
}

TWert TReportLauf::ExportWert(uint32_t zeile, int spalte) const
{
    const uint32_t satz = Satz(zeile);
    if (FVorlage.export_.empty())
        return Wert(0, satz, spalte);
    return Auswerten(*FVorlage.export_[spalte].ausdruck, TKontext(*this, satz, -1, nullptr, 0));
}
