#pragma once

#include <array>

// Sales-document line kinds and the code the sales-document line file (LST) stores.
enum TZEP_VerkBeleg_PosTyp : int { vbptKeine = 0, vbptVerkauf = 1, vbptRetoure = 2, vbptGutschein = 3, vbptRabatt = 4 };

inline constexpr std::array<const char*, 5> CZEP_VerkBeleg_PosTyp_2_LstKuerzel = {"", "VK", "RT", "GS", "RB"};
