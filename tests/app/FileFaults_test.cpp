// Lists that are broken, out of reach or written under another date format: the user is told, and
// nothing of theirs is replaced.
#include "ProgramFixture.h"
#include "todo/DayListWidget.h"
#include "todo/rules/DataFileSave.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QStatusBar>
#include <gtest/gtest.h>

namespace {

class FileFaults : public ProgramFixture {
protected:
    void UseList(const QString& file) {
        WriteBytes(SettingsFile(), "\r\n<SETTINGS DATA_FILE_NAME=\"" + file.toStdString() + "\"/>");
    }
};

TEST_F(FileFaults, AListThatCannotBeReadEndsTheProgramWithTheReasonAndIsOpenedOnceReadable) {
    const QString list = Path(QStringLiteral("mine.dat"));
    QDir().mkdir(list);
    UseList(list);
    Start();
    ASSERT_EQ(shellMessages.size(), 1);
    EXPECT_EQ(shellMessages[0], QStringLiteral("Cannot open file %1: Is a directory").arg(list));
    EXPECT_TRUE(main->IsClosed());
    DestroyMain();
    EXPECT_TRUE(QFileInfo(list).isDir()) << "nothing written";

    QDir().rmdir(list);
    WriteBytes(list, "<TODO_DATA><DAY_DATA DATE=\"N/A\"><TASK CAPTION=\"x\"/></DAY_DATA></TODO_DATA>");
    Start();
    EXPECT_EQ(main->GetDataFileName(), list) << "the remembered list is opened again";
    EXPECT_FALSE(main->IsClosed());
}

TEST_F(FileFaults, AListLinkedToAMissingFileStartsEmptyAndSaysItIsNotSaved) {
    const QString link = Path(QStringLiteral("mine.dat"));
    ASSERT_TRUE(QFile::link(Path(QStringLiteral("unmounted/mine.dat")), link));
    UseList(link);
    Start();
    ASSERT_EQ(shellMessages.size(), 1);
    EXPECT_TRUE(shellMessages[0].contains(QStringLiteral("which cannot be found")))
        << shellMessages[0].toStdString();
    EXPECT_FALSE(main->IsClosed());
    EXPECT_EQ(main->StatusPanel0->text(), QStringLiteral("Not saved"));
    main->AskQuitUnsaved = [](const QString&) { return true; };
    EXPECT_TRUE(Close());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(link));
}

TEST_F(FileFaults, ABrokenListWithAGoodBackupCanBeRestoredInsteadOfEndingTheProgram) {
    const QString list = Path(QStringLiteral("mine.dat"));
    WriteBytes(list, std::string(16, '\0'));
    WriteBytes(backup_file_name(list),
               "<TODO_DATA><DAY_DATA DATE=\"N/A\"><TASK CAPTION=\"saved\"/></DAY_DATA></TODO_DATA>");
    UseList(list);
    QString asked;
    Create(ProgramWindows::All, true, [&](TFmain& shell) {
        shell.AskRestoreBackup = [&](const QString& text) {
            asked = text;
            return true;
        };
    });
    EXPECT_EQ(asked, QStringLiteral("File %1 has wrong format.").arg(list));
    ASSERT_FALSE(main->IsClosed());
    EXPECT_EQ(main->GetDataFileName(), list);
    main->RB_date_off->click();
    ASSERT_EQ(main->LV1->count(), 1);
    EXPECT_EQ(main->LV1->item(0)->text(), QStringLiteral("saved"));
}

TEST_F(FileFaults, AListWrittenUnderAnotherDateFormatShowsItsDaysAndSaysSoOnce) {
    WriteBytes(DataFile(), "<TODO_DATA DATE_FORMAT=\"dd.MM.yyyy\"><DAY_DATA DATE=\"" +
                               QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString() +
                               "\"><TASK CAPTION=\"today\"/></DAY_DATA></TODO_DATA>");
    Start();
    ASSERT_EQ(main->LV1->count(), 1) << "today's items show under this locale's key";
    EXPECT_EQ(main->LV1->item(0)->text(), QStringLiteral("today"));
    EXPECT_TRUE(main->StatusBar1->currentMessage().contains(QStringLiteral("dd.MM.yyyy")))
        << main->StatusBar1->currentMessage().toStdString();
    ASSERT_TRUE(main->N_SaveClick());
    EXPECT_NE(ReadBytes(DataFile()).find("DATE_FORMAT=\"M/d/yyyy\""), std::string::npos);
}

} // namespace
