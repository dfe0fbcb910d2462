#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

// The framework's error: a location text and the message texts given when it was raised.
class EORVFehler : public std::runtime_error {
public:
    EORVFehler(QString location, QStringList texts);

    const QString& Location() const { return FLocation; }
    const QStringList& Texts() const { return FTexts; }

private:
    QString FLocation;
    QStringList FTexts;
};

// The connection to the database is gone: the server ended the session or restarted, the
// network broke. Every use of a connection raises it from the loss on until the connections are
// opened anew (TZEP_Connection::Erneuern), so that work stops there; a batch command ends with
// exit code 3, the window tells the user and opens them anew when it is idle.
class EVerbindungVerloren : public EORVFehler {
public:
    using EORVFehler::EORVFehler;
};

// The database refused the data of a statement (SQLSTATE classes 22 and 23 on PostgreSQL: a
// value out of range or too long, a constraint; on SQLite a constraint or a value too big):
// the data's fault, not the connection's or the server's.
class EDatenAbgelehnt : public EORVFehler {
public:
    using EORVFehler::EORVFehler;
};

// Raises a framework error for a location; the texts form its message.
[[noreturn]] void FehlerRaise(const QString& location, const QStringList& texts = {});

// The object behind p, an owning or plain pointer. When its creation failed earlier and left it
// empty, raises the framework error instead, so that the calling method's guard registers the
// fault rather than the program dying on a null pointer.
template <class P>
auto& Angelegt(const P& p, const char* name)
{
    if (!p)
        FehlerRaise(QString::fromLatin1(name), {QStringLiteral("Das Objekt ist nicht angelegt.")});
    return *p;
}

// The framework's standard message for an illegal parameter.
inline const QString CORV_Info_Fehler_Standard_IllegalerParameter = QStringLiteral("Unzulässiger Parameter");
