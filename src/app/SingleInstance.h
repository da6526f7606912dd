// One process per desktop session: an exclusive lock on a file in the user's runtime folder. The kernel
// drops the lock when its holder ends in any way, so a crashed instance never blocks the next start.
#pragma once

#include <QString>

class SingleInstance {
public:
    // The lock file: <runtime folder>/org.quillmarch.todo.semahore.running.
    static QString LockFileName();

    // Tries to take the lock without waiting; true when this is the only instance.
    bool Acquire(const QString& fileName = LockFileName());
    ~SingleInstance();

private:
    int fd_ = -1;
};
