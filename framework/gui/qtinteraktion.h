#pragma once

#include "framework/app/interaktion.h"

#include <QString>

// Shows messages, questions and the version information as real dialogs. Every box carries the
// program's title; the title the caller gives (catalogue module and number) stays visible
// below the text, for support.
class TQtInteraktion : public IORVInteraktion {
public:
    explicit TQtInteraktion(QString programmTitel) : FProgrammTitel(std::move(programmTitel)) {}

    int Meldung(int art, const QString& titel, const QString& text, QObject* owner) override;
    bool Frage(const QString& titel, const QString& text, const std::vector<TFrageDlg_Antwort>& antworten, int& gewaehlt,
               QObject* owner) override;
    void Versionsinfo(const QString& titel, const QString& text, QObject* owner) override;
    QString DateiSpeichern(const QString& titel, const QString& vorschlag, const QString& filter, QObject* owner) override;
    QString Passwort(const QString& titel, const QString& text, QObject* owner) override;

private:
    QString FProgrammTitel;
};

// Loads Qt's own German texts (standard buttons, file and print dialogs); false when they are
// not installed.
bool QtUebersetzungLaden();
