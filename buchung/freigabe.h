#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct TBuchungsZeile;

// The right that lets a user book an inventory whose difference needs approval.
inline const QString CRechtFreigabe = QStringLiteral("pzf");

// Approval of large differences: an inventory whose difference at purchase prices (counted
// less target value, absolute) exceeds the parameter FREIGABE_AB_EK is booked only by a user
// with the right "pzf" (Freigabe). The parameter missing or 0 asks for no approval; a value
// that is no amount is a fault. One line for each inventory of the rows the current user may
// not book, naming the difference; none when he may book them all.
QStringList FreigabeFehlt(const std::vector<TBuchungsZeile>& geprueft);

// The refusal for those lines.
QString FreigabeText(const QStringList& fehlt);
