#pragma once

#include "framework/dbf/dbf.h"

#include <QFile>
#include <QTemporaryDir>

#include <map>

// A small main table H (Gruppe, Nr, Wert, Datum) and a related table N (Nr, Regal) in a
// temporary folder, and templates written there.
class TBerichtDaten {
public:
    TBerichtDaten()
    {
        TDbf h(Pfad("h.dbf"), {DbfText("Gruppe", 10), DbfInteger("Nr"), DbfDouble("Wert"), DbfDatum("Datum")}, {2026, 1, 1});
        h.Anfuegen({"A", 1, 10.5, QDate(2026, 3, 1)});
        h.Anfuegen({"A", 2, 20.25, QDate(2026, 3, 2)});
        h.Anfuegen({"B", 3, 2.675, QDate(2026, 3, 3)});
        h.Anfuegen({"B", 4, -4.0, QDate()});
        h.Anfuegen({"C", 5, 1234.5, QDate(2026, 3, 5)});
        h.Schliessen();
        TDbf n(Pfad("n.dbf"), {DbfInteger("Nr"), DbfInteger("Regal")}, {2026, 1, 1});
        n.Anfuegen({2, 11});
        n.Anfuegen({5, 51});
        n.Anfuegen({2, 12});
        n.Schliessen();
    }

    QString Pfad(const QString& datei) const { return FDir.filePath(datei); }
    std::map<QString, QString> Tabellen() const { return {{"H", Pfad("h.dbf")}, {"N", Pfad("n.dbf")}}; }

    // A template with the given bands inside <bericht haupttabelle="H">.
    QString Vorlage(const QString& baender, const QString& attribute = {}) const
    {
        const QString pfad = Pfad("test.rpt");
        QFile f(pfad);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<bericht version=\"1\" haupttabelle=\"H\" %1>\n%2\n</bericht>\n")
                    .arg(attribute, baender)
                    .toUtf8());
        return pfad;
    }

private:
    QTemporaryDir FDir;
};
