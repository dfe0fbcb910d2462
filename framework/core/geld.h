#pragma once

// Rounds an amount to whole cents, half to even. Amounts are doubles, so the value is first
// snapped to a millionth of a cent: a decimal half such as 1.015, which a double holds as
// 1.01499999..., is rounded as the half it stands for (to 1.02).
double AufCentRunden(double betrag);

// A purchase value written down by a percentage.
double Abgewertet(double wert, double prozent);
