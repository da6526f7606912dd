#include "todo/rules/DataFileLock.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder only this user can enter, owned by this user: nobody else can take or fake our locks there.
bool private_folder(const QByteArray& path, bool mayCreate) {
    if (mayCreate) ::mkdir(path.constData(), 0700);
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

// The path every name of a file leads to. A file that does not exist yet takes its folder's resolved path.
QString resolved_path(const QString& file) {
    const QFileInfo info(file);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty()) return canonical;
    const QString folder = QDir(info.absolutePath()).canonicalPath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + u'/' + info.fileName();
}

} // namespace

QString DataFileLock::RuntimeFolder() {
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg) && QFileInfo(xdg).isDir()) return xdg;
    const QString session = QStringLiteral("/run/user/%1").arg(::getuid());
    if (private_folder(QFile::encodeName(session), false)) return session;
    const QString own = QDir(QDir::tempPath()).filePath(QStringLiteral("quillmarch-%1").arg(::getuid()));
    return private_folder(QFile::encodeName(own), true) ? own : QString();
}

QString DataFileLock::LockFileName(const QString& dataFile) {
    const QString folder = RuntimeFolder();
    if (folder.isEmpty()) return {};
    const QByteArray digest =
        QCryptographicHash::hash(QFile::encodeName(resolved_path(dataFile)), QCryptographicHash::Sha1)
            .toHex();
    return QDir(folder).filePath(
        QStringLiteral("quillmarch-%1.list.lock").arg(QString::fromLatin1(digest.left(16))));
}

DataFileLock::~DataFileLock() {
    Release();
}

DataFileLock::Result DataFileLock::Lock(const QString& dataFile, int waitMs) {
    Release();
    const QString name = LockFileName(dataFile);
    if (name.isEmpty()) return Result::Unavailable;
    const QByteArray path = QFile::encodeName(name);
    const QDeadlineTimer deadline(waitMs);
    // Bounded, should files keep vanishing under us.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return Result::Unavailable;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The holder before us removes the file as it lets go: a lock on a file no longer under that
            // name guards nothing, so we start again with the file that is there now.
            struct stat held {
            }, named{};
            if (::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 &&
                held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
                fd_ = fd;
                lockFile_ = name;
                return Result::Locked;
            }
            ::close(fd);
        } else {
            const int error = errno;
            ::close(fd);
            if (error != EWOULDBLOCK && error != EINTR) return Result::Unavailable;
            if (deadline.hasExpired()) return Result::Busy;
            ::usleep(20000);
        }
    }
    return Result::Busy;
}

void DataFileLock::Release() {
    if (fd_ < 0) return;
    // Removed while still held, so nobody can lock the old file after we let go.
    ::unlink(QFile::encodeName(lockFile_).constData());
    ::close(fd_);
    fd_ = -1;
    lockFile_.clear();
}
