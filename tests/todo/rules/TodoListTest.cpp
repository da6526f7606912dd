// The list model: loading, saving with its backup and recovery copy, switching files, and lists that are
// broken, out of reach or linked away.
#include "todo/rules/TodoList.h"
#include "TestFolder.h"
#include "todo/rules/DataFileSave.h"
#include "todo/rules/ProgramPaths.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TodoRules.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const std::string kEmpty = "\r\n<TODO_DATA DATE_FORMAT=\"M/d/yyyy\"/>";

class ListModel : public ::testing::Test {
protected:
    QString Path(const char* name) const { return folder.Path(QString::fromLatin1(name)); }
    QString DataFile() const { return Path("quillmarch.dat"); }
    void AddItem(const char* text) {
        todo::find_or_create_day(list.Doc(), "N/A")->AddChild("TASK")->SetAttr("CAPTION", text);
    }
    static int Items(const QString& file) {
        TNoxPigger doc;
        doc.LoadFromFile(file.toStdString());
        int n = 0;
        for (const TNoxPigger* day : doc.Children())
            n += day->ChildCount();
        return n;
    }

    TestFolder folder;
    Settings settings{Path("quillmarch.set")};
    TodoList list{settings, DataFile(), Path("state")};
};

TEST_F(ListModel, AMissingOrEmptyFileGivesAnEmptyListSavedAtOnceAndOneOfTheWrongFormatIsNeverWritten) {
    EXPECT_EQ(list.FileName(), DataFile());
    EXPECT_EQ(list.Load(), TodoList::LoadResult::Created);
    EXPECT_EQ(TestFolder::ReadBytes(DataFile()), kEmpty);
    TestFolder::WriteBytes(DataFile(), "");
    EXPECT_EQ(list.Load(), TodoList::LoadResult::Created);
    EXPECT_EQ(TestFolder::ReadBytes(DataFile()), kEmpty);
    EXPECT_EQ(list.Load(), TodoList::LoadResult::Loaded);

    // The windows are told before the document is replaced; the setting names the default file again.
    const QString broken = Path("broken.dat");
    TestFolder::WriteBytes(broken, "<TODO_DATA>");
    settings.SetDataFileName(broken);
    QFile::remove(DataFile());
    int replaced = 0;
    QObject::connect(&list, &TodoList::AboutToReplace, [&] { ++replaced; });
    EXPECT_EQ(list.Load(), TodoList::LoadResult::WrongFormat);
    EXPECT_EQ(replaced, 1);
    EXPECT_TRUE(list.NoSaveOnExit);
    EXPECT_EQ(list.FileName(), DataFile());
    EXPECT_FALSE(list.Save());
    EXPECT_FALSE(list.SaveTo(broken));
    EXPECT_EQ(TestFolder::ReadBytes(broken), "<TODO_DATA>");
    EXPECT_FALSE(QFileInfo::exists(DataFile()));
}

// Idle saves once wrote the same text again and so turned the backup into a copy of the file.
TEST_F(ListModel, EverySaveHasTheWindowsWriteBackFirstAndASaveOfTheTextOnDiskLeavesFileAndBackupAlone) {
    ASSERT_EQ(list.Load(), TodoList::LoadResult::Created);
    const auto writeBack = QObject::connect(&list, &TodoList::WriteBack, [&] { AddItem("written back"); });
    list.BackupOnSave = true;
    ASSERT_TRUE(list.Save());
    ASSERT_TRUE(list.Save());
    QObject::disconnect(writeBack);
    const QString bak = backup_file_name(DataFile());
    EXPECT_EQ(Items(DataFile()), 2);
    EXPECT_EQ(Items(bak), 1);
    const QDateTime written = QFileInfo(DataFile()).lastModified();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(list.Save(TodoList::SaveKind::Automatic));
        ASSERT_TRUE(list.SaveTo(DataFile()));
    }
    EXPECT_EQ(Items(bak), 1) << "the backup still holds the version before the last real change";
    EXPECT_EQ(QFileInfo(DataFile()).lastModified(), written);
}

TEST_F(ListModel, SwitchingFilesSavesTheOpenListFirstStopsWhenThatFailsAndRefusesFilesThatAreNoList) {
    ASSERT_EQ(list.Load(), TodoList::LoadResult::Created);
    AddItem("mine");
    const QString other = Path("other.dat");
    EXPECT_EQ(list.SaveAs(other), TodoList::SwitchResult::Switched);
    EXPECT_EQ(list.FileName(), other);
    EXPECT_EQ(Items(other), 1);

    // A folder, or the settings file: refused before anything changes.
    list.SettingsFileName = Path("quillmarch.set");
    QDir().mkdir(Path("folder.dat"));
    for (const QString& refused : {Path("folder.dat"), Path("quillmarch.set")}) {
        EXPECT_EQ(list.Open(refused), TodoList::SwitchResult::Refused) << refused.toStdString();
        EXPECT_EQ(list.SaveAs(refused), TodoList::SwitchResult::Refused) << refused.toStdString();
        EXPECT_FALSE(list.LoadError.isEmpty());
        EXPECT_EQ(list.FileName(), other) << "the open list stays";
    }

    // A folder that is gone: nothing switches, the old name stays.
    const QString nowhere = Path("gone/list.dat");
    EXPECT_EQ(list.SaveAs(nowhere), TodoList::SwitchResult::NotSaved);
    EXPECT_FALSE(list.LastSaveError.isEmpty());
    EXPECT_EQ(list.FileName(), other);
    settings.SetDataFileName(nowhere);
    EXPECT_EQ(list.Open(other), TodoList::SwitchResult::NotSaved);
    EXPECT_EQ(list.FileName(), nowhere);
}

TEST_F(ListModel, TheRecoveryCopyFollowsUnsavedChangesAndGoesWithTheSaveOrAlongWithSaveAs) {
    ASSERT_EQ(list.Load(), TodoList::LoadResult::Created);
    list.RecoveryDelayMs = 50;
    const QString copy = list.RecoveryFileName();
    AddItem("x");
    list.NoteChange(TodoList::Change::Bookkeeping);
    QTest::qWait(120);
    EXPECT_FALSE(QFileInfo::exists(copy)) << "bookkeeping is no unsaved change";
    list.NoteChange();
    EXPECT_TRUE(list.IsModified());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(copy); }, 1000)) << "written within the delay";
    EXPECT_EQ(Items(copy), 1);
    ASSERT_TRUE(list.Save());
    EXPECT_FALSE(list.IsModified());
    EXPECT_FALSE(QFileInfo::exists(copy));

    AddItem("y");
    list.NoteChange();
    list.WriteRecovery();
    ASSERT_TRUE(QFileInfo::exists(copy));
    EXPECT_EQ(list.SaveAs(Path("new.dat")), TodoList::SwitchResult::Switched);
    EXPECT_FALSE(QFileInfo::exists(copy)) << "no false alarm when the old list is opened again";
}

TEST_F(ListModel, ADamagedOrUnreadableFileIsNeverReplacedAndOnlyABrokenOneGivesUpItsSetting) {
    // First bytes zeros, as a power loss leaves them: the wrong format, kept as it is.
    const std::string zeros = std::string(64, '\0') + "<TODO_DATA/>";
    TestFolder::WriteBytes(DataFile(), zeros);
    EXPECT_EQ(list.Load(), TodoList::LoadResult::WrongFormat);
    EXPECT_EQ(TestFolder::ReadBytes(DataFile()), zeros);

    // A folder where the list should be: unreadable, said why; the setting keeps naming the list.
    const QString elsewhere = Path("elsewhere.dat");
    QDir().mkdir(elsewhere);
    settings.SetDataFileName(elsewhere);
    list.NoSaveOnExit = false;
    EXPECT_EQ(list.Load(), TodoList::LoadResult::Unreadable);
    EXPECT_EQ(list.LoadError, QStringLiteral("Cannot open file %1: Is a directory").arg(elsewhere));
    EXPECT_TRUE(list.NoSaveOnExit);
    EXPECT_EQ(settings.DataFileName(), elsewhere);
    EXPECT_FALSE(list.Save());
    EXPECT_TRUE(QFileInfo(elsewhere).isDir());
}

TEST_F(ListModel, AListLinkedToAMissingFileIsNotSavedThereButSaveAsKeepsIt) {
    const QString link = Path("list.dat");
    ASSERT_TRUE(QFile::link(Path("drive/real.dat"), link));
    settings.SetDataFileName(link);
    EXPECT_EQ(list.Load(), TodoList::LoadResult::DanglingLink);
    EXPECT_TRUE(list.LoadError.startsWith(
        QStringLiteral("The list %1 points to %2, which cannot be found.").arg(link, Path("drive/real.dat"))))
        << list.LoadError.toStdString();
    EXPECT_TRUE(list.Save()) << "nothing typed yet: nothing to keep, so Open and New are not held up";
    AddItem("meanwhile");
    list.NoteChange();
    QDir().mkdir(Path("drive"));
    EXPECT_FALSE(list.Save()) << "not over the list the link names";
    EXPECT_FALSE(QFileInfo::exists(Path("drive/real.dat")));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(list.SaveAs(Path("kept.dat")), TodoList::SwitchResult::Switched);
    EXPECT_EQ(Items(Path("kept.dat")), 1);
}

TEST_F(ListModel, ABrokenListWithAGoodBackupIsKeptAsideAndTheBackupTakesItsPlace) {
    const QString broken = Path("mine.dat");
    TestFolder::WriteBytes(broken, "<TODO_DATA><DAY_DATA>");
    TestFolder::WriteBytes(backup_file_name(broken),
                           "<TODO_DATA><DAY_DATA DATE=\"N/A\"><TASK/></DAY_DATA></TODO_DATA>");
    TestFolder::WriteBytes(broken + ".broken", "an older broken one");
    settings.SetDataFileName(broken);
    ASSERT_EQ(list.Load(), TodoList::LoadResult::WrongFormat);
    EXPECT_EQ(settings.DataFileName(), DataFile());
    ASSERT_TRUE(list.BackupRestorable());
    ASSERT_TRUE(list.RestoreBackup());
    EXPECT_EQ(settings.DataFileName(), broken);
    EXPECT_EQ(TestFolder::ReadBytes(broken + ".broken"), "an older broken one") << "never written over";
    EXPECT_EQ(TestFolder::ReadBytes(broken + ".broken2"), "<TODO_DATA><DAY_DATA>");
    EXPECT_EQ(list.Load(), TodoList::LoadResult::Loaded);
    EXPECT_EQ(list.Doc().Child(0)->ChildCount(), 1);
    EXPECT_TRUE(list.Save()) << "saving works again";
}

TEST_F(ListModel, TheFilesArePlacedOnceAtStartAndASaveThatFailsLaterMovesNowhere) {
    const QString program = Path("portable/quillmarch");
    QDir().mkpath(Path("portable"));
    TestFolder::WriteBytes(Path("portable/quillmarch.dat"), kEmpty);
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(Path("xdg")));
    const ProgramPaths paths(program);
    qputenv("XDG_DATA_HOME", dataHome);
    EXPECT_EQ(paths.defaultDataFile, Path("portable/quillmarch.dat"));
    Settings portable(paths.settingsFile);
    TodoList onStick(portable, paths.defaultDataFile);
    ASSERT_EQ(onStick.Load(), TodoList::LoadResult::Loaded);
    QDir(Path("portable")).removeRecursively();
    EXPECT_FALSE(onStick.Save());
    EXPECT_TRUE(
        onStick.LastSaveError.startsWith(QStringLiteral("Cannot create file %1: No such file or directory")
                                             .arg(Path("portable/quillmarch.dat"))))
        << onStick.LastSaveError.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path("xdg"))) << "nothing moved to the data folder";

    // Temporary files a killed save left beside a file go; look-alikes stay.
    for (const char* name :
         {".quillmarch.dat.a1B2c3", ".quillmarch.dat.BAK.x", ".quillmarch.dat.toolong1", "keep.dat"})
        TestFolder::WriteBytes(Path(name), "x");
    EXPECT_EQ(remove_stale_temporary_files(DataFile()), 1);
    EXPECT_EQ(QDir(folder.path()).entryList({".quillmarch*"}, QDir::Files | QDir::Hidden),
              (QStringList{".quillmarch.dat.BAK.x", ".quillmarch.dat.toolong1"}));
}

TEST_F(ListModel, ATextTooLargeToWriteIsAFailedSaveWithItsReason) {
    ASSERT_EQ(list.Load(), TodoList::LoadResult::Created);
    TNoxPigger* e = &list.Doc();
    for (int i = 0; i < 60000; ++i)
        e = e->AddChild("N");
    EXPECT_FALSE(list.Save());
    EXPECT_TRUE(list.LastSaveError.contains(QStringLiteral("more than the 1 GiB")))
        << list.LastSaveError.toStdString();
    EXPECT_EQ(TestFolder::ReadBytes(DataFile()), kEmpty) << "nothing written";
    list.Doc().Clear();
}

} // namespace
