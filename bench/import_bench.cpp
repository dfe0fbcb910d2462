// Count-file import: the whole process "kalmet import" on 100 files of 200 scans each (--files N,
// --scans N, --runs N), for a branch-wide inventory of a count day of its own in branch 1 of the
// benchmark chain; what a run imported is removed again, so the chain stays as it was.
#include "bench/benchdb.h"

#include <QDateTime>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlError>
#include <QTemporaryDir>

namespace {

const TDateTime CTag = EncodeDate(2026, 11, 30);

QString Sql(TDateTime d)
{
    return TDatumTraits::ToSql(d).first().toString();
}

void Ausfuehren(const QString& sql)
{
    QSqlQuery q(TZEP_Connection::Database());
    if (!q.exec(sql)) {
        std::printf("%s: %s\n", qPrintable(sql), qPrintable(q.lastError().text()));
        std::exit(1);
    }
}

void Aufraeumen()
{
    Ausfuehren(QString("DELETE FROM izns WHERE zaehldatum = '%1' AND filiale = 1").arg(Sql(CTag)));
    Ausfuehren(QString("DELETE FROM ia WHERE zaehldatum = '%1' AND filiale = 1").arg(Sql(CTag)));
    Ausfuehren("DELETE FROM zaehldatei WHERE name LIKE 'bench-%'");
}

QStringList Barcodes()
{
    QStringList r;
    QSqlQuery q(TZEP_Connection::Database());
    q.exec("SELECT ean FROM ean ORDER BY ean");
    while (q.next())
        r << q.value(0).toString();
    return r;
}

// n files of scans lines each, settled (written a minute ago), different in every run.
void DateienSchreiben(const QDir& ordner, int n, int scans, const QStringList& barcodes, int lauf)
{
    QRandomGenerator zufall(lauf);
    for (int i = 0; i < n; ++i) {
        QByteArray t = QString("#filiale=1\n#zaehldatum=%1\n#regal=%2\n#geraet=BENCH\n")
                           .arg(TDateTime_ToQDateTime(CTag).date().toString(Qt::ISODate))
                           .arg(lauf * 1000 + i + 1)
                           .toUtf8();
        for (int s = 0; s < scans; ++s)
            t += barcodes[zufall.bounded(static_cast<int>(barcodes.size()))].toLatin1() + ';' + QByteArray::number(zufall.bounded(1, 4)) + '\n';
        QFile f(ordner.filePath(QString("bench-%1.mde").arg(i, 4, 10, QChar('0'))));
        f.open(QIODevice::WriteOnly);
        f.write(t);
        f.flush();
        f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
    }
}

}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const TDbUrl url = BenchDatenbank(args);
    BenchProgrammStarten();
    const int dateien = BenchWert(args, "--files", "100").toInt(), scans = BenchWert(args, "--scans", "200").toInt(),
              laeufe = BenchWert(args, "--runs", "3").toInt();
    const QString kalmet = QCoreApplication::applicationDirPath() + "/../kalmet/kalmet";
    const QStringList barcodes = Barcodes();
    std::vector<double> zeiten;
    for (int lauf = 1; lauf <= laeufe; ++lauf) {
        Aufraeumen();
        Ausfuehren(QString("INSERT INTO ia (wijahr, zaehldatum, wgn, filiale, sollek, istek, kzzaehlung) VALUES "
                           "('2026-02-01 00:00:00.000', '%1', '', 1, 0, 0, '1')")
                       .arg(Sql(CTag)));
        QTemporaryDir ordner;
        DateienSchreiben(QDir(ordner.path()), dateien, scans, barcodes, lauf);
        QStringList argumente{"import", "--db", url.ToString(), "--folder", ordner.path()};
        if (url.Typ == TConnectorTyp::SQLite)
            argumente << "--user" << "demo";   // on PostgreSQL the role the server authenticated
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        zeiten.push_back(Sekunden([&] {
            p.start(kalmet, argumente);
            p.waitForFinished(-1);
        }));
        const QString aus = QString::fromUtf8(p.readAll());
        if (p.exitCode() != 0 || !aus.contains(QString("%1 Zähldateien eingelesen").arg(dateien))) {
            std::printf("kalmet import: Exit-Code %d\n%s\n", p.exitCode(), qPrintable(aus.right(2000)));
            return 1;
        }
    }
    Aufraeumen();
    std::printf("kalmet import, %d Dateien × %d Scans: Median %.2f s (%s)\n", dateien, scans, Median(zeiten), qPrintable(Zeiten(zeiten)));
    return 0;
}
