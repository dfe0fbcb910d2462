#pragma once

#include <QObject>
#include <QString>

#include <vector>

// One answer of the question dialog: its caption and the value reported when it is chosen.
struct TFrageDlg_Antwort {
    QString Caption;
    int Wert = 0;
    static TFrageDlg_Antwort Construct(const QString& caption, int wert) { return {caption, wert}; }
};

// Message kinds of the catalogue messages: 0 informs, 4 asks Yes/No.
enum TMeldungsArt : int { maInfo = 0, maFehler = 1, maFrageJaNein = 4 };
// Answers of a Yes/No question.
enum TMeldungsAntwort : int { maOK = 1, maJa = 6, maNein = 7 };

// Everything that asks or tells a person something goes through this interface, so that
// tests answer by script and the program shows real dialogs.
class IORVInteraktion {
public:
    virtual ~IORVInteraktion() = default;
    // A message of the given kind; the answer is maOK, maJa or maNein.
    virtual int Meldung(int art, const QString& titel, const QString& text, QObject* owner) = 0;
    // A question with several answers; false when the person chose none.
    virtual bool Frage(const QString& titel, const QString& text, const std::vector<TFrageDlg_Antwort>& antworten,
                       int& gewaehlt, QObject* owner) = 0;
    // Version information window.
    virtual void Versionsinfo(const QString& titel, const QString& text, QObject* owner) = 0;
    // The file to save to, chosen by the person from a suggested name; empty when none was
    // chosen. Without a person to choose, none is.
    virtual QString DateiSpeichern(const QString& /*titel*/, const QString& /*vorschlag*/, const QString& /*filter*/, QObject* /*owner*/)
    {
        return {};
    }
    // A password, typed by the person unseen; empty when none was typed. Without a person to
    // ask, none is.
    virtual QString Passwort(const QString& /*titel*/, const QString& /*text*/, QObject* /*owner*/) { return {}; }
};

// The interaction in use; without one installed, messages go to the error output and
// questions are answered No.
IORVInteraktion& ORVInteraktion();
// Installs an interaction (not owned); nullptr goes back to the default.
void ORVInteraktionSetzen(IORVInteraktion* interaktion);
