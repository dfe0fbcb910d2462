#pragma once

#include "framework/core/datetime.h"

#include <QStringList>

#include <vector>

// A print layout as stored in the layout table, shared by every terminal: title, report
// file, options (first list) and report parameters (second list), both name=value lines.
struct TLayoutSatz {
    qint64 Id = 0;   // 0 for a layout not stored yet
    QString Titel;
    QString Report;
    QStringList Optionen;
    QStringList Parameter;
    bool Standard = false;   // preselected in the layout dialog
    // the change the layout was read with: who saved it last and when
    int Aenderung = 0;
    QString Benutzer;
    TDateTime Geaendert = 0;
};

namespace TLayoutSpeicher {
// The layouts of a module whose report file starts with one of the prefixes (ignoring
// case), ordered by report file and title.
std::vector<TLayoutSatz> Lesen(const QString& modul, const QStringList& praefixe);

// Stores new and changed layouts and deletes others, all in one transaction. A layout that
// another terminal changed or deleted since it was read refuses the whole save (EORVFehler
// naming that change); nothing is stored then.
void Speichern(const QString& modul, const std::vector<TLayoutSatz>& geaendert, const std::vector<TLayoutSatz>& geloescht);

// What is wrong with a layout before it is stored, naming the line; empty when nothing.
// vorlagen: the report templates there are (empty: not checked).
QString Pruefen(const TLayoutSatz& layout, const QStringList& vorlagen);
}
