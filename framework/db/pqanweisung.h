#pragma once

#include "framework/db/blockzeile.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

// A read prepared through libpq on the calling thread's PostgreSQL connection (the one Qt's
// driver holds) and run again and again. Its rows are read as text straight from the result,
// without the driver's conversion of every value into a QVariant. Like TGehalteneAnweisung it
// belongs to that very connection and is prepared anew on another one. A failure raises as
// that of a Qt query does.
class TPqAnweisung {
public:
    // sql numbers its parameters $1, $2, ...
    TPqAnweisung(QString ort, QByteArray sql);
    ~TPqAnweisung();
    TPqAnweisung(const TPqAnweisung&) = delete;
    TPqAnweisung& operator=(const TPqAnweisung&) = delete;

    // Runs the statement with werte (text; a null array is NULL) and hands each row to
    // proZeile. Nothing else may be reading on the connection.
    void Lesen(const QByteArrayList& werte, const std::function<void(const TBlockZeile&)>& proZeile);
    // The same, its rows kept as the engine answered: for a reader that takes them one by one
    // while it runs other statements on the connection.
    std::unique_ptr<TZeilen> Behalten(const QByteArrayList& werte);

private:
    void Vorbereiten(void* verbindung, quint64 kennung);

    QString FOrt;
    QByteArray FSql;
    QByteArray FName;          // of the statement on the server
    quint64 FVerbindung = 0;   // the connection it was prepared on
    qsizetype FParameter = 0;
};

// One statement of PqNacheinander.
struct TPqSchritt {
    QString Ort;        // under which its failure raises
    QByteArray Sql;     // its parameters numbered $1, $2, ...
    QByteArrayList Werte;   // as text; a null array is NULL
    std::function<void(const TBlockZeile&)> ProZeile;   // takes its rows; none: they are dropped
    QByteArray Meldung;   // the command tag it must answer with (COMMIT); empty: any
    qsizetype Parameter = 0;   // the number of $n in Sql
};

// Runs schritte one after the other on the calling thread's PostgreSQL connection, sent at
// once and answered at once (libpq's pipeline mode): one round trip for all of them, each
// still a statement of its own to the server. A statement with values is prepared once per
// connection. The first failure (of a statement, or of what takes its rows) raises once every
// answer is in; statements after a failed one did not run. What takes the rows must not use
// the connection: that raises.
void PqNacheinander(const std::vector<TPqSchritt>& schritte);

// A value bound by Qt's driver as the text libpq sends: NULL as a null array.
QByteArray PqWert(const QVariant& wert);

// The ? of sql numbered $1, $2, ... in their order, for a statement run past Qt; anzahl takes
// their number.
QByteArray PlatzhalterNummeriert(const QString& sql, qsizetype* anzahl = nullptr);
