// quillmarch-tool add: an item appended as the program's Add and TV-show reminder file one, the list saved
// as the program saves it, and never while Quillmarch has the list open.
#include "ToolProcess.h"
#include "todo/rules/ProgramPaths.h"

#include <QFile>

namespace {

const QByteArray kStart = "\r\n<TODO_DATA DATE_FORMAT=\"M/d/yyyy\">\r\n"
                          "\t<DAY_DATA DATE=\"6/12/2026\">\r\n\t\t<TASK CAPTION=\"Dentist\" INDEX=\"0\"/>\r\n"
                          "\t</DAY_DATA>\r\n\t<DAY_DATA DATE=\"n/a\"/>\r\n</TODO_DATA>";

} // namespace

TEST(AddCommand, AppendsItemsAsTheProgramDoesAndSavesTheListAsItSavesIt) {
    ToolFolder dir;
    dir.write("list.dat", kStart);
    const QList<QStringList> adds = {
        {"--date", "2026-06-12", "Call Bob"},
        // A new day goes last, as the program appends it; a time is filed as the TV-show reminder does.
        {"--date", "2026-07-01", "--time", "9:05", "Film"},
        {"--date", "2026-07-01", "--time", "20:30", "--picture", "4", " Talk"},
        // The date-independent list is found in any case.
        {"--independent", "--picture=7", "Someday"},
    };
    for (const QStringList& add : adds) {
        const ToolRun r = dir.run(QStringList{"add", "list.dat", "--no-backup"} + add);
        EXPECT_EQ(r.exitCode, 0) << add.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty() && r.err.isEmpty());
    }
    EXPECT_EQ(dir.read("list.dat").toStdString(),
              "\r\n<TODO_DATA DATE_FORMAT=\"M/d/yyyy\">\r\n"
              "\t<DAY_DATA DATE=\"6/12/2026\">\r\n\t\t<TASK CAPTION=\"Dentist\" INDEX=\"0\"/>\r\n"
              "\t\t<TASK CAPTION=\"Call Bob\" INDEX=\"0\"/>\r\n\t</DAY_DATA>\r\n"
              "\t<DAY_DATA DATE=\"n/a\">\r\n\t\t<TASK CAPTION=\"Someday\" INDEX=\"7\"/>\r\n\t</DAY_DATA>\r\n"
              "\t<DAY_DATA DATE=\"7/1/2026\">\r\n"
              "\t\t<TASK CAPTION=\"Film\" HOUR=\"09\" MINUTE=\"05\" INDEX=\"35\"/>\r\n"
              "\t\t<TASK CAPTION=\" Talk\" HOUR=\"20\" MINUTE=\"30\" INDEX=\"4\"/>\r\n"
              "\t</DAY_DATA>\r\n</TODO_DATA>");
    EXPECT_EQ(dir.entries(), "list.dat");

    // An empty file is an empty list, as the program takes it; the day key follows the locale.
    dir.write("new.dat", "");
    const ToolRun de = dir.run({"add", "new.dat", "--no-backup", "--date", "2026-06-12", "a"}, {},
                               QStringLiteral("de_DE.UTF-8"));
    EXPECT_EQ(de.exitCode, 0) << de.err.toStdString();
    EXPECT_EQ(dir.read("new.dat").toStdString(),
              "\r\n<TODO_DATA DATE_FORMAT=\"dd.MM.yyyy\">\r\n\t<DAY_DATA DATE=\"12.06.2026\">\r\n"
              "\t\t<TASK CAPTION=\"a\" INDEX=\"0\"/>\r\n\t</DAY_DATA>\r\n</TODO_DATA>");
}

TEST(AddCommand, KeepsTheOldFileAsTheBackupWhenTheSettingsAskForOne) {
    // The add is a whole session, so "On exit" makes the backup just as "On each save" does.
    const QList<std::tuple<QByteArray, QStringList, bool>> cases = {
        {"<SETTINGS BACKUP_MODE=\"0\"/>", {}, false},
        {"<SETTINGS BACKUP_MODE=\"1\"/>", {}, true},
        {"<SETTINGS BACKUP_MODE=\"2\"/>", {}, true},
        {"<SETTINGS/>", {}, false},
        {{}, {"--backup"}, true},
        {"<SETTINGS BACKUP_MODE=\"2\"/>", {"--no-backup"}, false},
    };
    for (const auto& [settings, options, backup] : cases) {
        ToolFolder dir;
        dir.write("list.dat", kStart);
        QStringList args = QStringList{"add", "list.dat", "--date", "2026-06-12"} + options;
        if (!settings.isEmpty()) {
            dir.write("q.set", settings);
            args += {"--settings", "q.set"};
        }
        const ToolRun r = dir.run(args += "x");
        const std::string what = args.join(' ').toStdString() + " " + settings.toStdString();
        EXPECT_EQ(r.exitCode, 0) << what << ": " << r.err.toStdString();
        EXPECT_EQ(dir.read("list.BAK").toStdString(), backup ? kStart.toStdString() : "<unreadable>") << what;
        if (!settings.isEmpty()) {
            EXPECT_EQ(dir.read("q.set"), settings) << "the settings are only read";
        }
    }
}

TEST(AddCommand, RefusesWhileQuillmarchHasTheListOpenUnderAnyOfItsNames) {
    ToolFolder dir;
    dir.write("list.dat", kStart);
    ASSERT_TRUE(QFile::link(QStringLiteral("list.dat"), dir.path() + QStringLiteral("/link.dat")));
    // The program holding the list, its list model loading the file, knows it by one name; the tool by
    // another.
    QProcess program;
    program.setProcessEnvironment(dir.env);
    program.setWorkingDirectory(dir.path());
    program.start(QStringLiteral(QM_LIST_HOLDER), {"list.dat", "holder.set"});
    ASSERT_TRUE(program.waitForReadyRead(30000));
    EXPECT_EQ(program.readAllStandardOutput().trimmed(), "loaded");

    const ToolRun r = dir.run({"add", "link.dat", "--no-backup", "--date", "2026-06-12", "x"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.toStdString(), "quillmarch-tool: Quillmarch has this list open; add the item there, or "
                                   "close Quillmarch and run the command again\n");
    EXPECT_EQ(dir.read("list.dat").toStdString(), kStart.toStdString());

    // A program that ended, however it ended, holds nothing.
    program.kill();
    program.waitForFinished();
    const ToolRun after = dir.run({"add", "link.dat", "--no-backup", "--date", "2026-06-12", "x"});
    EXPECT_EQ(after.exitCode, 0) << after.err.toStdString();
    EXPECT_TRUE(dir.read("list.dat").contains("CAPTION=\"x\""));
}

TEST(AddCommand, RefusesWhileARecoveryCopyHoldsChangesTheFileHasNot) {
    ToolFolder dir;
    dir.write("list.dat", kStart);
    const QString recovery = recovery_file_name(dir.stateHome() + QStringLiteral("/quillmarch"),
                                                dir.path() + QStringLiteral("/list.dat"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(recovery).path()));
    ASSERT_TRUE(QFile(recovery).open(QIODevice::WriteOnly));

    const ToolRun r = dir.run({"add", "list.dat", "--no-backup", "--independent", "x"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith("quillmarch-tool: Quillmarch ended without saving")) << r.err.toStdString();
    EXPECT_EQ(dir.read("list.dat").toStdString(), kStart.toStdString());
}

TEST(AddCommand, BadInputGivesAClearMessageAndWritesNothing) {
    const QList<std::tuple<QStringList, int, QByteArray>> cases = {
        {{"--date", "12.06.2026", "x"}, 2, "Cannot read the date '12.06.2026': give it as yyyy-MM-dd"},
        {{"--date", "2026-02-30", "x"}, 2, "Cannot read the date '2026-02-30'"},
        {{"--date", "2026-06-12", "--time", "24:00", "x"}, 2, "The time 24:00 is out of range"},
        {{"--date", "2026-06-12", "--time", "9:60", "x"}, 2, "The time 9:60 is out of range"},
        {{"--date", "2026-06-12", "--time", "9.30", "x"}, 2, "Cannot read the time '9.30': give it as HH:MM"},
        {{"--date", "2026-06-12", "--picture", "36", "x"}, 2, "The picture '36' is not one of 0-35"},
        {{"--date", "2026-06-12", "--picture", "-1", "x"}, 2, "The picture '-1' is not one of 0-35"},
        {{"--date", "2026-06-12", "--picture", "two", "x"}, 2, "The picture 'two' is not one of 0-35"},
        {{"--date", "2026-06-12", " \t"}, 2, "The TEXT is blank"},
        {{"--date", "2026-06-12", "a\nb"}, 2, "The TEXT is one line"},
        {{"--independent", "--time", "9:30", "x"}, 2, "--time needs --date"},
        {{"x"}, 2, "add needs --date DATE or --independent"},
        {{"--date", "2026-06-12", "x", "y"}, 2, "add takes one TEXT"},
        {{"--settings", "missing.set", "--date", "2026-06-12", "x"}, 2, "Cannot read the settings file"},
    };
    ToolFolder dir;
    dir.write("list.dat", kStart);
    for (const auto& [args, status, message] : cases) {
        const ToolRun r = dir.run(QStringList{"add", "list.dat"} + args);
        const std::string what = args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, status) << what;
        EXPECT_EQ(r.errLines().size(), 1) << what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith("quillmarch-tool: " + message)) << what << ": " << r.err.toStdString();
    }
    EXPECT_EQ(dir.read("list.dat").toStdString(), kStart.toStdString());

    // A broken list gets check's message and status; a file that is no list is not written into.
    dir.write("broken.dat", "<TODO_DATA>\r\n<DAY_DATA>");
    dir.write("settings.set", "<SETTINGS/>");
    const ToolRun broken = dir.run({"add", "broken.dat", "--backup", "--independent", "x"});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.err.toStdString(), "broken.dat:2:12: Syntax error (position 25)\n");
    EXPECT_EQ(broken.err, dir.run({"check", "broken.dat"}).err);
    const ToolRun notAList = dir.run({"add", "settings.set", "--backup", "--independent", "x"});
    EXPECT_EQ(notAList.exitCode, 2);
    EXPECT_EQ(notAList.err.toStdString(), "quillmarch-tool: settings.set: not a Quillmarch list (its root "
                                          "element is SETTINGS, not TODO_DATA)\n");
    EXPECT_EQ(dir.read("broken.dat").toStdString(), "<TODO_DATA>\r\n<DAY_DATA>");
    EXPECT_EQ(dir.entries(), "broken.dat, list.dat, settings.set");
}
