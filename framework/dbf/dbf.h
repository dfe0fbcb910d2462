#pragma once

#include <QDate>
#include <QFile>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <array>
#include <memory>
#include <vector>

// Column types of the print tables (dBase level 7).
enum class TDbfTyp : char {
    Integer = 'I',   // 32-bit integer, 4 bytes
    Double = 'O',    // IEEE double, 8 bytes
    Datum = 'D',     // date, "YYYYMMDD"
    Zeichen = 'C',   // text, blank-padded, Latin-1
};

struct TDbfSpalte {
    QString Name;   // up to 31 characters
    TDbfTyp Typ = TDbfTyp::Zeichen;
    int Laenge = 0;   // bytes; fixed for Integer (4), Double (8) and Datum (8)

    friend bool operator==(const TDbfSpalte&, const TDbfSpalte&) = default;
};

TDbfSpalte DbfInteger(const QString& name);
TDbfSpalte DbfDouble(const QString& name);
TDbfSpalte DbfDatum(const QString& name);
TDbfSpalte DbfText(const QString& name, int laenge);

class TDbf;

// The record being appended to a table: one value per column, in column order, each of the
// column's type. Writes the bytes at once, without a QVariant per value.
class TDbfSatz {
public:
    void Integer(int32_t v);
    void Double(double v);
    void Datum(double tdatetime);   // 0 or an invalid date: empty
    void Datum(QDate d);            // invalid: empty
    void Text(const QString& t);    // longer than the column raises an error
    // By the column's type: int, double, TDateTime (double) or QDate, text.
    void Wert(const QVariant& v);

private:
    friend class TDbf;
    TDbfSatz(const TDbf& tabelle, char* p) : FTabelle(tabelle), FP(p) {}
    char* Naechste(TDbfTyp typ);

    const TDbf& FTabelle;
    char* FP;
    size_t FSpalte = 0;
};

// A dBase level 7 table being written. Records are appended; the header's record count is
// written only when the table is closed, and until then the header's "incomplete
// transaction" flag is set, so a table cut short by a crash never reads as complete.
class TDbf {
public:
    // Creates the file empty (replacing an existing one). heute is the header's date.
    TDbf(const QString& pfad, std::vector<TDbfSpalte> spalten, QDate heute = QDate::currentDate());
    ~TDbf();
    TDbf(const TDbf&) = delete;
    TDbf& operator=(const TDbf&) = delete;

    // One value per column: int for Integer, double for Double, TDateTime (double) or QDate
    // for Datum, text for Zeichen. Texts longer than the column raise an error.
    void Anfuegen(const QVariantList& werte);
    // Appends the record that fuellen writes, every column in order.
    void Anfuegen(const std::function<void(TDbfSatz&)>& fuellen);
    // Writes the end mark and the record count; the table then reads as complete. Appending
    // again reopens it.
    void Schliessen();

    const std::vector<TDbfSpalte>& Spalten() const { return FSpalten; }
    int SpaltenIndex(const QString& name) const;
    uint32_t Anzahl() const { return FAnzahl; }
    const QString& Pfad() const { return FPfad; }

private:
    friend class TDbfSatz;
    void KopfSchreiben(bool unvollstaendig);

    QString FPfad;
    std::vector<TDbfSpalte> FSpalten;
    QDate FHeute;
    QFile FDatei;
    uint32_t FAnzahl = 0;
    int FSatzLaenge = 1;
    int FKopfLaenge = 0;
    bool FOffen = false;   // records appended since the last close
    QByteArray FSatz;
};

// Reads a complete dBase level 7 table written by TDbf. Throws EORVFehler for a table that
// is not level 7, is marked incomplete or is shorter than its header says.
class TDbfLeser {
public:
    explicit TDbfLeser(const QString& pfad);
    ~TDbfLeser();

    const std::vector<TDbfSpalte>& Spalten() const { return FSpalten; }
    int SpaltenIndex(const QString& name) const;   // -1 when missing
    uint32_t Anzahl() const { return FAnzahl; }
    bool Geloescht(uint32_t satz) const;
    // int, double, QDate (null for an empty date) or trimmed text.
    QVariant Wert(uint32_t satz, int spalte) const;
    QVariant Wert(uint32_t satz, const QString& spalte) const;

private:
    const char* Satz(uint32_t satz) const;

    static constexpr int CFensterBytes = 256 * 1024;
    // a report in another order than the table's reads the row, the one before it and those
    // of its band alternately: a few windows keep them all
    static constexpr int CFenster = 8;
    struct TFenster {
        QByteArray daten;
        uint32_t anfang = 0;
        uint32_t anzahl = 0;
        uint64_t benutzt = 0;   // the access that used it last
    };
    std::vector<TDbfSpalte> FSpalten;
    std::vector<int> FOffsets;
    std::unique_ptr<QFile> FDatei;
    mutable std::array<TFenster, CFenster> FFenster;   // records read last
    mutable uint64_t FZugriffe = 0;
    uint32_t FAnzahl = 0;
    int FKopfLaenge = 0;
    int FSatzLaenge = 0;
};
