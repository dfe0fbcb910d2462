#include "framework/stock/mde/verzeichnis.h"

#include "framework/core/fehler.h"
#include "framework/core/prozess.h"
#include "framework/core/zitat.h"

#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString COrt = QStringLiteral("TMDEBucher");

QByteArray Kodiert(const QString& name)
{
    return QFile::encodeName(name);
}

QString Systemgrund(int fehler)
{
    return QString::fromLocal8Bit(std::strerror(fehler));
}

struct TFd {
    int Fd = -1;
    explicit TFd(int fd) : Fd(fd) {}
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    ~TFd()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
};

qint64 Millisekunden(const struct timespec& t)
{
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

bool Gleich(const struct stat& a, const struct stat& b)
{
    return a.st_ino == b.st_ino && a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

std::shared_ptr<const int> Teilen(int fd)
{
    return std::shared_ptr<const int>(new int(fd), [](const int* p) {
        ::close(*p);
        delete p;
    });
}

}

TVerzeichnis TVerzeichnis::Oeffnen(const QString& pfad)
{
    const int fd = ::open(Kodiert(pfad).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        FehlerRaise(COrt, {QStringLiteral("Der Ordner %1 kann nicht geöffnet werden: %2").arg(pfad, Systemgrund(errno))});
    return TVerzeichnis(Teilen(fd), pfad);
}

TVerzeichnis TVerzeichnis::Unterordner(const QString& name) const
{
    const QByteArray n = Kodiert(name);
    if (::mkdirat(Fd(), n.constData(), 0750) != 0 && errno != EEXIST)
        Raise(QStringLiteral("der Ordner %1 kann nicht angelegt werden").arg(Zitat(name)), errno);
    const int fd = ::openat(Fd(), n.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        Raise(errno == ELOOP || errno == ENOTDIR ? QStringLiteral("%1 ist kein Ordner (ein Verweis wird nicht verfolgt)").arg(Zitat(name))
                                                 : QStringLiteral("der Ordner %1 kann nicht geöffnet werden").arg(Zitat(name)),
              errno);
    TVerzeichnis r(Teilen(fd), FPfad + QLatin1Char('/') + name);
    // a folder that someone else made (in a drop folder others write to) is not ours to use
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        Raise(QStringLiteral("der Ordner %1 kann nicht geprüft werden").arg(Zitat(name)), errno);
    if ((st.st_uid != ::geteuid() && st.st_uid != 0) || (st.st_mode & S_IWOTH))
        FehlerRaise(COrt, {QStringLiteral("Ordner %1: %2 gehört einem anderen Benutzer oder ist für alle beschreibbar und wird nicht benutzt.")
                               .arg(FPfad, Zitat(name))});
    return r;
}

std::unique_ptr<TVerzeichnis> TVerzeichnis::UnterordnerFalls(const QString& name) const
{
    const int fd = ::openat(Fd(), Kodiert(name).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::unique_ptr<TVerzeichnis>(new TVerzeichnis(Teilen(fd), FPfad + QLatin1Char('/') + name));
}

std::vector<TEintrag> TVerzeichnis::Eintraege() const
{
    const int eigenes = ::openat(Fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* d = eigenes < 0 ? nullptr : ::fdopendir(eigenes);
    if (!d) {
        const int fehler = errno;
        if (eigenes >= 0)
            ::close(eigenes);
        Raise(QStringLiteral("sein Inhalt kann nicht gelesen werden"), fehler);
    }
    std::vector<TEintrag> r;
    while (const dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        struct stat st {};
        if (::fstatat(Fd(), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;   // gone meanwhile
        const QString name = QFile::decodeName(e->d_name);
        r.push_back({name, S_ISREG(st.st_mode) && st.st_nlink == 1, Kodiert(name) == e->d_name, Millisekunden(st.st_mtim)});
    }
    ::closedir(d);
    return r;
}

bool TVerzeichnis::Vorhanden(const QString& name) const
{
    struct stat st {};
    return ::fstatat(Fd(), Kodiert(name).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

void TVerzeichnis::Beschreibbar() const
{
    const QByteArray probe = Kodiert(QStringLiteral(".kalmet-probe-%1").arg(EigenerProzess()));
    ::unlinkat(Fd(), probe.constData(), 0);   // left by a process with the same id that was killed
    const int fd = ::openat(Fd(), probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        Raise(QStringLiteral("hier können keine Dateien angelegt werden"), errno);
    ::close(fd);
    if (::unlinkat(Fd(), probe.constData(), 0) != 0)
        Raise(QStringLiteral("hier können keine Dateien entfernt werden"), errno);
}

bool TVerzeichnis::Verschieben(const QString& name, const TVerzeichnis& ziel, const QString& zielname) const
{
    const QByteArray a = Kodiert(name), b = Kodiert(zielname);
    if (::renameat2(Fd(), a.constData(), ziel.Fd(), b.constData(), RENAME_NOREPLACE) == 0)
        return true;
    int fehler = errno;
    if (fehler == EINVAL || fehler == ENOSYS) {
        // a file system without that flag: a hard link is refused on a name that is taken, and
        // of two processes that linked the same file only one removes its old name
        if (::linkat(Fd(), a.constData(), ziel.Fd(), b.constData(), 0) == 0) {
            if (::unlinkat(Fd(), a.constData(), 0) == 0)
                return true;
            fehler = errno;
            ::unlinkat(ziel.Fd(), b.constData(), 0);
        } else {
            fehler = errno;
        }
    }
    if (fehler == ENOENT || fehler == EEXIST)
        return false;
    Raise(QStringLiteral("%1 kann nicht nach %2 verschoben werden").arg(Zitat(name), ziel.Pfad()), fehler);
}

int TVerzeichnis::Oeffnen(const QString& name, TDateiGelesen& r, struct stat& st) const
{
    const int fd = ::openat(Fd(), Kodiert(name).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int fehler = errno;
        if (fehler == EMFILE || fehler == ENFILE || fehler == ENOMEM)
            Raise(QStringLiteral("%1 kann nicht geöffnet werden").arg(Zitat(name)), fehler);
        r.Art = fehler == ENOENT                                            ? TDateiGelesen::Weg
                : fehler == ELOOP || fehler == ENXIO || fehler == ENODEV ? TDateiGelesen::KeineDatei
                                                                          : TDateiGelesen::Unlesbar;
        r.Grund = Systemgrund(fehler);
        return -1;
    }
    // a second name (a hard link) may be another user's way to a file he cannot read
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) {
        ::close(fd);
        r.Art = TDateiGelesen::KeineDatei;
        return -1;
    }
    r.Groesse = st.st_size;
    return fd;
}

TDateiGelesen TVerzeichnis::Anfang(const QString& name, qint64 max) const
{
    TDateiGelesen r;
    struct stat st {};
    const TFd f(Oeffnen(name, r, st));
    if (f.Fd < 0)
        return r;
    r.Inhalt.resize(std::min<qint64>(st.st_size, max));
    const ssize_t n = ::read(f.Fd, r.Inhalt.data(), static_cast<size_t>(r.Inhalt.size()));
    r.Inhalt.truncate(std::max<ssize_t>(n, 0));
    r.Art = n < 0 ? TDateiGelesen::Unlesbar : TDateiGelesen::Gelesen;
    return r;
}

TDateiGelesen TVerzeichnis::Lesen(const QString& name, qint64 max, qint64 ruheMs) const
{
    TDateiGelesen r;
    struct stat vorher {}, nachher {};
    const TFd f(Oeffnen(name, r, vorher));
    if (f.Fd < 0)
        return r;
    if (vorher.st_size > max) {
        r.Art = TDateiGelesen::ZuGross;
        return r;
    }
    if (std::abs(QDateTime::currentMSecsSinceEpoch() - Millisekunden(vorher.st_mtim)) < ruheMs) {
        r.Art = TDateiGelesen::Veraendert;   // written to since it was found
        return r;
    }
    // one byte more than it holds: a file that grows while it is read is seen to
    r.Inhalt.resize(vorher.st_size + 1);
    qint64 gelesen = 0;
    while (gelesen < r.Inhalt.size()) {
        const ssize_t n = ::read(f.Fd, r.Inhalt.data() + gelesen, static_cast<size_t>(r.Inhalt.size() - gelesen));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            r.Art = TDateiGelesen::Unlesbar;
            r.Grund = Systemgrund(errno);
            r.Inhalt.clear();
            return r;
        }
        if (n == 0)
            break;
        gelesen += n;
    }
    r.Inhalt.truncate(gelesen);
    if (gelesen != vorher.st_size || ::fstat(f.Fd, &nachher) != 0 || !Gleich(vorher, nachher)) {
        r.Art = TDateiGelesen::Veraendert;
        r.Inhalt.clear();
        return r;
    }
    r.Art = TDateiGelesen::Gelesen;
    return r;
}

bool TVerzeichnis::Anlegen(const QString& name, const QByteArray& inhalt) const
{
    const TFd f(::openat(Fd(), Kodiert(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0640));
    if (f.Fd < 0 && errno == EEXIST)
        return false;
    if (f.Fd < 0)
        Raise(QStringLiteral("%1 kann nicht angelegt werden").arg(Zitat(name)), errno);
    for (qint64 geschrieben = 0; geschrieben < inhalt.size();) {
        const ssize_t n = ::write(f.Fd, inhalt.constData() + geschrieben, static_cast<size_t>(inhalt.size() - geschrieben));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Raise(QStringLiteral("%1 kann nicht geschrieben werden").arg(Zitat(name)), errno);
        geschrieben += n;
    }
    return true;
}

bool TVerzeichnis::OrdnerEntfernen(const QString& name) const
{
    return ::unlinkat(Fd(), Kodiert(name).constData(), AT_REMOVEDIR) == 0;
}

void TVerzeichnis::Raise(const QString& was, int fehler) const
{
    FehlerRaise(COrt, {QStringLiteral("Ordner %1: %2: %3").arg(FPfad, was, Systemgrund(fehler))});
}
