#include "todo/rules/Settings.h"
#include "TestFolder.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <utility>

namespace {

const std::string kFresh = "\r\n<SETTINGS/>";

class SettingsModel : public ::testing::Test {
protected:
    QString File() const { return folder.Path(QStringLiteral("quillmarch.set")); }
    void Write(const std::string& bytes) const { TestFolder::WriteBytes(File(), bytes); }
    std::string Read(const QString& suffix = {}) const { return TestFolder::ReadBytes(File() + suffix); }
    static std::string Attr(const Settings& s, const char* name) { return s.Doc().GetAttr(name); }

    TestFolder folder;
};

TEST_F(SettingsModel, AFirstStartInAnEmptyFolderWritesAFreshFileAndReadsTheDefaults) {
    Settings s(File());
    EXPECT_EQ(s.FileName(), File());
    EXPECT_EQ(Read(), kFresh);
    EXPECT_EQ(s.DataFileName(), "") << "the list then uses the program path with .dat";
    EXPECT_EQ(s.AutoSaveSeconds(), -1);
    EXPECT_EQ(s.AutoSaveInterval(), 240);
    EXPECT_EQ(s.BackupMode(), 0);
    EXPECT_EQ(s.FirstGridHour(), 7);
    EXPECT_EQ(s.LastGridHour(), 22);
    EXPECT_FALSE(s.IsAmPm());
    EXPECT_EQ(s.TimeResolution(), 60);
    s.PrintSettingsElement();
    ASSERT_TRUE(s.Save());
    EXPECT_EQ(Read(), "\r\n<SETTINGS>\r\n\t<PRINT_SETTINGS/>\r\n</SETTINGS>");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"quillmarch.set"})
        << "no temporary files left";
}

TEST_F(SettingsModel, AnEmptyOrBrokenFileIsReplacedSilentlyAndTheBrokenOneKeptAside) {
    Write("");
    {
        Settings s(File());
        EXPECT_EQ(Read(), kFresh) << "a 0-byte file counts as missing";
        s.SetDataFileName("x.dat");
    }
    EXPECT_NE(Read().find("DATA_FILE_NAME=\"x.dat\""), std::string::npos) << "written at once";
    EXPECT_FALSE(QFileInfo::exists(File() + ".bad")) << "nothing of the user's was in it";

    const std::string broken =
        "\r\n<SETTINGS AUTO_SAVE_TIME=\"120\" BACKUP_MODE=\"2\">\r\n\t<PRINT_SETTINGS>";
    Write(broken);
    {
        Settings s(File());
        EXPECT_EQ(Read(), kFresh);
        EXPECT_EQ(Read(".bad"), broken);
        EXPECT_EQ(s.AutoSaveSeconds(), -1);
        EXPECT_EQ(s.BackupMode(), 0);
    }
    // A second broken file does not replace the first one kept.
    Write("not markup at all");
    Settings s(File());
    EXPECT_EQ(Read(".bad"), broken);
    EXPECT_EQ(Read(".bad2"), "not markup at all");
}

TEST_F(SettingsModel, AFilePathThatCannotBeWrittenLeavesTheSettingsWorkingInMemory) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("quillmarch.set"));
    Settings s(File());
    EXPECT_EQ(s.Doc().TagName(), "SETTINGS");
    EXPECT_EQ(s.FirstGridHour(), 7);
    s.SetDataFileName("y.dat");
    EXPECT_EQ(s.DataFileName(), "y.dat");
    EXPECT_FALSE(s.Save());
    EXPECT_TRUE(QFileInfo(File()).isDir());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(SettingsModel, AStoredAutoSaveIntervalIsLimitedToItsRangeAndWrittenBackAsRead) {
    const std::pair<const char*, int> cases[] = {{"30", 60},     {"abc", 240}, {"700", 600},
                                                 {" 300 ", 300}, {"-5", 60},   {"99999999999999999999", 240}};
    for (const auto& [stored, read] : cases) {
        Write(std::string("\r\n<SETTINGS AUTO_SAVE_TIME=\"") + stored + "\"/>");
        Settings s(File());
        EXPECT_EQ(s.AutoSaveSeconds(), read) << stored;
        EXPECT_EQ(Attr(s, "AUTO_SAVE_TIME"), std::to_string(read)) << stored;
    }
    Settings s(File());
    s.SetAutoSave(false, 300);
    EXPECT_EQ(Attr(s, "AUTO_SAVE_TIME"), "");
    EXPECT_EQ(s.AutoSaveSeconds(), -1);
    s.SetAutoSave(true, 300);
    EXPECT_EQ(s.AutoSaveSeconds(), 300);
}

TEST_F(SettingsModel, UnknownValuesReadAsTheDefaultsAndStayInTheFile) {
    const std::string stored =
        "\r\n<SETTINGS BACKUP_MODE=\"3\" H0=\"7\" H1=\"24\" AMPM=\"yes\" TIME_RESOLUTION=\"60\"/>";
    Write(stored);
    {
        Settings s(File());
        EXPECT_EQ(s.BackupMode(), 0);
        EXPECT_EQ(s.FirstGridHour(), 7);
        EXPECT_EQ(s.LastGridHour(), 22);
        EXPECT_FALSE(s.IsAmPm());
        EXPECT_EQ(s.TimeResolution(), 60);
        EXPECT_EQ(Read(), stored) << "loading a good file writes nothing";
        ASSERT_TRUE(s.Save());
    }
    EXPECT_EQ(Read(), stored);

    Write("\r\n<SETTINGS H0=\"05\" H1=\"00\" AMPM=\"Y\" TIME_RESOLUTION=\"15\" BACKUP_MODE=\"1\"/>");
    Settings s(File());
    EXPECT_EQ(s.FirstGridHour(), 5);
    EXPECT_EQ(s.LastGridHour(), 22) << "the last hour list starts at 01";
    EXPECT_TRUE(s.IsAmPm());
    EXPECT_EQ(s.TimeResolution(), 15);
    EXPECT_EQ(s.BackupMode(), 1);
    s.SetTimeResolution(30);
    EXPECT_EQ(Attr(s, "TIME_RESOLUTION"), "30");
    s.SetTimeResolution(60);
    EXPECT_EQ(Attr(s, "TIME_RESOLUTION"), "");
    s.SetAmPm(false);
    EXPECT_EQ(Attr(s, "AMPM"), "");
    s.SetGridHours(4, 9);
    EXPECT_EQ(Attr(s, "H0"), "04");
    EXPECT_EQ(Attr(s, "H1"), "09");
}

TEST_F(SettingsModel, RemindersAreOnUnlessTurnedOff) {
    for (const auto& [stored, on] :
         {std::pair{"", true}, {" REMIND=\"N\"", false}, {" REMIND=\"no\"", true}}) {
        Write(std::string("\r\n<SETTINGS") + stored + "/>");
        EXPECT_EQ(Settings(File()).Remind(), on) << stored;
    }
    Settings s(File());
    s.SetRemind(false);
    EXPECT_EQ(Attr(s, "REMIND"), "N");
    s.SetRemind(true);
    EXPECT_EQ(Attr(s, "REMIND"), "Y");
}

TEST_F(SettingsModel, TheWindowGeometryIsStoredInOrderAndReadValueByValue) {
    Settings s(File());
    s.StoreWindowGeometry(QRect(30, 40, 500, 400));
    const auto& attrs = s.Doc().Attributes();
    ASSERT_EQ(attrs.size(), 4u);
    EXPECT_EQ(attrs[0], (TNoxPigger::Attribute{"WIDTH", "500"}));
    EXPECT_EQ(attrs[1], (TNoxPigger::Attribute{"HEIGHT", "400"}));
    EXPECT_EQ(attrs[2], (TNoxPigger::Attribute{"LEFT", "30"}));
    EXPECT_EQ(attrs[3], (TNoxPigger::Attribute{"TOP", "40"}));

    s.Doc().SetAttr("WIDTH", "12x");
    s.Doc().SetAttr("TOP", "");
    s.Doc().SetAttr("LEFT", " 7 ");
    const Settings::WindowGeometry g = s.StoredWindowGeometry();
    EXPECT_FALSE(g.width) << "not a number";
    EXPECT_FALSE(g.top) << "missing";
    EXPECT_EQ(g.height, 400);
    EXPECT_EQ(g.left, 7);
}

} // namespace
