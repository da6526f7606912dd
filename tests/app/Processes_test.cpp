#include "DataFileSave.h"
#include "NoxPigger.h"
#include "SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Starts a helper and waits for its first line.
bool StartAndWaitFor(QProcess& p, const QString& program, const QStringList& args, const QByteArray& line) {
    p.start(program, args);
    if (!p.waitForStarted(5000)) return false;
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while (!out.contains(line) && clock.elapsed() < 10000) {
        p.waitForReadyRead(100);
        out += p.readAllStandardOutput();
        if (p.state() == QProcess::NotRunning) return false;
    }
    return out.contains(line);
}

TEST(SingleInstance, ASecondStartEndsAtOnceAndAStartAfterACrashedHolderSucceeds) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString lockFile =
        QDir(runtime.path()).filePath(QStringLiteral("org.quillmarch.todo.semahore.running"));

    QProcess holder;
    ASSERT_TRUE(StartAndWaitFor(holder, QStringLiteral(QM_LOCK_HOLDER), {lockFile}, "locked"));

    // The program itself: with the lock taken it ends at once, shows nothing and writes nothing.
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(runtime.path());
    QElapsedTimer clock;
    clock.start();
    second.start(QStringLiteral(QM_PROGRAM), {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    EXPECT_EQ(QDir(runtime.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 1);

    SingleInstance here;
    EXPECT_FALSE(here.Acquire(lockFile));

    // A holder killed outright leaves the file behind but not the lock.
    holder.kill();
    ASSERT_TRUE(holder.waitForFinished(5000));
    EXPECT_TRUE(QFileInfo::exists(lockFile));
    EXPECT_TRUE(here.Acquire(lockFile));
}

// Reads a saved list and returns its item count, or -1 when it is not a complete state 0..n-1.
int CompleteState(const QString& file) {
    TNoxPigger doc;
    try {
        doc.LoadFromFile(QFile::encodeName(file).toStdString());
    } catch (const std::exception&) {
        return -1;
    }
    TNoxPigger* day = doc.FindChild("DAY_DATA");
    if (doc.TagName() != "TODO_DATA" || !day) return -1;
    for (int i = 0; i < day->ChildCount(); ++i)
        if (day->Child(i)->GetAttr("CAPTION") != std::to_string(i)) return -1;
    return day->ChildCount();
}

TEST(CrashSafety, KillingASaveAtAnyMomentLeavesCompleteDataAndBackupFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("list.dat"));
    const QString bak = backup_file_name(file);
    int lastData = 0;
    for (int round = 0; round < 200; ++round) {
        QProcess child;
        ASSERT_TRUE(StartAndWaitFor(child, QStringLiteral(QM_SAVE_CRASH_CHILD), {file}, "saving")) << round;
        QThread::usleep(QRandomGenerator::global()->bounded(200, 15000));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(5000));
        const int data = CompleteState(file);
        ASSERT_GE(data, 1) << "torn data file after kill " << round;
        const int backup = CompleteState(bak);
        if (QFileInfo::exists(bak)) {
            ASSERT_GE(backup, 0) << "torn backup after kill " << round;
        }
        lastData = data;
    }
    EXPECT_GT(lastData, 0);
}

} // namespace
