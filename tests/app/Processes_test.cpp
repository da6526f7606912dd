#include "app/SingleInstance.h"
#include "markup/NoxPigger.h"
#include "todo/rules/DataFileSave.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <set>
#include <vector>

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

TEST(SingleInstance, ASecondStartEndsAtOnceAndShowsTheWindowOfTheRunningCopyAfterACrashedHolder) {
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
    ASSERT_TRUE(here.Acquire(lockFile));

    // A second start asks the running copy to show its window over a socket private to the user.
    QWidget window;
    ASSERT_TRUE(here.Listen(&window, [&window] { window.show(); }));
    EXPECT_EQ(QFileInfo(SingleInstance::SocketFileName(lockFile)).permissions() & QFile::ReadOther, 0);
    QEventLoop loop;
    QObject::connect(&second, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    second.start(QStringLiteral(QM_PROGRAM), {});
    loop.exec();
    ASSERT_EQ(second.state(), QProcess::NotRunning);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(window.isVisible()) << "the running copy was asked to show its window";
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

// Waits until the file exists and holds the text, or the time is up.
bool WaitForFileWith(const QString& file, const QByteArray& text, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QFile f(file);
        if (f.open(QIODevice::ReadOnly) && f.readAll().contains(text)) return true;
        QThread::msleep(50);
    }
    return false;
}

// Whether the process has set up a handler for the signal (Linux: the caught-signal mask in /proc).
bool CatchesSignal(qint64 pid, int signal) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (!line.startsWith("SigCgt:")) continue;
                bool ok = false;
                const qulonglong mask = line.mid(7).trimmed().toULongLong(&ok, 16);
                if (ok && (mask >> (signal - 1) & 1)) return true;
            }
        }
        QThread::msleep(50);
    }
    return false;
}

TEST(Shutdown, TerminatingTheProgramRunsTheCloseSequenceSoTheListIsSaved) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A copy of the program keeps its data and settings files beside it, inside the temporary folder.
    const QString program = dir.filePath(QStringLiteral("quillmarch"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QM_PROGRAM), program));
    const QString data = dir.filePath(QStringLiteral("list.dat"));
    const QString settings = dir.filePath(QStringLiteral("quillmarch.set"));
    auto write = [](const QString& file, const QByteArray& bytes) {
        QFile f(file);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    };
    for (const int signal : {SIGTERM, SIGHUP}) {
        ASSERT_TRUE(write(settings, "\r\n<SETTINGS DATA_FILE_NAME=\"" + QFile::encodeName(data) + "\"/>"));
        // The empty day goes when the close sequence runs, which shows that it saved the list.
        ASSERT_TRUE(write(data,
                          "\r\n<TODO_DATA>\r\n\t<DAY_DATA DATE=\"1/1/2000\"/>\r\n\t<DAY_DATA DATE=\"N/A\">"
                          "\r\n\t\t<TASK CAPTION=\"kept\"/>\r\n\t</DAY_DATA>\r\n</TODO_DATA>"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        env.insert(QStringLiteral("XDG_STATE_HOME"), dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.path());
        p.start(program, {});
        ASSERT_TRUE(p.waitForStarted(5000));
        ASSERT_TRUE(CatchesSignal(p.processId(), signal)) << "the program never set up its handler";
        ::kill(static_cast<pid_t>(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(20000)) << signal;
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << signal;
        // The close sequence stored the window's size and saved the list, without the empty day.
        EXPECT_TRUE(WaitForFileWith(settings, "WIDTH=", 1000)) << signal;
        TNoxPigger doc;
        doc.LoadFromFile(QFile::encodeName(data).toStdString());
        ASSERT_EQ(doc.ChildCount(), 1) << signal;
        EXPECT_EQ(doc.Child(0)->GetAttr("DATE"), "N/A");
        EXPECT_EQ(doc.Child(0)->Child(0)->GetAttr("CAPTION"), "kept");
    }
}

// The captions of the items of a list file; none when it does not load.
std::set<std::string> Captions(const QString& file) {
    std::set<std::string> out;
    TNoxPigger doc;
    try {
        doc.LoadFromFile(QFile::encodeName(file).toStdString());
    } catch (const std::exception&) {
        return out;
    }
    for (const TNoxPigger* day : doc.Children())
        for (const TNoxPigger* item : day->Children())
            out.insert(item->GetAttr("CAPTION"));
    return out;
}

TEST(CrashSafety, AKillAtAnyMomentLosesNoChangeOlderThanTheRecoveryDelay) {
    // The program's own delay is 10 seconds; a short one makes 200 kills affordable and the rule the same.
    constexpr int kDelayMs = 200;
    // Room for a busy machine (and the sanitizers) between the time a copy is due and its write.
    constexpr int kSlackMs = 800;
    constexpr int kRounds = 200;
    constexpr int kAtOnce = 8;
    int checked = 0;
    for (int round = 0; round < kRounds; round += kAtOnce) {
        std::vector<std::unique_ptr<QTemporaryDir>> dirs;
        std::vector<std::unique_ptr<QProcess>> children;
        for (int i = 0; i < kAtOnce; ++i) {
            dirs.push_back(std::make_unique<QTemporaryDir>());
            children.push_back(std::make_unique<QProcess>());
            ASSERT_TRUE(StartAndWaitFor(*children.back(), QStringLiteral(QM_EDIT_CRASH_CHILD),
                                        {dirs.back()->path(), QString::number(kDelayMs)}, "editing"))
                << round + i;
        }
        QThread::msleep(QRandomGenerator::global()->bounded(700, 2500));
        for (int i = 0; i < kAtOnce; ++i) {
            QProcess& child = *children[static_cast<size_t>(i)];
            const qint64 killedAt = QDateTime::currentMSecsSinceEpoch();
            child.kill();
            ASSERT_TRUE(child.waitForFinished(5000));
            const QDir dir(dirs[static_cast<size_t>(i)]->path());
            std::set<std::string> kept = Captions(dir.filePath(QStringLiteral("quillmarch.dat")));
            const QDir state(dir.filePath(QStringLiteral("state/quillmarch")));
            for (const QString& copy : state.entryList({QStringLiteral("*.recovery")}, QDir::Files))
                kept.merge(Captions(state.filePath(copy)));
            for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
                const QList<QByteArray> fields = line.split(' ');
                if (fields.size() != 2) continue;
                if (fields[1].toLongLong() > killedAt - kDelayMs - kSlackMs) continue;
                ASSERT_TRUE(kept.count(fields[0].toStdString()))
                    << "change " << fields[0].toStdString() << " lost in round " << round + i;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 0);
}

} // namespace
