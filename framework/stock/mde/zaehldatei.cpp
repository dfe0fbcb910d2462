#include "framework/stock/mde/zaehldatei.h"

#include "framework/article/eanzugriff.h"

#include <algorithm>

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

// Windows-1252 0x80..0x9F; the rest of the code page is Latin-1 (undefined bytes keep
// their C1 code point).
constexpr char16_t C1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString Windows1252(const QByteArray& b)
{
    QString s;
    s.reserve(b.size());
    for (char c : b) {
        const auto u = static_cast<unsigned char>(c);
        s += QChar(u >= 0x80 && u < 0xA0 ? C1252[u - 0x80] : char16_t(u));
    }
    return s;
}

TDateTime Datum(const QString& text)
{
    for (const char* format : {"yyyy-MM-dd", "dd.MM.yyyy"})
        if (const QDate d = QDate::fromString(text, QLatin1String(format)); d.isValid())
            return TDateTime_FromQDate(d);
    return 0;
}

bool Zahl(const QString& text, int max, int& wert)
{
    static const QRegularExpression zahl(QStringLiteral("^[+-]?[0-9]{1,9}$"));
    if (!zahl.match(text).hasMatch())
        return false;
    wert = text.toInt();
    return wert >= -max && wert <= max;
}

class TLeser {
public:
    explicit TLeser(TZaehldatei& d) : FD(d) {}

    void Zeile(int nr, const QString& roh)
    {
        const QString z = roh.trimmed();
        if (z.isEmpty() || z.startsWith(QLatin1String("//")))
            return;
        if (z.startsWith(QLatin1Char('#')))
            Kopf(nr, z);
        else
            Scan(nr, z);
    }

    void Ende()
    {
        if (!FGesehen.contains(QLatin1String("filiale")))
            Fehler(0, {}, QStringLiteral("die Kopfzeile #filiale fehlt"));
        if (!FGesehen.contains(QLatin1String("zaehldatum")))
            Fehler(0, {}, QStringLiteral("die Kopfzeile #zaehldatum fehlt"));
    }

private:
    void Fehler(int nr, const QString& text, const QString& grund) { FD.Fehler.push_back({nr, text.left(CZaehlZeileAuszug), grund}); }

    void Kopf(int nr, const QString& z)
    {
        const qsizetype gleich = z.indexOf(QLatin1Char('='));
        const QString schluessel = z.mid(1, gleich < 0 ? -1 : gleich - 1).trimmed().toLower();
        const QString wert = gleich < 0 ? QString() : z.mid(gleich + 1).trimmed();
        if (FScanZeilen > 0)
            return Fehler(nr, z, QStringLiteral("Kopfzeile nach der ersten Zählzeile"));
        if (gleich < 0)
            return Fehler(nr, z, QStringLiteral("Kopfzeile ohne \"=\""));
        if (FGesehen.contains(schluessel))
            return Fehler(nr, z, QStringLiteral("Kopfzeile doppelt"));
        FGesehen << schluessel;
        int zahl = 0;
        if (schluessel == QLatin1String("filiale")) {
            if (!Zahl(wert, 999999, zahl) || zahl <= 0)
                return Fehler(nr, z, QStringLiteral("keine Filialnummer"));
            FD.Filiale = zahl;
            FD.FilialeZeile = nr;
        } else if (schluessel == QLatin1String("zaehldatum")) {
            FD.ZaehlDatum = Datum(wert);
            if (FD.ZaehlDatum == 0)
                return Fehler(nr, z, QStringLiteral("kein Datum der Form JJJJ-MM-TT oder TT.MM.JJJJ"));
        } else if (schluessel == QLatin1String("regal")) {
            if (!Zahl(wert, 999999, zahl) || zahl < 0)
                return Fehler(nr, z, QStringLiteral("keine Regalnummer"));
            FD.Regal = zahl;
            FD.MitRegal = true;
        } else if (schluessel == QLatin1String("geraet")) {
            if (wert.size() > 60)
                return Fehler(nr, z, QStringLiteral("Gerätename länger als 60 Zeichen"));
            FD.Geraet = wert;
        } else if (schluessel == QLatin1String("modus")) {
            if (wert.compare(QLatin1String("nachzaehlung"), Qt::CaseInsensitive) != 0 && wert.compare(QLatin1String("zaehlung"), Qt::CaseInsensitive) != 0)
                return Fehler(nr, z, QStringLiteral("Modus ist \"zaehlung\" oder \"nachzaehlung\""));
            FD.Nachzaehlung = wert.compare(QLatin1String("nachzaehlung"), Qt::CaseInsensitive) == 0;
        } else {
            Fehler(nr, z, QStringLiteral("unbekannte Kopfzeile"));
        }
    }

    void Scan(int nr, const QString& z)
    {
        ++FScanZeilen;
        const QStringList teile = z.split(QLatin1Char(';'));
        TZaehlzeile s{nr, teile[0].trimmed(), 1};
        if (teile.size() > 2)
            return Fehler(nr, z, QStringLiteral("mehr als ein \";\""));
        if (teile.size() == 2 && !Zahl(teile[1].trimmed(), CZaehlMengeMax, s.Menge))
            return Fehler(nr, z, QStringLiteral("keine Menge von -%1 bis %1").arg(CZaehlMengeMax));
        static const QRegularExpression ziffern(QStringLiteral("^[0-9]{8}$|^[0-9]{12,14}$"));
        if (!ziffern.match(s.Barcode).hasMatch())
            return Fehler(nr, z, QStringLiteral("kein Barcode (8, 12, 13 oder 14 Ziffern)"));
        if (!EAN_Gueltig(s.Barcode))
            return Fehler(nr, z, QStringLiteral("Prüfziffer des Barcodes falsch"));
        FD.Scans.push_back(s);
    }

    TZaehldatei& FD;
    QStringList FGesehen;
    int FScanZeilen = 0;
};

}

void TZaehlfehlerListe::push_back(TZaehlfehler f)
{
    if (FZeilen.size() < CMax)
        FZeilen.push_back(std::move(f));
    else
        ++FWeitere;
}

TZaehlfehlerListe TZaehlfehlerListe::Einer(QString grund)
{
    TZaehlfehlerListe r;
    r.push_back({0, {}, std::move(grund)});
    return r;
}

void TZaehlfehlerListe::Sortieren()
{
    std::stable_sort(FZeilen.begin(), FZeilen.end(), [](const TZaehlfehler& a, const TZaehlfehler& b) { return a.Nr < b.Nr; });
}

QString ZaehldateiText(const QByteArray& inhalt)
{
    if (inhalt.startsWith("\xFF\xFE") || inhalt.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(inhalt.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        return utf16.decode(inhalt.mid(2));
    }
    const QByteArray ohneBom = inhalt.startsWith("\xEF\xBB\xBF") ? inhalt.mid(3) : inhalt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(ohneBom);
    return utf8.hasError() ? Windows1252(inhalt) : text;
}

TZaehldatei ZaehldateiLesen(const QByteArray& inhalt, qint64 maxZeilen)
{
    TZaehldatei d;
    const QString text = ZaehldateiText(inhalt);
    if (text.contains(QChar(0))) {
        d.Fehler.push_back({0, {}, QStringLiteral("die Datei enthält Nullbytes und ist keine Textdatei (UTF-16 nur mit Byte-Order-Mark)")});
        return d;
    }
    // a line ends at LF, CRLF or CR
    TLeser leser(d);
    qint64 nr = 0;
    for (qsizetype von = 0; von < text.size();) {
        if (++nr > maxZeilen) {
            d.Scans.clear();
            d.Fehler = {};
            d.Fehler.push_back({0, {}, QStringLiteral("mehr als %1 Zeilen (Parameter MDE_MAX_ZEILEN)").arg(maxZeilen)});
            return d;
        }
        qsizetype bis = von;
        while (bis < text.size() && text[bis] != QLatin1Char('\n') && text[bis] != QLatin1Char('\r'))
            ++bis;
        leser.Zeile(static_cast<int>(nr), text.mid(von, bis - von));
        von = bis + (text.mid(bis, 2) == QLatin1String("\r\n") ? 2 : 1);
    }
    leser.Ende();
    return d;
}

QByteArray ZaehldateiNormalform(const TZaehldatei& d)
{
    QByteArray r = QStringLiteral("filiale=%1\nzaehldatum=%2\nregal=%3\n")
                       .arg(d.Filiale)
                       .arg(TDateTime_ToQDateTime(d.ZaehlDatum).date().toString(Qt::ISODate))
                       .arg(d.Regal)
                       .toUtf8();
    if (!d.Geraet.isEmpty())
        r += "geraet=" + d.Geraet.toUtf8() + '\n';
    if (d.Nachzaehlung)
        r += "modus=nachzaehlung\n";
    for (const TZaehlzeile& s : d.Scans)
        r += EAN_Gtin14(s.Barcode).toLatin1() + ';' + QByteArray::number(s.Menge) + '\n';
    return r;
}
