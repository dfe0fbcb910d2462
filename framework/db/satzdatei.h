#pragma once

#include "framework/db/dbfile.h"

#include <functional>
#include <vector>

// One column of a record file: its data field and the member of the record it carries.
template <class S>
struct TSatzSpalte {
    TDatenfeld* Feld;
    std::function<void(S&)> Lesen;            // field to record
    std::function<void(const S&)> Schreiben;  // record to field
};

template <class S, class F, class T>
TSatzSpalte<S> SatzSpalte(F& feld, T S::*member)
{
    return {&feld, [&feld, member](S& s) { s.*member = feld.GetWert(); },
            [&feld, member](const S& s) { feld.SetWert(s.*member); }};
}

// A record file whose record S is read and written through one table of its columns: the
// table gives the file's fields (in column order), GetSatz and SetSatz.
template <class S>
class TZEP_SatzDatei : public TZEP_DBFile {
public:
    using TZEP_DBFile::TZEP_DBFile;

    S GetSatz() const
    {
        S s{};
        for (const TSatzSpalte<S>& c : FSpalten)
            c.Lesen(s);
        return s;
    }
    void SetSatz(const S& s)
    {
        for (const TSatzSpalte<S>& c : FSpalten)
            c.Schreiben(s);
    }

protected:
    void Spalten(std::vector<TSatzSpalte<S>> spalten)
    {
        for (const TSatzSpalte<S>& c : spalten)
            FeldAdd(*c.Feld);
        FSpalten = std::move(spalten);
    }

private:
    std::vector<TSatzSpalte<S>> FSpalten;
};
