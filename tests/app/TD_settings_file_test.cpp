#include "TD_settings_fixture.h"

#include "ModalAnswer.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST_F(SettingsTest, AFirstStartInAnEmptyFolderWritesAFreshSettingsFileAndTheExitAddsToIt) {
    {
        TD_settings_user s(reg);
        EXPECT_EQ(reg.settings, &s);
        EXPECT_EQ(s.SettingsFileName(), settingsPath());
        EXPECT_EQ(readSettings(), kFreshSettings);
        EXPECT_EQ(s.DataFileName(), "") << "the shell then uses the program path with .dat";
        EXPECT_EQ(s.AutoSaveSeconds(), -1);
        EXPECT_EQ(s.BackupMode(), 0);
    }
    EXPECT_EQ(reg.settings, nullptr);
    EXPECT_EQ(readSettings(), QByteArray("\r\n<SETTINGS>\r\n\t<PRINT_SETTINGS/>\r\n</SETTINGS>"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"quillmarch.set"})
        << "no temporary files left";
}

TEST_F(SettingsTest, AnEmptyOrBrokenSettingsFileIsReplacedSilentlyAndTheBrokenOneKeptAside) {
    writeSettings("");
    {
        TD_settings_user s(reg);
        EXPECT_EQ(readSettings(), kFreshSettings) << "a 0-byte file counts as missing";
        s.SetDataFileName("x.dat");
    }
    EXPECT_TRUE(readSettings().contains("DATA_FILE_NAME=\"x.dat\"")) << "settings of that run reach the file";
    EXPECT_FALSE(QFileInfo::exists(settingsPath() + ".bad")) << "nothing of the user's was in it";

    const QByteArray broken = "\r\n<SETTINGS AUTO_SAVE_TIME=\"120\" BACKUP_MODE=\"2\">\r\n\t<PRINT_SETTINGS>";
    writeSettings(broken);
    {
        TD_settings_user s(reg);
        EXPECT_EQ(readSettings(), kFreshSettings);
        EXPECT_EQ(readFile(settingsPath() + ".bad"), broken);
        EXPECT_EQ(s.AutoSaveSeconds(), -1);
        EXPECT_EQ(s.BackupMode(), 0);
    }
    // A second broken file does not replace the first one kept.
    writeSettings("not markup at all");
    { TD_settings_user s(reg); }
    EXPECT_EQ(readFile(settingsPath() + ".bad"), broken);
    EXPECT_EQ(readFile(settingsPath() + ".bad2"), "not markup at all");
    EXPECT_EQ(readSettings(), QByteArray("\r\n<SETTINGS>\r\n\t<PRINT_SETTINGS/>\r\n</SETTINGS>"));
}

TEST_F(SettingsTest, ASettingsPathThatCannotBeWrittenLeavesTheDialogWorkingOnDefaults) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("quillmarch.set"));
    {
        TD_settings_user s(reg);
        EXPECT_EQ(s.SettingsDoc->TagName(), "SETTINGS");
        EXPECT_EQ(s.FirstGridHour(), 7);
        s.SetDataFileName("y.dat");
        EXPECT_EQ(s.DataFileName(), "y.dat");
    }
    EXPECT_TRUE(QFileInfo(settingsPath()).isDir());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(SettingsTest, TheFileIsWrittenByCloseBySetDataFileNameAndAtExitButNotByTheCloseBox) {
    writeSettings("\r\n<SETTINGS DATA_FILE_NAME=\"old.dat\"/>");
    const QByteArray atStart = readSettings();
    auto s = std::make_unique<TD_settings_user>(reg);
    EXPECT_EQ(s->DataFileName(), "old.dat");
    EXPECT_EQ(readSettings(), atStart) << "loading a good file writes nothing";

    {
        ModalAnswer answer([](QWidget* d) {
            d->findChild<QCheckBox*>("CB_autosave")->click();
            d->close();
        });
        s->ShowOnPage(TD_settings_user::Page::Main);
    }
    EXPECT_EQ(attr(*s, "AUTO_SAVE_TIME"), "240") << "the change is in the document at once";
    EXPECT_EQ(readSettings(), atStart) << "the close box writes nothing";

    {
        ModalAnswer answer([](QWidget* d) { click_button(d, "Close"); });
        s->ShowOnPage(TD_settings_user::Page::Main);
    }
    EXPECT_TRUE(readSettings().contains("AUTO_SAVE_TIME=\"240\""));

    s->findChild<QCheckBox*>("CB_autosave")->click();
    EXPECT_TRUE(readSettings().contains("AUTO_SAVE_TIME")) << "an edit alone writes nothing";
    const QString name = QString::fromUtf8("../dat/todo-\xc3\xa9t\xc3\xa9.dat");
    s->SetDataFileName(name);
    const QByteArray afterSet = readSettings();
    EXPECT_TRUE(afterSet.contains("DATA_FILE_NAME=\"../dat/todo-\xc3\xa9t\xc3\xa9.dat\""))
        << afterSet.constData();
    EXPECT_FALSE(afterSet.contains("AUTO_SAVE_TIME"));
    EXPECT_EQ(s->DataFileName(), name);

    s->StoreWindowGeometry(nullptr);
    QWidget window;
    window.resize(300, 200);
    s->StoreWindowGeometry(&window);
    EXPECT_EQ(readSettings(), afterSet);
    s.reset();
    EXPECT_TRUE(readSettings().contains("WIDTH=\"300\"")) << "the exit writes the rest";
}
