#include "framework/dbf/dbf.h"

#include "framework/core/datetime.h"
#include "framework/core/fehler.h"


#include <cstring>

#include <unistd.h>

namespace {

constexpr int CKopf = 68;          // level 7 table header
constexpr int CDeskriptor = 48;    // level 7 field descriptor
constexpr char CVersion = 0x04;    // level 7, no memo file
constexpr int CSprungBytes = 8 * 1024;   // the window a jump to a record reads
constexpr char CEnde = 0x1A;
const char CSprachtreiber[] = "DBWINWE0";   // Windows ANSI, Western Europe

void BigEndian32(char* p, uint32_t v)
{
    p[0] = static_cast<char>(v >> 24);
    p[1] = static_cast<char>(v >> 16);
    p[2] = static_cast<char>(v >> 8);
    p[3] = static_cast<char>(v);
}

uint32_t BigEndian32(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return (uint32_t(u[0]) << 24) | (uint32_t(u[1]) << 16) | (uint32_t(u[2]) << 8) | uint32_t(u[3]);
}

void LittleEndian(char* p, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        p[i] = static_cast<char>(v >> (8 * i));
}

uint32_t LittleEndian(const char* p, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= uint32_t(static_cast<unsigned char>(p[i])) << (8 * i);
    return v;
}

// Integers: big-endian with the sign bit inverted, so that the bytes sort like the numbers.
void IntegerKodieren(char* p, int32_t v)
{
    BigEndian32(p, static_cast<uint32_t>(v) ^ 0x80000000u);
}

int32_t IntegerDekodieren(const char* p)
{
    return static_cast<int32_t>(BigEndian32(p) ^ 0x80000000u);
}

// Doubles: big-endian IEEE; positive values get the sign bit set, negative ones all bits
// inverted, so that the bytes sort like the numbers.
void DoubleKodieren(char* p, double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    bits = (bits & 0x8000000000000000ull) ? ~bits : bits | 0x8000000000000000ull;
    BigEndian32(p, static_cast<uint32_t>(bits >> 32));
    BigEndian32(p + 4, static_cast<uint32_t>(bits));
}

double DoubleDekodieren(const char* p)
{
    uint64_t bits = (uint64_t(BigEndian32(p)) << 32) | BigEndian32(p + 4);
    bits = (bits & 0x8000000000000000ull) ? bits & ~0x8000000000000000ull : ~bits;
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

[[noreturn]] void Fehler(const QString& ort, const QString& pfad, const QString& text)
{
    FehlerRaise(ort, {pfad, text});
}

}

TDbfSpalte DbfInteger(const QString& name) { return {name, TDbfTyp::Integer, 4}; }
TDbfSpalte DbfDouble(const QString& name) { return {name, TDbfTyp::Double, 8}; }
TDbfSpalte DbfDatum(const QString& name) { return {name, TDbfTyp::Datum, 8}; }
TDbfSpalte DbfText(const QString& name, int laenge) { return {name, TDbfTyp::Zeichen, laenge}; }

TDbf::TDbf(const QString& pfad, std::vector<TDbfSpalte> spalten, QDate heute)
    : FPfad(pfad), FSpalten(std::move(spalten)), FHeute(heute), FDatei(pfad)
{
    if (FSpalten.empty() || FSpalten.size() > 1024)
        Fehler("TDbf.Create", pfad, QStringLiteral("1 bis 1024 Spalten erlaubt, nicht %1").arg(FSpalten.size()));
    for (const TDbfSpalte& s : FSpalten) {
        if (s.Name.isEmpty() || s.Name.size() > 31 || s.Laenge < 1 || s.Laenge > 254)
            Fehler("TDbf.Create", pfad, QStringLiteral("Ungültige Spalte %1").arg(s.Name));
        FSatzLaenge += s.Laenge;
    }
    if (FSatzLaenge > 65535)
        Fehler("TDbf.Create", pfad, QStringLiteral("Satz zu lang"));
    FKopfLaenge = CKopf + CDeskriptor * static_cast<int>(FSpalten.size()) + 1;
    FSatz.resize(FSatzLaenge);
    if (!FDatei.open(QIODevice::ReadWrite | QIODevice::Truncate))
        Fehler("TDbf.Create", pfad, FDatei.errorString());

    QByteArray kopf(FKopfLaenge, '\0');
    char* d = kopf.data() + CKopf;
    for (const TDbfSpalte& s : FSpalten) {
        const QByteArray name = s.Name.toLatin1();
        std::memcpy(d, name.constData(), name.size());
        d[32] = static_cast<char>(s.Typ);
        d[33] = static_cast<char>(s.Laenge);
        d += CDeskriptor;
    }
    *d = 0x0D;
    FDatei.write(kopf);
    FDatei.write(&CEnde, 1);
    KopfSchreiben(false);
    FDatei.flush();
}

TDbf::~TDbf()
{
    try {
        Schliessen();
    } catch (...) {
        // a destructor must not throw; the table then stays marked incomplete
    }
}

void TDbf::KopfSchreiben(bool unvollstaendig)
{
    char k[CKopf] = {};
    k[0] = CVersion;
    k[1] = static_cast<char>(FHeute.year() - 1900);
    k[2] = static_cast<char>(FHeute.month());
    k[3] = static_cast<char>(FHeute.day());
    LittleEndian(k + 4, FAnzahl, 4);
    LittleEndian(k + 8, static_cast<uint32_t>(FKopfLaenge), 2);
    LittleEndian(k + 10, static_cast<uint32_t>(FSatzLaenge), 2);
    k[14] = unvollstaendig ? 1 : 0;
    std::memcpy(k + 32, CSprachtreiber, sizeof(CSprachtreiber) - 1);
    FDatei.seek(0);
    if (FDatei.write(k, CKopf) != CKopf)
        Fehler("TDbf", FPfad, FDatei.errorString());
}

int TDbf::SpaltenIndex(const QString& name) const
{
    for (size_t i = 0; i < FSpalten.size(); ++i)
        if (FSpalten[i].Name == name)
            return static_cast<int>(i);
    return -1;
}

char* TDbfSatz::Naechste(TDbfTyp typ)
{
    const std::vector<TDbfSpalte>& spalten = FTabelle.FSpalten;
    if (FSpalte >= spalten.size())
        Fehler("TDbf.Anfuegen", FTabelle.FPfad, QStringLiteral("mehr Werte als %1 Spalten").arg(spalten.size()));
    const TDbfSpalte& s = spalten[FSpalte];
    if (s.Typ != typ)
        Fehler("TDbf.Anfuegen", FTabelle.FPfad, QStringLiteral("Wert falschen Typs für Spalte %1").arg(s.Name));
    char* p = FP;
    FP += s.Laenge;
    ++FSpalte;
    return p;
}

void TDbfSatz::Integer(int32_t v)
{
    IntegerKodieren(Naechste(TDbfTyp::Integer), v);
}

void TDbfSatz::Double(double v)
{
    DoubleKodieren(Naechste(TDbfTyp::Double), v);
}

void TDbfSatz::Datum(double tdatetime)
{
    Datum(tdatetime == 0 ? QDate() : TDateTime_ToQDate(tdatetime));
}

void TDbfSatz::Datum(QDate d)
{
    char* p = Naechste(TDbfTyp::Datum);
    int jahr = 0, monat = 0, tag = 0;
    if (d.isValid())
        d.getDate(&jahr, &monat, &tag);
    if (jahr < 1 || jahr > 9999) {
        // empty, or a year that "yyyyMMdd" does not write as four digits
        const QByteArray t = d.isValid() ? d.toString(QStringLiteral("yyyyMMdd")).toLatin1().leftJustified(8, ' ', true) : QByteArray(8, ' ');
        std::memcpy(p, t.constData(), 8);
        return;
    }
    for (int i = 3; i >= 0; --i, jahr /= 10)
        p[i] = static_cast<char>('0' + jahr % 10);
    p[4] = static_cast<char>('0' + monat / 10);
    p[5] = static_cast<char>('0' + monat % 10);
    p[6] = static_cast<char>('0' + tag / 10);
    p[7] = static_cast<char>('0' + tag % 10);
}

void TDbfSatz::Text(const QString& t)
{
    char* p = Naechste(TDbfTyp::Zeichen);
    const TDbfSpalte& s = FTabelle.FSpalten[FSpalte - 1];
    const QByteArray b = t.toLatin1();
    if (b.size() > s.Laenge)
        Fehler("TDbf.Anfuegen", FTabelle.FPfad, QStringLiteral("Text zu lang für Spalte %1: %2").arg(s.Name, t));
    std::memcpy(p, b.constData(), b.size());
    std::memset(p + b.size(), ' ', s.Laenge - b.size());
}

void TDbfSatz::Wert(const QVariant& v)
{
    const TDbfTyp typ = FSpalte < FTabelle.FSpalten.size() ? FTabelle.FSpalten[FSpalte].Typ : TDbfTyp::Zeichen;
    switch (typ) {
    case TDbfTyp::Integer:
        return Integer(v.toInt());
    case TDbfTyp::Double:
        return Double(v.toDouble());
    case TDbfTyp::Datum:
        return v.metaType().id() == QMetaType::QDate ? Datum(v.toDate()) : Datum(v.toDouble());
    case TDbfTyp::Zeichen:
        return Text(v.toString());
    }
}

void TDbf::Anfuegen(const QVariantList& werte)
{
    if (werte.size() != static_cast<qsizetype>(FSpalten.size()))
        Fehler("TDbf.Anfuegen", FPfad, QStringLiteral("%1 Werte für %2 Spalten").arg(werte.size()).arg(FSpalten.size()));
    Anfuegen([&](TDbfSatz& satz) {
        for (const QVariant& w : werte)
            satz.Wert(w);
    });
}

void TDbf::Anfuegen(const std::function<void(TDbfSatz&)>& fuellen)
{
    if (!FOffen) {
        KopfSchreiben(true);
        FDatei.flush();
        FOffen = true;
    }
    FSatz[0] = ' ';
    TDbfSatz satz(*this, FSatz.data() + 1);
    fuellen(satz);
    if (satz.FSpalte != FSpalten.size())
        Fehler("TDbf.Anfuegen", FPfad, QStringLiteral("%1 Werte für %2 Spalten").arg(satz.FSpalte).arg(FSpalten.size()));
    // records follow one another: seeking only when needed keeps the file's write buffer
    const qint64 ziel = FKopfLaenge + static_cast<qint64>(FAnzahl) * FSatzLaenge;
    if (FDatei.pos() != ziel)
        FDatei.seek(ziel);
    if (FDatei.write(FSatz) != FSatzLaenge)
        Fehler("TDbf.Anfuegen", FPfad, FDatei.errorString());
    ++FAnzahl;
}

void TDbf::Schliessen()
{
    if (!FOffen)
        return;
    FDatei.seek(FKopfLaenge + static_cast<qint64>(FAnzahl) * FSatzLaenge);
    FDatei.write(&CEnde, 1);
    FDatei.flush();
    KopfSchreiben(false);   // the count comes last: until here the table reads as incomplete
    FDatei.flush();
    FOffen = false;
}

TDbfLeser::TDbfLeser(const QString& pfad)
    : FDatei(std::make_unique<QFile>(pfad))
{
    if (!FDatei->open(QIODevice::ReadOnly))
        Fehler("TDbfLeser", pfad, FDatei->errorString());
    const QByteArray kopf = FDatei->read(CKopf);
    if (kopf.size() < CKopf || kopf[0] != CVersion)
        Fehler("TDbfLeser", pfad, QStringLiteral("keine dBase-Tabelle der Stufe 7"));
    if (kopf[14] != 0)
        Fehler("TDbfLeser", pfad, QStringLiteral("Tabelle unvollständig geschrieben"));
    FAnzahl = LittleEndian(kopf.constData() + 4, 4);
    FKopfLaenge = static_cast<int>(LittleEndian(kopf.constData() + 8, 2));
    FSatzLaenge = static_cast<int>(LittleEndian(kopf.constData() + 10, 2));
    const QByteArray deskriptoren = kopf + FDatei->read(std::max(0, FKopfLaenge - CKopf));
    int offset = 1;
    for (int d = CKopf; d + CDeskriptor <= deskriptoren.size() && deskriptoren[d] != 0x0D; d += CDeskriptor) {
        const char* p = deskriptoren.constData() + d;
        TDbfSpalte s;
        s.Name = QString::fromLatin1(p, static_cast<qsizetype>(strnlen(p, 32)));
        s.Typ = static_cast<TDbfTyp>(p[32]);
        s.Laenge = static_cast<unsigned char>(p[33]);
        FSpalten.push_back(s);
        FOffsets.push_back(offset);
        offset += s.Laenge;
    }
    if (offset != FSatzLaenge)
        Fehler("TDbfLeser", pfad, QStringLiteral("Satzlänge passt nicht zu den Spalten"));
    if (FDatei->size() < FKopfLaenge + static_cast<qint64>(FAnzahl) * FSatzLaenge)
        Fehler("TDbfLeser", pfad, QStringLiteral("Tabelle kürzer als ihr Kopf angibt"));
}

TDbfLeser::~TDbfLeser() = default;

const char* TDbfLeser::Satz(uint32_t satz) const
{
    if (satz >= FAnzahl)
        Fehler("TDbfLeser", FDatei->fileName(), QStringLiteral("Satz %1 gibt es nicht").arg(satz));
    ++FZugriffe;
    TFenster* frei = &FFenster[0];
    for (TFenster& f : FFenster) {
        if (satz >= f.anfang && satz < f.anfang + f.anzahl) {
            f.benutzt = FZugriffe;
            return f.daten.constData() + static_cast<qint64>(satz - f.anfang) * FSatzLaenge;
        }
        if (f.benutzt < frei->benutzt)
            frei = &f;
    }
    // reading on past a window replaces it by a large one: the file is touched once per large
    // window, and memory stays the same however long the table is; a jump (a sorted report)
    // reads a small one into the window used longest ago
    for (TFenster& f : FFenster)
        if (f.anzahl && satz == f.anfang + f.anzahl)
            frei = &f;
    const int bytes = satz == frei->anfang + frei->anzahl ? CFensterBytes : CSprungBytes;
    const uint32_t anzahl = std::min<uint32_t>(std::max(1, bytes / FSatzLaenge), FAnzahl - satz);
    const qsizetype laenge = static_cast<qsizetype>(anzahl) * FSatzLaenge;
    frei->daten.resize(laenge);
    if (::pread(FDatei->handle(), frei->daten.data(), static_cast<size_t>(laenge), FKopfLaenge + static_cast<off_t>(satz) * FSatzLaenge) != laenge)
        Fehler("TDbfLeser", FDatei->fileName(), QStringLiteral("Satz %1 nicht lesbar").arg(satz));
    frei->anfang = satz;
    frei->anzahl = anzahl;
    frei->benutzt = FZugriffe;
    return frei->daten.constData();
}

int TDbfLeser::SpaltenIndex(const QString& name) const
{
    for (size_t i = 0; i < FSpalten.size(); ++i)
        if (FSpalten[i].Name == name)
            return static_cast<int>(i);
    return -1;
}

bool TDbfLeser::Geloescht(uint32_t satz) const
{
    return *Satz(satz) == '*';
}

QVariant TDbfLeser::Wert(uint32_t satz, int spalte) const
{
    if (satz >= FAnzahl || spalte < 0 || spalte >= static_cast<int>(FSpalten.size()))
        FehlerRaise(QStringLiteral("TDbfLeser.Wert"), {QStringLiteral("Satz %1, Spalte %2 gibt es nicht").arg(satz).arg(spalte)});
    const TDbfSpalte& s = FSpalten[spalte];
    const char* p = Satz(satz) + FOffsets[spalte];
    switch (s.Typ) {
    case TDbfTyp::Integer:
        return IntegerDekodieren(p);
    case TDbfTyp::Double:
        return DoubleDekodieren(p);
    case TDbfTyp::Datum: {
        // "YYYYMMDD", blank when empty; read digit by digit, as reports read it row by row
        int z[8];
        for (int i = 0; i < 8; ++i) {
            if (p[i] < '0' || p[i] > '9')
                return QDate();
            z[i] = p[i] - '0';
        }
        return QDate(z[0] * 1000 + z[1] * 100 + z[2] * 10 + z[3], z[4] * 10 + z[5], z[6] * 10 + z[7]);
    }
    case TDbfTyp::Zeichen:
        break;
    }
    QString t = QString::fromLatin1(p, s.Laenge);
    while (t.endsWith(QLatin1Char(' ')))
        t.chop(1);
    return t;
}

QVariant TDbfLeser::Wert(uint32_t satz, const QString& spalte) const
{
    const int i = SpaltenIndex(spalte);
    if (i < 0)
        FehlerRaise(QStringLiteral("TDbfLeser.Wert"), {QStringLiteral("Spalte %1 gibt es nicht").arg(spalte)});
    return Wert(satz, i);
}
