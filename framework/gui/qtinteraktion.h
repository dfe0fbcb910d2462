#pragma once

#include "framework/app/interaktion.h"

// Shows messages, questions and the version information as real dialogs.
class TQtInteraktion : public IORVInteraktion {
public:
    int Meldung(int art, const QString& titel, const QString& text, QObject* owner) override;
    bool Frage(const QString& titel, const QString& text, const std::vector<TFrageDlg_Antwort>& antworten, int& gewaehlt,
               QObject* owner) override;
    void Versionsinfo(const QString& titel, const QString& text, QObject* owner) override;
};
