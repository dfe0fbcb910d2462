#pragma once

#include "framework/core/datetime.h"

#include <QObject>
#include <QStringList>

#include <QMutex>

#include <atomic>
#include <exception>
#include <map>
#include <vector>

struct TRegistrierteException {
    QString Ort;
    QString Text;
    bool Anzeigen = false;
    TDateTime Zeit = 0;
};

// The information service: registers exceptions under a location text (kept in a register,
// written to the protocol with a time stamp, shown when asked to), collects them per
// location for the error checkpoints, shows catalogue messages and writes stamped lines.
// Exceptions may be registered from any thread; they are shown on the user-interface thread.
class TORVInfo {
public:
    void RegisterException(const QString& ort, const std::exception& e, bool anzeigen);
    void RegisterException(const QString& ort, const QString& text, bool anzeigen);

    std::vector<TRegistrierteException> Register() const;
    void RegisterLeeren();
    // True when an exception was registered under this location since the register was emptied.
    bool Registriert(const QString& ort) const;

    // Raises the errors collected under the location, if any, as one framework error.
    void FehlerRaise(const QString& ort);
    // Ends the location's error scope: what was collected there is dropped.
    void FehlerTerminate(const QString& ort);
    // Error checkpoint: shows what was collected under the location (code 0: as a message)
    // and ends its scope.
    void FehlerCheckpoint(const QString& ort, int code);

    // Catalogue message nr of modul with the arguments for %1, %2, ...; kind 0 informs,
    // kind 4 asks and answers 6 for Yes.
    int ShowMeldung(int art, const QStringList& argumente, QObject* owner, const QString& modul, int nr);
    // The catalogue text, or a text that names the missing entry.
    static QString MeldungsText(const QString& modul, int nr);

    // A stamped line into the protocol (kind protokoll) and the error output.
    void WriteStamp(const QString& zeile, int protokoll);
    void WriteTextWithStamp(const QString& text);

    // Exceptions registered while a collector lives are kept and protocolled, not shown: a
    // long run tells the user once at its end (see TFehlerSammler).
    void StummAn() { ++FStumm; }
    void StummAus() { --FStumm; }

private:
    void Protokollieren(int art, const QString& text);
    // Shows a message on the user-interface thread: now when called there, else (or spaeter)
    // when its event loop runs next.
    void Zeigen(const QString& ort, const QString& text, bool spaeter);

    std::atomic<int> FStumm{0};
    std::atomic<int> FVerlustGemeldet{-1};   // the connection generation whose loss was told
    mutable QMutex FMutex;
    std::vector<TRegistrierteException> FRegister;
    std::map<QString, QStringList> FGesammelt;
};

TORVInfo& ORVInfo();

// Collects what is registered, on any thread, while it lives: a run that must not end as a
// half result asks it at the end whether anything failed, and tells the first failure once.
class TFehlerSammler {
public:
    TFehlerSammler();
    ~TFehlerSammler();
    TFehlerSammler(const TFehlerSammler&) = delete;
    TFehlerSammler& operator=(const TFehlerSammler&) = delete;

    // "<location>: <text>" of the first, and how many more are in the protocol; empty when none.
    QString Bericht() const;

private:
    size_t FVorher;
};

// Runs pending window messages for at most ms milliseconds. What they run belongs to no
// TVerlustKante of the caller: an exception must not leave a message handler.
void ORVInfoProcessMessages(int ms);

// Where a lost connection (EVerbindungVerloren) ends the work: a batch command, for as long as
// it lives. Inside it guards pass the loss on instead of registering it and going on, so that
// the run stops at the loss and the command tells it once. The window has none: there the
// first who registers a loss tells it, later ones of the same loss are dropped, and the window
// opens the connections anew once it is idle.
class TVerlustKante {
public:
    TVerlustKante();
    ~TVerlustKante();
    TVerlustKante(const TVerlustKante&) = delete;
    TVerlustKante& operator=(const TVerlustKante&) = delete;

    // True when e is a loss that an edge of the calling thread tells.
    static bool Weiterreichen(const std::exception& e);
};

// Runs body; an exception it throws is registered under ort (shown when anzeigen) and the
// caller goes on. Returns false when the body failed. A lost connection inside a
// TVerlustKante goes on to it.
template <class F>
bool ORVGuard(const QString& ort, F&& body, bool anzeigen = true)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        if (TVerlustKante::Weiterreichen(e))
            throw;
        ORVInfo().RegisterException(ort, e, anzeigen);
        return false;
    }
}
