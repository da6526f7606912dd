#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
const char kShowRequest[] = "show\n";
const char kShowAnswer[] = "ok\n";

bool socket_address(const QString& file, sockaddr_un& address) {
    const QByteArray path = QFile::encodeName(file);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    return true;
}

// Waits for the descriptor to become readable, up to the timeout.
bool readable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    int r;
    do
        r = ::poll(&p, 1, timeoutMs);
    while (r < 0 && errno == EINTR);
    return r > 0;
}
} // namespace

QString SingleInstance::LockFileName() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("org.quillmarch.todo.semahore.running"));
}

QString SingleInstance::SocketFileName(const QString& lockFile) {
    QString name = lockFile;
    name.replace(QStringLiteral(".running"), QString());
    return name + QStringLiteral(".socket");
}

bool SingleInstance::Acquire(const QString& fileName) {
    if (fd_ >= 0) return true;
    lockFile_ = fileName;
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

bool SingleInstance::Listen(QObject* context, std::function<void()> onShow) {
    if (fd_ < 0 || listenFd_ >= 0) return false;
    sockaddr_un address;
    const QString file = SocketFileName(lockFile_);
    if (!socket_address(file, address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    // Holding the lock, whatever socket file is left there is a crashed instance's.
    ::unlink(address.sun_path);
    // Made private to the user before anyone can connect.
    const mode_t mask = ::umask(0077);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::listen(fd, 4) != 0) {
        ::close(fd);
        return false;
    }
    listenFd_ = fd;
    socketFile_ = file;
    onShow_ = std::move(onShow);
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, context);
    QObject::connect(notifier_, &QSocketNotifier::activated, context, [this] { Answer(); });
    return true;
}

void SingleInstance::Answer() {
    const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    char request[16] = {};
    bool asked = false;
    if (readable(client, 500)) {
        const ssize_t got = ::read(client, request, sizeof request - 1);
        asked = got > 0 && std::strncmp(request, kShowRequest, sizeof kShowRequest - 1) == 0;
    }
    if (asked) [[maybe_unused]]
        const ssize_t put = ::send(client, kShowAnswer, sizeof kShowAnswer - 1, MSG_NOSIGNAL);
    ::close(client);
    if (asked && onShow_) onShow_();
}

bool SingleInstance::AskRunningToShow(const QString& socketFile, int timeoutMs) {
    sockaddr_un address;
    if (!socket_address(socketFile, address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool answered = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::send(fd, kShowRequest, sizeof kShowRequest - 1, MSG_NOSIGNAL) ==
            static_cast<ssize_t>(sizeof kShowRequest - 1) &&
        readable(fd, timeoutMs)) {
        char reply[8] = {};
        answered = ::read(fd, reply, sizeof reply - 1) > 0 && std::strncmp(reply, kShowAnswer, 2) == 0;
    }
    ::close(fd);
    return answered;
}

SingleInstance::~SingleInstance() {
    delete notifier_;
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(QFile::encodeName(socketFile_).constData());
    }
    if (fd_ >= 0) ::close(fd_);
}
