#pragma once

#include "framework/db/blockzeile.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <functional>

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

private:
    void Vorbereiten(void* verbindung, quint64 kennung);

    QString FOrt;
    QByteArray FSql;
    QByteArray FName;          // of the statement on the server
    quint64 FVerbindung = 0;   // the connection it was prepared on
    qsizetype FParameter = 0;
};

// The ? of sql numbered $1, $2, ... in their order, for a statement run past Qt.
QByteArray PlatzhalterNummeriert(const QString& sql);
