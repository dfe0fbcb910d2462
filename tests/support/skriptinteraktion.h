#pragma once

#include "framework/app/interaktion.h"

#include <deque>
#include <vector>

// Answers messages and questions by script and records what was shown.
class TSkriptInteraktion : public IORVInteraktion {
public:
    struct TGezeigt {
        int Art;
        QString Titel;
        QString Text;
    };

    TSkriptInteraktion() { ORVInteraktionSetzen(this); }
    ~TSkriptInteraktion() override { ORVInteraktionSetzen(nullptr); }

    std::vector<TGezeigt> Gezeigt;
    std::deque<int> Antworten;        // answers to Yes/No questions (default Yes)
    std::deque<int> FrageAntworten;   // values chosen in questions; -1 chooses none (default none)

    int Meldung(int art, const QString& titel, const QString& text, QObject*) override
    {
        Gezeigt.push_back({art, titel, text});
        if (art != maFrageJaNein)
            return maOK;
        const int a = Antworten.empty() ? maJa : Antworten.front();
        if (!Antworten.empty())
            Antworten.pop_front();
        return a;
    }
    bool Frage(const QString& titel, const QString& text, const std::vector<TFrageDlg_Antwort>&, int& gewaehlt,
               QObject*) override
    {
        Gezeigt.push_back({-1, titel, text});
        const int a = FrageAntworten.empty() ? -1 : FrageAntworten.front();
        if (!FrageAntworten.empty())
            FrageAntworten.pop_front();
        if (a < 0)
            return false;
        gewaehlt = a;
        return true;
    }
    void Versionsinfo(const QString& titel, const QString& text, QObject*) override { Gezeigt.push_back({-2, titel, text}); }
    QString Datei;   // the file chosen in a file chooser
    QString DateiSpeichern(const QString&, const QString&, const QString&, QObject*) override { return Datei; }
    QString PasswortAntwort;   // the password typed when asked
    QString Passwort(const QString& titel, const QString& text, QObject*) override
    {
        Gezeigt.push_back({-3, titel, text});
        return PasswortAntwort;
    }

    bool Enthaelt(const QString& teil) const
    {
        for (const TGezeigt& g : Gezeigt)
            if (g.Text.contains(teil) || g.Titel.contains(teil))
                return true;
        return false;
    }
};
