#include "demo/bulkinsert.h"
#include "demo/demogenerator.h"

#include "framework/article/eanzugriff.h"
#include "framework/db/datenfeld.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace {


QByteArray Bild(int farbe, int form)
{
    QImage img(48, 48, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor::fromHsv(farbe % 360, 160, 200));
    p.setPen(Qt::NoPen);
    if (form == 0)   // a shoe-like shape
        p.drawRoundedRect(6, 24, 36, 14, 6, 6), p.drawRect(6, 12, 12, 16);
    else
        p.drawEllipse(8, 8, 32, 32);
    p.end();
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return png;
}

// An in-store EAN-13 (prefix 2) of one size of an article: unique per seed, article and size.
QString Ean(uint64_t seed, int artikel, int groesse)
{
    const QString ziffern = QStringLiteral("2%1%2%3")
                                .arg(seed % 100, 2, 10, QLatin1Char('0'))
                                .arg(artikel, 7, 10, QLatin1Char('0'))
                                .arg(groesse - 1, 2, 10, QLatin1Char('0'));
    return ziffern + QString::number(EAN_Pruefziffer(ziffern));
}

}

void TDemoGenerator::Artikelstamm(QSqlDatabase& db)
{
    const QStringList farben = {"schwarz", "braun", "weiß", "blau", "rot", "grau", "beige"};
    const QStringList material = {"Leder", "Velours", "Textil", "Synthetik", "Baumwolle"};
    const QDate start = FP.Heute.addYears(-2);
    const TDateTime preisAenderung = Tag(FP.Heute.addDays(-200));

    TBulkInsert art(db, "artikel",
                    {"produkt_id_1", "produkt_id_2", "produkt_id_3", "artnr", "bezeichnung", "wgn", "ggkey", "grvon", "grbis",
                     "partner1_1", "partner1_2", "liefartnr", "partner2_1", "partner2_2", "liefartnr2", "mwstkz", "artkz",
                     "merkmal1", "merkmal2", "merkmal3", "merkmal4", "merkmal5", "merkmal6", "saison"});
    TBulkInsert preis(db, "preis", {"produkt_id_1", "produkt_id_2", "produkt_id_3", "preisart", "filiale", "slot_von",
                                    "slot_bis", "preis", "strp", "gueltig_ab"});
    TBulkInsert hist(db, "preishist", {"produkt_id_1", "produkt_id_2", "produkt_id_3", "datum", "vorgang", "preisart",
                                       "preis_alt", "preis_neu"});
    TBulkInsert bild(db, "artikelbild", {"produkt_id_1", "produkt_id_2", "produkt_id_3", "bild"});
    TBulkInsert renr(db, "renr", {"produkt_id_1", "produkt_id_2", "produkt_id_3", "renr", "renr2"});
    TBulkInsert filkz(db, "artikel_filiale", {"produkt_id_1", "produkt_id_2", "produkt_id_3", "filiale"});
    TBulkInsert ean(db, "ean", {"ean", "produkt_id_1", "produkt_id_2", "produkt_id_3", "groesse"});

    QStringList saisons;
    for (int jahr = FP.Heute.year() - 3; jahr <= FP.Heute.year(); ++jahr)
        saisons << QStringLiteral("F%1").arg(jahr % 100, 2, 10, QLatin1Char('0'))
                << QStringLiteral("H%1").arg(jahr % 100, 2, 10, QLatin1Char('0'));

    for (int n = 0; n < FP.Artikel; ++n) {
        TArtikel a;
        a.Id = {1, 10000 + n, 1};
        a.Wgn = FWarengruppen[n % FWarengruppen.size()];
        const QString abt = a.Wgn.left(2);
        a.ArtNr = QStringLiteral("%1-%2").arg(a.Wgn).arg(n + 1, 5, 10, QLatin1Char('0'));
        int von, laenge;
        if (abt == "DA") {
            a.Raster = 0, von = Zufall(1, 2), laenge = Zufall(6, 8);
        } else if (abt == "HE") {
            a.Raster = 0, von = Zufall(4, 6), laenge = Zufall(6, 7);
        } else if (abt == "KI") {
            a.Raster = 1, von = Zufall(0, 2), laenge = Zufall(16, 21);
        } else if (abt == "TX") {
            a.Raster = 2, von = Zufall(0, 1), laenge = Zufall(4, 6);
        } else {
            a.Raster = 3, von = 0, laenge = 1;
        }
        a.GrVon = von + 1;
        a.GrBis = von + laenge;
        a.EK = Zufall(800, 7000) / 100.0 + (Chance(10) ? 0.005 : 0.0);
        a.SlotGross = 0;
        a.EKGross = 0;
        if (a.Raster <= 1 && Chance(30)) {
            a.SlotGross = von + laenge / 2;
            a.EKGross = a.EK + 5.0;
        }
        a.VK = std::ceil(a.EK * 2.2) - 0.05;
        a.VK2 = a.VK * 0.85;
        a.MwstKz = abt == "AC" && Chance(30) ? 2 : 1;
        a.Saison = saisons[Zufall(0, static_cast<int>(saisons.size()) - 1)];
        const QString farbe = farben[Zufall(0, static_cast<int>(farben.size()) - 1)];
        a.Bezeichnung = QStringLiteral("%1 %2 %3").arg(a.Wgn.left(2) == "TX" ? "Shirt" : abt == "AC" ? "Gürtel" : "Schuh", farbe).arg(n + 1);
        for (int f : FFilialen)
            if (Chance(65))
                a.Filialen.push_back(f);
        if (a.Filialen.empty())
            a.Filialen.push_back(FFilialen[n % FFilialen.size()]);

        const int lief1 = Zufall(1, 12);
        const bool zweiter = Chance(30);
        const int lief2 = lief1 % 12 + 1;
        art.Zeile({a.Id.Int1, a.Id.Int2, a.Id.Int3, a.ArtNr, a.Bezeichnung, a.Wgn, FRaster[a.Raster].GGKey, a.GrVon, a.GrBis,
                   1, 1000 + lief1, QStringLiteral("L%1-%2").arg(lief1).arg(Zufall(1000, 99999)), zweiter ? 1 : 0,
                   zweiter ? 1000 + lief2 : 0, zweiter ? QStringLiteral("L%1-%2").arg(lief2).arg(Zufall(1000, 99999)) : QString(""),
                   a.MwstKz, static_cast<int>(Chance(10) ? u'S' : u'N'), farbe,
                   material[Zufall(0, static_cast<int>(material.size()) - 1)], QStringLiteral("Form %1").arg(Zufall(1, 9)),
                   Chance(50) ? "Einlage" : "", QStringLiteral("Modell %1").arg(Zufall(100, 999)), "", a.Saison});

        const TDateTime ab = Tag(start.addDays(-Zufall(0, 30)));
        const auto P = [&](int art, int sv, int sb, double p, int strp, TDateTime g, int filiale = 0) {
            preis.Zeile({a.Id.Int1, a.Id.Int2, a.Id.Int3, art, filiale, sv, sb, p, strp, SqlDatum(g)});
        };
        if (a.SlotGross > 0) {
            P(1, a.GrVon - 1, a.SlotGross - 1, a.EK, 0, ab);
            P(1, a.SlotGross, a.GrBis - 1, a.EKGross, 0, ab);
        } else {
            P(1, a.GrVon - 1, a.GrBis - 1, a.EK, 0, ab);
        }
        P(2, a.GrVon - 1, a.GrBis - 1, a.VK, 0, ab);
        P(3, a.GrVon - 1, a.GrBis - 1, a.VK2, 0, ab);
        hist.Zeile({a.Id.Int1, a.Id.Int2, a.Id.Int3, SqlDatum(ab), "NE", 2, 0.0, a.VK});
        if (Chance(20)) {   // marked down
            const double neu = std::ceil(a.VK * 0.7) - 0.05;
            P(2, a.GrVon - 1, a.GrBis - 1, neu, 1, preisAenderung);
            hist.Zeile({a.Id.Int1, a.Id.Int2, a.Id.Int3, SqlDatum(preisAenderung), "PA", 2, a.VK, neu});
        }
        if (n % 10 == 3)   // every tenth article sells for less in its first branch
            P(2, a.GrVon - 1, a.GrBis - 1, a.VK - 2.0, 0, ab, a.Filialen.front());
        bild.Zeile({a.Id.Int1, a.Id.Int2, a.Id.Int3, Bild(n * 37, a.Raster == 2 ? 1 : 0)});
        if (Chance(50))
            renr.Zeile({a.Id.Int1, a.Id.Int2, a.Id.Int3, 400000 + n, Zufall(1, 99)});
        for (int f : a.Filialen)
            if (Chance(80))
                filkz.Zeile({a.Id.Int1, a.Id.Int2, a.Id.Int3, f});
        for (int g = a.GrVon; g <= a.GrBis; ++g)
            ean.Zeile({Ean(FP.Seed, n, g), a.Id.Int1, a.Id.Int2, a.Id.Int3, g});
        FArtikel.push_back(std::move(a));
    }
    for (TBulkInsert* b : {&art, &preis, &hist, &bild, &renr, &filkz, &ean})
        b->Ende();
}
