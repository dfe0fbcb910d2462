#include "framework/dbf/invufile.h"

const std::vector<TDbfFeld<TinvuSatz>>& Tinvufile::Layout() const
{
    using S = TinvuSatz;
    static const std::vector<TDbfFeld<S>> layout = {
        DbfFeld("LfdNr", &S::LfdNr), DbfFeld("WGN", &S::WGN, 10), DbfFeld("Filiale", &S::Filiale),
        DbfFeld("FilKZ", &S::FilKZ), DbfFeld("MwSt", &S::MwSt, 6), DbfFeld("Sum_Ist", &S::Sum_Ist),
        DbfFeld("Sum_Soll", &S::Sum_Soll), DbfFeld("Sum_Diff", &S::Sum_Diff), DbfFeld("Ist_EKWert", &S::Ist_EKWert),
        DbfFeld("Soll_EKWert", &S::Soll_EKWert), DbfFeld("Diff_EKWert", &S::Diff_EKWert),
        DbfFeld("Ist_EKWert_Abgew", &S::Ist_EKWert_Abgew), DbfFeld("Soll_EKWert_Abgew", &S::Soll_EKWert_Abgew),
        DbfFeld("Diff_EKWert_Abgew", &S::Diff_EKWert_Abgew), DbfFeld("Ist_VKWert", &S::Ist_VKWert),
        DbfFeld("Soll_VKWert", &S::Soll_VKWert), DbfFeld("Diff_VKWert", &S::Diff_VKWert)};
    return layout;
}
