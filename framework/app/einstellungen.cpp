#include "framework/app/einstellungen.h"

#include "framework/app/programm.h"

std::unique_ptr<QSettings> BenutzerEinstellungen()
{
    auto s = std::make_unique<QSettings>();
    s->beginGroup(QStringLiteral("Benutzer/") + ORVProgramm().Benutzer());
    return s;
}
