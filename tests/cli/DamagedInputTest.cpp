// Files a power loss or a wrong name leaves behind: reported as broken or refused, never emptied.
#include "ToolProcess.h"

namespace {

TEST(DamagedInput, AFileThatLoadsAsNoElementIsBrokenAndFormatWritesNothing) {
    ToolFolder dir;
    const QByteArray zeros = QByteArray(4096, '\0') + "\r\n\t<DAY_DATA DATE=\"N/A\"/>\r\n</TODO_DATA>";
    dir.write("zeros.dat", zeros);
    dir.write("untagged.dat", "<></>");
    dir.write("empty.dat", "");
    dir.write("blank.dat", " \r\n\t\n");

    const ToolRun r = dir.run({"check", "zeros.dat", "untagged.dat", "empty.dat", "blank.dat"});
    EXPECT_EQ(r.exitCode, 1);
    const QList<QByteArray> lines = r.errLines();
    ASSERT_EQ(lines.size(), 2) << r.err.toStdString();
    EXPECT_EQ(lines[0], "zeros.dat:1:1: NUL byte: the file is damaged (position 1)");
    EXPECT_EQ(lines[1], "untagged.dat:1:1: No element found (position 1)");

    for (const char* name : {"zeros.dat", "untagged.dat"}) {
        const ToolRun f = dir.run({"format", name, "-o", name});
        EXPECT_EQ(f.exitCode, 1) << name;
        EXPECT_TRUE(f.out.isEmpty());
    }
    EXPECT_EQ(dir.read("zeros.dat"), zeros) << "the user's list is not emptied";
    EXPECT_EQ(dir.read("untagged.dat"), "<></>");
    EXPECT_EQ(dir.entries(), "blank.dat, empty.dat, untagged.dat, zeros.dat");
}

TEST(DamagedInput, DevicesAreRefusedInsteadOfReadUntilMemoryRunsOut) {
    ToolFolder dir;
    const ToolRun check = dir.run({"check", "/dev/zero"});
    EXPECT_EQ(check.exitCode, 2);
    EXPECT_EQ(check.err.toStdString(), "quillmarch-tool: Cannot open file /dev/zero: not a regular file\n");
    const ToolRun format = dir.run({"format", "/dev/zero", "-o", "out.dat"});
    EXPECT_EQ(format.exitCode, 2);
    EXPECT_FALSE(dir.exists("out.dat"));

    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.setStandardInputFile(QStringLiteral("/dev/zero"));
    p.start(QStringLiteral(QM_TOOL_PATH), {"check", "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_EQ(p.readAllStandardError().toStdString(),
              "quillmarch-tool: Cannot read standard input: not a regular file or pipe\n");
}

// Merged days are the day-key rules' (DayKeysTest); a list that records no format keeps its keys
// (DayKeysTest, ListCommandTest).
TEST(DamagedInput, FormatWritesTheDaysOfAListInTheDateFormatOfTheLocale) {
    ToolFolder dir;
    dir.write("us.dat",
              "<TODO_DATA DATE_FORMAT=\"M/d/yyyy\"><DAY_DATA DATE=\"12/8/2026\"><TASK CAPTION=\"a\"/>"
              "</DAY_DATA><DAY_DATA DATE=\"N/A\"/></TODO_DATA>");
    const ToolRun de = dir.run({"format", "us.dat"}, {}, QStringLiteral("de_DE.UTF-8"));
    EXPECT_EQ(de.exitCode, 0) << de.err.toStdString();
    EXPECT_EQ(de.out.toStdString(),
              "\r\n<TODO_DATA DATE_FORMAT=\"dd.MM.yyyy\">\r\n\t<DAY_DATA DATE=\"08.12.2026\">\r\n"
              "\t\t<TASK CAPTION=\"a\"/>\r\n\t</DAY_DATA>\r\n\t<DAY_DATA DATE=\"N/A\"/>\r\n"
              "</TODO_DATA>");
    const ToolRun gb = dir.run({"format", "-"}, de.out, QStringLiteral("en_GB.UTF-8"));
    EXPECT_NE(gb.out.indexOf("DATE=\"08/12/2026\""), -1) << gb.out.toStdString();
    const ToolRun back = dir.run({"format", "-"}, gb.out);
    EXPECT_NE(back.out.indexOf("DATE=\"12/8/2026\""), -1) << "and back: " << back.out.toStdString();
}

} // namespace
