#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

QString SingleInstance::LockFileName() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("org.quillmarch.todo.semahore.running"));
}

bool SingleInstance::Acquire(const QString& fileName) {
    if (fd_ >= 0) return true;
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true; // no lock to be had: better a second window than no program at all
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) ::close(fd_);
}
