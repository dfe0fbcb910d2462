#pragma once

#include <QChar>
#include <QString>

#include <array>

// Status of an inventory, 0 to 6.
enum TZEP_IA_KZZaehlung : int {
    iakzAngelegt = 0,
    iakzInZaehlung = 1,
    iakzGezaehlt = 2,
    iakzFreigegeben = 3,
    iakzTeilweiseGebucht = 4,
    iakzGebucht = 5,
    iakzStorniert = 6,
};

// Display text of each status, from status 0.
extern const std::array<QString, 7> CZEP_IA_KZZaehlung_2_String;
// Stored character of each status, from status 1 (status 0 has no stored character).
extern const std::array<QChar, 6> CZEP_IA_KZZaehlung_2_Char;

// The status a stored character stands for; an empty or unknown character is status 0.
TZEP_IA_KZZaehlung Char_2_IA_KZZaehlung(QChar c);
// The stored character of a status; status 0 gives no character.
QChar IA_KZZaehlung_2_Char(TZEP_IA_KZZaehlung status);
