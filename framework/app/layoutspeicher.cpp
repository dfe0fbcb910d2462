#include "framework/app/layoutspeicher.h"

#include "framework/app/programm.h"
#include "framework/core/fehler.h"
#include "framework/core/uhr.h"
#include "framework/db/connection.h"
#include "framework/db/transaktion.h"
#include "framework/db/datenfeld.h"

#include <QSet>
#include <QSqlQuery>

namespace {

const QString COrt = QStringLiteral("TLayoutSpeicher");

QStringList Zeilen(const QString& text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QSqlQuery Ausfuehren(const QString& sql, const QVariantList& werte)
{
    return TZEP_Connection::Ausfuehren(COrt, sql, werte);
}

QString Zeitpunkt(TDateTime t)
{
    return TDateTime_ToQDateTime(t).toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

// Refuses the save when the stored row is not the one the layout was read with.
void UnveraendertPruefen(const TLayoutSatz& l)
{
    QSqlQuery q = Ausfuehren(QStringLiteral("SELECT aenderung, benutzer, geaendert FROM layout WHERE id = ?"), {l.Id});
    if (!q.next())
        FehlerRaise(COrt, {QStringLiteral("Das Layout \"%1\" wurde inzwischen an einem anderen Arbeitsplatz gelöscht.").arg(l.Titel),
                           QStringLiteral("Es wurde nichts gespeichert.")});
    if (q.value(0).toInt() != l.Aenderung) {
        const QVariant d = q.value(2);
        FehlerRaise(COrt, {QStringLiteral("Das Layout \"%1\" wurde inzwischen von %2 am %3 geändert.")
                               .arg(l.Titel, q.value(1).toString(), Zeitpunkt(TDatumTraits::FromSql(&d))),
                           QStringLiteral("Es wurde nichts gespeichert.")});
    }
}

}

namespace TLayoutSpeicher {

std::vector<TLayoutSatz> Lesen(const QString& modul, const QStringList& praefixe)
{
    std::vector<TLayoutSatz> r;
    TZEP_Connection::Lesen(COrt,
                           QStringLiteral("SELECT id, name, report, optionen, parameter, standard, aenderung, benutzer, "
                                          "geaendert FROM layout WHERE modul = ? ORDER BY report, name"),
                           {modul}, [&](const QSqlQuery& q) {
                               TLayoutSatz l;
                               l.Report = q.value(2).toString();
                               const bool passt = praefixe.isEmpty()
                                   || std::any_of(praefixe.begin(), praefixe.end(),
                                                  [&](const QString& p) { return l.Report.startsWith(p, Qt::CaseInsensitive); });
                               if (!passt)
                                   return;
                               l.Id = q.value(0).toLongLong();
                               l.Titel = q.value(1).toString();
                               l.Optionen = Zeilen(q.value(3).toString());
                               l.Parameter = Zeilen(q.value(4).toString());
                               l.Standard = q.value(5).toInt() != 0;
                               l.Aenderung = q.value(6).toInt();
                               l.Benutzer = q.value(7).toString();
                               const QVariant d = q.value(8);
                               l.Geaendert = TDatumTraits::FromSql(&d);
                               r.push_back(std::move(l));
                           });
    return r;
}

void Speichern(const QString& modul, const std::vector<TLayoutSatz>& geaendert, const std::vector<TLayoutSatz>& geloescht)
{
    TTransaktion t(COrt);
    const QString benutzer = ORVProgramm().Benutzer();
    const QVariant jetzt = TDatumTraits::ToSql(orv_Now()).first();
    for (const TLayoutSatz& l : geloescht) {
        UnveraendertPruefen(l);
        Ausfuehren(QStringLiteral("DELETE FROM layout WHERE id = ?"), {l.Id});
    }
    for (const TLayoutSatz& l : geaendert) {
        QSqlQuery gleich = Ausfuehren(QStringLiteral("SELECT benutzer FROM layout WHERE modul = ? AND name = ? AND id <> ?"),
                                      {modul, l.Titel, l.Id});
        if (gleich.next())
            FehlerRaise(COrt, {QStringLiteral("Ein Layout mit dem Titel \"%1\" gibt es schon.").arg(l.Titel),
                               QStringLiteral("Es wurde nichts gespeichert.")});
        const QVariantList werte{l.Titel, l.Report, l.Optionen.join(QLatin1Char('\n')), l.Parameter.join(QLatin1Char('\n')),
                                 int(l.Standard), benutzer, jetzt};
        if (l.Id == 0) {
            Ausfuehren(QStringLiteral("INSERT INTO layout (name, report, optionen, parameter, standard, benutzer, geaendert, "
                                      "modul, aenderung) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 1)"),
                       werte + QVariantList{modul});
            continue;
        }
        UnveraendertPruefen(l);
        // the counter in the condition makes a save between check and update fail too
        const QSqlQuery q = Ausfuehren(QStringLiteral("UPDATE layout SET name = ?, report = ?, optionen = ?, parameter = ?, "
                                                      "standard = ?, benutzer = ?, geaendert = ?, aenderung = aenderung + 1 "
                                                      "WHERE id = ? AND aenderung = ?"),
                                       werte + QVariantList{l.Id, l.Aenderung});
        if (q.numRowsAffected() != 1)
            UnveraendertPruefen(l);
    }
    t.Commit();
}

QString Pruefen(const TLayoutSatz& l, const QStringList& vorlagen)
{
    if (l.Titel.trimmed().isEmpty())
        return QStringLiteral("Das Layout hat keinen Titel.");
    if (l.Report.trimmed().isEmpty())
        return QStringLiteral("Layout \"%1\": keine Reportdatei angegeben.").arg(l.Titel);
    if (!vorlagen.isEmpty() && !vorlagen.contains(l.Report, Qt::CaseInsensitive))
        return QStringLiteral("Layout \"%1\": die Reportdatei %2 gibt es nicht.").arg(l.Titel, l.Report);
    for (const auto& [liste, name] : {std::pair{&l.Optionen, QStringLiteral("Optionen")}, {&l.Parameter, QStringLiteral("Parameter")}}) {
        QSet<QString> namen;
        for (int i = 0; i < liste->size(); ++i) {
            const QString& zeile = liste->at(i);
            const QString wo = QStringLiteral("Layout \"%1\", %2, Zeile %3 \"%4\": ").arg(l.Titel, name).arg(i + 1).arg(zeile);
            const qsizetype gleich = zeile.indexOf(QLatin1Char('='));
            if (gleich < 0)
                return wo + QStringLiteral("es fehlt das \"=\" zwischen Name und Wert.");
            const QString n = zeile.left(gleich).trimmed();
            if (n.isEmpty())
                return wo + QStringLiteral("der Name fehlt.");
            if (namen.contains(n))
                return wo + QStringLiteral("der Name %1 steht schon in einer früheren Zeile.").arg(n);
            namen.insert(n);
            static const QStringList raender{QStringLiteral("ObererRand"), QStringLiteral("LinkerRand"),
                                             QStringLiteral("UntererRand"), QStringLiteral("XPosition")};
            bool zahl = true;
            if (raender.contains(n))
                QString(zeile.mid(gleich + 1).trimmed()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&zahl);
            if (!zahl)
                return wo + QStringLiteral("der Rand ist keine Zahl (Millimeter).");
        }
    }
    return {};
}

}
