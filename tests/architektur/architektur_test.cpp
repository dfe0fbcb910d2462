// The layering as the build describes it (architektur.txt, written at configuration): which
// library may include which headers, which may link widgets, and where SQL may stand.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

#include <map>

namespace {

struct TZiel {
    QString Ordner;
    QStringList Quellen;   // relative to the source root
    QStringList Linkt;
};

using TZiele = std::map<QString, TZiel>;

const QString CQuelle = QStringLiteral(KALMET_SOURCE_DIR);

QString Lesen(const QString& pfad)
{
    QFile f(pfad);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << pfad.toStdString();
    return QString::fromUtf8(f.readAll());
}

TZiele ZieleLesen()
{
    TZiele ziele;
    TZiel* z = nullptr;
    const QStringList zeilen = Lesen(QStringLiteral(KALMET_ARCHITEKTUR_DATEI)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& zeile : zeilen) {
        const QStringList t = zeile.split(QLatin1Char(' '));
        if (t[0] == QLatin1String("ziel")) {
            z = &ziele[t[1]];
            z->Ordner = t[2];
        } else if (t[0] == QLatin1String("quelle")) {
            z->Quellen << QDir::cleanPath(z->Ordner + QLatin1Char('/') + t[1]);
        } else {
            z->Linkt << t[1];
        }
    }
    return ziele;
}

// The target itself and everything it links, directly or through others.
QSet<QString> Huelle(const TZiele& ziele, const QString& name)
{
    QSet<QString> gesehen;
    QStringList offen{name};
    while (!offen.isEmpty()) {
        const QString n = offen.takeLast();
        if (gesehen.contains(n))
            continue;
        gesehen.insert(n);
        if (const auto it = ziele.find(n); it != ziele.end())
            offen << it->second.Linkt;
    }
    return gesehen;
}

// The files of a target: its sources and the headers beside them.
QStringList Dateien(const TZiel& z)
{
    QStringList r = z.Quellen;
    for (const QString& q : z.Quellen) {
        const QString h = q.chopped(4) + QStringLiteral(".h");
        if (q.endsWith(QLatin1String(".cpp")) && QFileInfo::exists(CQuelle + QLatin1Char('/') + h))
            r << h;
    }
    return r;
}

// The targets a header of the program belongs to: the one that compiles its source, else
// those whose folder holds it most closely.
QStringList Besitzer(const TZiele& ziele, const QString& header)
{
    const QString quelle = header.chopped(2) + QStringLiteral(".cpp");
    for (const auto& [name, z] : ziele)
        if (z.Quellen.contains(quelle))
            return {name};
    QStringList r;
    qsizetype laenge = -1;
    for (const auto& [name, z] : ziele) {
        if (!header.startsWith(z.Ordner + QLatin1Char('/')) || z.Ordner.size() < laenge)
            continue;
        if (z.Ordner.size() > laenge)
            r.clear();
        laenge = z.Ordner.size();
        r << name;
    }
    return r;
}

}

TEST(ArchitekturTest, ALibraryIncludesOnlyItsOwnHeadersAndThoseOfWhatItLinks)
{
    const TZiele ziele = ZieleLesen();
    ASSERT_GT(ziele.size(), 10u);
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s+"([^"]+)")re"), QRegularExpression::MultilineOption);
    for (const auto& [name, z] : ziele) {
        const QSet<QString> erlaubt = Huelle(ziele, name);
        for (const QString& datei : Dateien(z))
            for (const auto& m : include.globalMatch(Lesen(CQuelle + QLatin1Char('/') + datei))) {
                const QString header = m.captured(1);
                if (!QFileInfo::exists(CQuelle + QLatin1Char('/') + header))
                    continue;   // beside the file or generated
                const QStringList besitzer = Besitzer(ziele, header);
                const bool ok = std::any_of(besitzer.begin(), besitzer.end(), [&](const QString& b) { return erlaubt.contains(b); });
                EXPECT_TRUE(ok) << datei.toStdString() << " (" << name.toStdString() << ") includes " << header.toStdString()
                                << " of " << besitzer.join(QLatin1Char(',')).toStdString() << ", which it does not link";
            }
    }
}

TEST(ArchitekturTest, OnlyTheWindowsLinkWidgets)
{
    // the main window, its dialogs, the framework's widgets and the report viewer, and the program
    static const QSet<QString> fenster{QStringLiteral("kalmet_gui"), QStringLiteral("kalmet_reportviewer"), QStringLiteral("kalmet_main"),
                                       QStringLiteral("kalmet_seldruck"), QStringLiteral("kalmet_selmask"), QStringLiteral("kalmet")};
    const TZiele ziele = ZieleLesen();
    for (const auto& [name, z] : ziele) {
        if (fenster.contains(name))
            continue;
        const QSet<QString> h = Huelle(ziele, name);
        EXPECT_FALSE(h.contains(QStringLiteral("Qt6::Widgets")) || h.contains(QStringLiteral("Qt6::PrintSupport")))
            << name.toStdString() << " links widgets";
    }
}

namespace {

// The string literals of a C++ text, adjacent ones joined, comments left out.
QStringList Literale(const QString& text)
{
    QStringList r;
    QString aktuell;
    bool offen = false;   // the last literal may still continue
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('/') && i + 1 < text.size() && text[i + 1] == QLatin1Char('/')) {
            i = text.indexOf(QLatin1Char('\n'), i);
            if (i < 0)
                break;
        } else if (c == QLatin1Char('/') && i + 1 < text.size() && text[i + 1] == QLatin1Char('*')) {
            i = text.indexOf(QStringLiteral("*/"), i + 2) + 1;
            if (i <= 0)
                break;
        } else if (c == QLatin1Char('\'') && i > 0 && text[i - 1].isLetterOrNumber()) {
            continue;   // a digit separator
        } else if (c == QLatin1Char('\'')) {
            for (++i; i < text.size() && text[i] != QLatin1Char('\''); ++i)
                if (text[i] == QLatin1Char('\\'))
                    ++i;
        } else if (c == QLatin1Char('"') && i > 0 && text[i - 1] == QLatin1Char('R')) {
            // a raw string: R"delim( ... )delim"
            const qsizetype klammer = text.indexOf(QLatin1Char('('), i);
            const QString ende = QLatin1Char(')') + text.mid(i + 1, klammer - i - 1) + QLatin1Char('"');
            const qsizetype schluss = text.indexOf(ende, klammer);
            if (klammer < 0 || schluss < 0)
                break;
            if (!offen)
                aktuell.clear();
            aktuell += text.mid(klammer + 1, schluss - klammer - 1);
            i = schluss + ende.size() - 1;
            offen = true;
            continue;
        } else if (c == QLatin1Char('"')) {
            if (!offen)
                aktuell.clear();
            for (++i; i < text.size() && text[i] != QLatin1Char('"'); ++i) {
                if (text[i] == QLatin1Char('\\'))
                    ++i;
                aktuell += text[i];
            }
            offen = true;
            continue;
        } else if (c.isSpace()) {
            continue;
        }
        if (offen)
            r << aktuell;
        offen = false;
    }
    if (offen)
        r << aktuell;
    return r;
}

// The tables a piece of SQL names after FROM, JOIN, INTO and UPDATE (functions and
// placeholders left out).
QSet<QString> Tabellen(const QString& sql)
{
    static const QRegularExpression tabelle(QStringLiteral(R"(\b(?:FROM|JOIN|INTO|UPDATE)\s+([a-z_][a-z0-9_]*)\b(?!\s*\())"));
    static const QRegularExpression with(QStringLiteral(R"(\b([a-z_][a-z0-9_]*)\s+AS\s*\()"));
    QSet<QString> r;
    for (const auto& m : tabelle.globalMatch(sql))
        r.insert(m.captured(1));
    for (const auto& m : with.globalMatch(sql))
        r.remove(m.captured(1));   // a statement's own WITH parts
    return r;
}

bool IstSql(const QString& literal)
{
    static const QRegularExpression sql(QStringLiteral(R"(\b(SELECT|INSERT\s+INTO|UPDATE\s+\w+\s+SET|DELETE\s+FROM)\b)"));
    return sql.match(literal).hasMatch();
}

}

TEST(ArchitekturTest, SqlStandsOnlyInTheDatabaseLayerAndTheAccessModulesOfItsTables)
{
    // Outside framework/db: each access module with the tables its statements may name (a
    // module of one table may join those it reads beside it). The demo generator fills the
    // tables of a new database; it is set-up like the tests' own.
    static const std::map<QString, QSet<QString>> module{
        {QStringLiteral("framework/app/dialoge.cpp"), {QStringLiteral("benutzer"), QStringLiteral("benutzerrecht")}},
        {QStringLiteral("framework/app/info.cpp"), {QStringLiteral("meldung"), QStringLiteral("protokoll")}},
        {QStringLiteral("framework/app/layoutspeicher.cpp"), {QStringLiteral("layout")}},
        {QStringLiteral("framework/app/programm.cpp"), {QStringLiteral("mandant"), QStringLiteral("parameter")}},
        {QStringLiteral("framework/article/artabwmani.cpp"), {QStringLiteral("abwregel"), QStringLiteral("saison")}},
        {QStringLiteral("framework/article/besttyp.cpp"), {QStringLiteral("besttyp")}},
        {QStringLiteral("framework/article/eanzugriff.cpp"), {QStringLiteral("ean"), QStringLiteral("artikel")}},
        {QStringLiteral("framework/article/filialtabelle.cpp"), {QStringLiteral("filiale")}},
        {QStringLiteral("framework/article/ggtab.cpp"), {QStringLiteral("ggtab_groesse"), QStringLiteral("artikel")}},
        {QStringLiteral("framework/article/iazugriff.cpp"), {QStringLiteral("ia"), QStringLiteral("iv"), QStringLiteral("izns")}},
        {QStringLiteral("framework/article/liefgpdata.cpp"), {QStringLiteral("lieferant")}},
        {QStringLiteral("framework/article/mwtable.cpp"), {QStringLiteral("mwst")}},
        {QStringLiteral("framework/article/wgniterator.cpp"), {QStringLiteral("artikel")}},
        {QStringLiteral("framework/article/wgnmani.cpp"), {QStringLiteral("artikel")}},
        {QStringLiteral("framework/stock/buchung.cpp"), {QStringLiteral("bne"), QStringLiteral("bestand")}},
        {QStringLiteral("framework/stock/mde/zaehldateizugriff.cpp"), {QStringLiteral("zaehldatei")}},
        {QStringLiteral("framework/stock/sperre.cpp"), {QStringLiteral("artsperre")}},
        // the user's selection as one statement over the tables its record files name
        {QStringLiteral("ivvorselquerysql/kalmetselektionsql.cpp"), {}},
    };
    const TZiele ziele = ZieleLesen();
    int geprueft = 0;
    for (const auto& [name, z] : ziele)
        for (const QString& datei : Dateien(z)) {
            if (datei.startsWith(QLatin1String("framework/db/")) || datei.startsWith(QLatin1String("demo/")))
                continue;
            ++geprueft;
            const auto modul = module.find(datei);
            for (const QString& literal : Literale(Lesen(CQuelle + QLatin1Char('/') + datei))) {
                if (!IstSql(literal) && (modul == module.end() || Tabellen(literal).isEmpty()))
                    continue;
                if (modul == module.end()) {
                    ADD_FAILURE() << datei.toStdString() << " holds SQL: " << literal.left(80).toStdString();
                    continue;
                }
                for (const QString& t : Tabellen(literal))
                    EXPECT_TRUE(modul->second.contains(t)) << datei.toStdString() << " names table " << t.toStdString();
            }
        }
    EXPECT_GT(geprueft, 100);
}
