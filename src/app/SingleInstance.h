// One process per desktop session: an exclusive lock on a file in the user's runtime folder. The kernel
// drops the lock when its holder ends in any way, so a crashed instance never blocks the next start.
// Beside the lock, the running instance listens on a socket of the user's own, through which a second
// start asks it to show its window.
#pragma once

#include <QPointer>
#include <QSocketNotifier>
#include <QString>
#include <functional>

class SingleInstance {
public:
    // The lock file: <runtime folder>/org.quillmarch.todo.semahore.running.
    static QString LockFileName();
    // The socket beside a lock file.
    static QString SocketFileName(const QString& lockFile = LockFileName());

    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // Tries to take the lock without waiting; true when this is the only instance.
    bool Acquire(const QString& fileName = LockFileName());
    // Once the lock is held: listens for a second start, calling onShow (in context's thread) each time
    // one asks. False when no socket could be made; the program then runs without it.
    bool Listen(QObject* context, std::function<void()> onShow);

    // A second start: asks the running instance to show its window; true when it answered in time.
    static bool AskRunningToShow(const QString& socketFile = SocketFileName(), int timeoutMs = 2000);

private:
    void Answer();

    int fd_ = -1;
    int listenFd_ = -1;
    QString lockFile_;
    QString socketFile_;
    // Owned by the context it was made for, which may go first.
    QPointer<QSocketNotifier> notifier_;
    std::function<void()> onShow_;
};
