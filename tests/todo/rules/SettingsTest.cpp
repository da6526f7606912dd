#include "todo/rules/Settings.h"
#include "TestFolder.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>
#include <utility>

namespace {

const std::string kFresh = "\r\n<SETTINGS/>";
const std::string kDefaults = "auto -1/240 backup 0 hours 7-22 24h 60";

class SettingsModel : public ::testing::Test {
protected:
    QString File() const { return folder.Path(QStringLiteral("quillmarch.set")); }
    void Write(const std::string& bytes) const { TestFolder::WriteBytes(File(), bytes); }
    std::string Read(const QString& suffix = {}) const { return TestFolder::ReadBytes(File() + suffix); }
    static std::string Attr(const Settings& s, const char* name) { return s.Doc().GetAttr(name); }
    // The typed values at a glance: automatic save (seconds, interval shown), backup mode, grid hours,
    // view mode and resolution.
    static std::string Values(const Settings& s) {
        return QString::asprintf("auto %d/%d backup %d hours %d-%d %s %d", s.AutoSaveSeconds(),
                                 s.AutoSaveInterval(), s.BackupMode(), s.FirstGridHour(), s.LastGridHour(),
                                 s.IsAmPm() ? "am/pm" : "24h", s.TimeResolution())
            .toStdString();
    }

    TestFolder folder;
};

TEST_F(SettingsModel, AFirstStartInAnEmptyFolderWritesAFreshFileAndReadsTheDefaults) {
    Settings s(File());
    EXPECT_EQ(s.FileName(), File());
    EXPECT_EQ(Read(), kFresh);
    EXPECT_EQ(s.DataFileName(), "") << "the list then uses the program path with .dat";
    EXPECT_EQ(Values(s), kDefaults);
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
        EXPECT_EQ(Read(), "\r\n<SETTINGS DATA_FILE_NAME=\"x.dat\"/>") << "written at once";
    }
    EXPECT_FALSE(QFileInfo::exists(File() + ".bad")) << "nothing of the user's was in it";

    const std::string broken =
        "\r\n<SETTINGS AUTO_SAVE_TIME=\"120\" BACKUP_MODE=\"2\">\r\n\t<PRINT_SETTINGS>";
    Write(broken);
    EXPECT_EQ(Values(Settings(File())), kDefaults);
    EXPECT_EQ(Read(), kFresh);
    EXPECT_EQ(Read(".bad"), broken);
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
    EXPECT_EQ(Values(s), kDefaults);
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

TEST_F(SettingsModel, UnknownValuesReadAsTheDefaultsAndStayInTheFileUntilAChoiceWritesThem) {
    const std::string stored =
        "\r\n<SETTINGS BACKUP_MODE=\"3\" H0=\"7\" H1=\"24\" AMPM=\"yes\" TIME_RESOLUTION=\"60\"/>";
    Write(stored);
    {
        Settings s(File());
        EXPECT_EQ(Values(s), kDefaults);
        EXPECT_EQ(Read(), stored) << "loading a good file writes nothing";
        ASSERT_TRUE(s.Save());
    }
    EXPECT_EQ(Read(), stored);

    Write("\r\n<SETTINGS H0=\"05\" H1=\"00\" AMPM=\"Y\" TIME_RESOLUTION=\"15\" BACKUP_MODE=\"1\"/>");
    Settings s(File());
    EXPECT_EQ(Values(s), "auto -1/240 backup 1 hours 5-22 am/pm 15") << "the last hour list starts at 01";
    s.SetTimeResolution(30);
    EXPECT_EQ(Attr(s, "TIME_RESOLUTION"), "30");
    s.SetTimeResolution(60);
    s.SetAmPm(false);
    s.SetGridHours(4, 9);
    EXPECT_EQ(s.Doc().GetText(), "\r\n<SETTINGS H0=\"04\" H1=\"09\" BACKUP_MODE=\"1\"/>");
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
    EXPECT_EQ(s.Doc().GetText(), "\r\n<SETTINGS WIDTH=\"500\" HEIGHT=\"400\" LEFT=\"30\" TOP=\"40\"/>");
    s.Doc().SetAttr("WIDTH", "12x"); // not a number
    s.Doc().SetAttr("TOP", "");      // missing
    s.Doc().SetAttr("LEFT", " 7 ");
    const Settings::WindowGeometry g = s.StoredWindowGeometry();
    using Four = std::tuple<std::optional<int>, std::optional<int>, std::optional<int>, std::optional<int>>;
    EXPECT_EQ(Four(g.width, g.top, g.height, g.left), Four(std::nullopt, std::nullopt, 400, 7));
}

} // namespace
