// The lock that says a process has a data file in hand: Quillmarch holds it while the file is its
// current list, quillmarch-tool while it writes the file. An exclusive flock on a small file in the
// user's runtime folder, named after the data file's resolved path, so every name of one file (a link,
// a relative name) meets the same lock. The kernel drops it when its holder ends in any way, so a crash
// never leaves a list locked.
#pragma once

#include <QString>

class DataFileLock {
public:
    // The user's runtime folder: $XDG_RUNTIME_DIR, else /run/user/<uid> (a job started by cron has no
    // XDG_RUNTIME_DIR while the desktop session does), else a private folder under the temporary folder.
    // Empty when none can be had.
    static QString RuntimeFolder();
    // <runtime folder>/quillmarch-<digest of the resolved path>.list.lock; empty without a runtime folder.
    static QString LockFileName(const QString& dataFile);

    DataFileLock() = default;
    DataFileLock(const DataFileLock&) = delete;
    DataFileLock& operator=(const DataFileLock&) = delete;
    ~DataFileLock();

    enum class Result {
        Locked,
        // Another process holds it, still after waitMs.
        Busy,
        // No lock file can be made (no runtime folder): nobody else can hold one either.
        Unavailable,
    };
    // Takes the lock of a data file, dropping the one held before; tries again for up to waitMs while
    // another process holds it.
    Result Lock(const QString& dataFile, int waitMs = 0);
    void Release();
    bool IsHeld() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    QString lockFile_;
};
