#include "todo/rules/DataFileLock.h"
#include "TestFolder.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TodoList.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// The locks of this test live in a runtime folder of its own.
class ListLock : public ::testing::Test {
protected:
    void SetUp() override { qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit()); }
    void TearDown() override {
        saved_.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", saved_);
    }
    // Whether someone else holds the file's lock: we cannot take it.
    static bool Held(const QString& file) { return DataFileLock().Lock(file) == DataFileLock::Result::Busy; }

    TestFolder folder;
    TestFolder runtime;

private:
    const QByteArray saved_ = qgetenv("XDG_RUNTIME_DIR");
};

TEST_F(ListLock, EveryNameOfAFileLeadsToOneLockFileInTheRuntimeFolder) {
    const QString file = folder.Path("a.dat");
    TestFolder::WriteBytes(file, "");
    ASSERT_TRUE(QFile::link(file, folder.Path("link.dat")));
    const QString name = DataFileLock::LockFileName(file);
    EXPECT_TRUE(name.startsWith(runtime.path() + "/quillmarch-")) << name.toStdString();
    EXPECT_TRUE(name.endsWith(".list.lock"));
    EXPECT_EQ(DataFileLock::LockFileName(folder.Path("link.dat")), name);
    EXPECT_EQ(DataFileLock::LockFileName(folder.path() + "/./a.dat"), name);
    EXPECT_NE(DataFileLock::LockFileName(folder.Path("b.dat")), name);

    // Taken, it keeps others out; let go, it leaves nothing behind.
    DataFileLock lock;
    EXPECT_EQ(lock.Lock(file), DataFileLock::Result::Locked);
    EXPECT_TRUE(Held(folder.Path("link.dat")));
    lock.Release();
    EXPECT_FALSE(Held(file));
    EXPECT_TRUE(QDir(runtime.path()).isEmpty());
}

TEST_F(ListLock, TheListHoldsItsCurrentFileFromLoadUntilAnotherBecomesCurrent) {
    const QString first = folder.Path("first.dat");
    const QString second = folder.Path("second.dat");
    {
        Settings settings(folder.Path("q.set"));
        TodoList list(settings, first);
        EXPECT_FALSE(Held(first));
        list.Load();
        EXPECT_TRUE(Held(first));
        ASSERT_EQ(list.Open(second), TodoList::SwitchResult::Switched);
        EXPECT_FALSE(Held(first));
        EXPECT_TRUE(Held(second));
        ASSERT_EQ(list.SaveAs(first), TodoList::SwitchResult::Switched);
        EXPECT_TRUE(Held(first));
        EXPECT_FALSE(Held(second));
    }
    EXPECT_FALSE(Held(first));
}

} // namespace
