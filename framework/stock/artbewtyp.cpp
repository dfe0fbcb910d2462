#include "framework/stock/artbewtyp.h"

namespace {
constexpr TORV_ArtBewTyp R(uint8_t code) { return {"", code, false, "reserviert"}; }
}

const std::array<TORV_ArtBewTyp, CORV_ArtBewTyp_Anzahl> CORV_ArtBewTyp_Strg = {{
    {"WE", 1, true, "Wareneingang"},
    {"PA", 2, false, "Preisänderung"},
    {"VK", 3, true, "Verkauf"},
    {"RT", 4, true, "Retoure"},
    {"UA", 5, true, "Umlagerung Abgang"},
    {"UZ", 6, true, "Umlagerung Zugang"},
    {"LR", 7, true, "Lieferantenretoure"},
    {"KO", 8, true, "Korrektur"},
    R(9), R(10), R(11), R(12), R(13), R(14), R(15), R(16), R(17), R(18),
    {"ID", 19, true, "Inventurdifferenz"},
    R(20), R(21), R(22),
    {"IU", 23, true, "Inventurübernahme"},
    R(24), R(25), R(26), R(27), R(28), R(29), R(30), R(31), R(32), R(33), R(34), R(35), R(36), R(37),
    R(38), R(39), R(40), R(41), R(42), R(43), R(44), R(45),
    {"LU", 46, false, "Lagerplatzumbuchung"},
    {"ST", 47, false, "Statistik"},
    {"PK", 48, false, "Preiskorrektur"},
    {"ED", 49, false, "Etikettendruck"},
}};

uint8_t ArtBewTyp_DbCode(TORV_ArtBewTyp_Pos pos)
{
    return CORV_ArtBewTyp_Strg[pos].DbCode;
}
