// quillmarch-tool format: the bytes the program's save would write, to standard output or to a file.
#include "ToolProcess.h"
#include "markup/NoxPigger.h"

#include <sys/stat.h>

namespace {

// Foreign line breaks, lower-case names, escapes, a bare value, non-ASCII and invalid UTF-8 bytes,
// junk before the root and a second root that loading ignores.
const QByteArray kInput = "before\n<todo_data>\n  <day_data date=\"12/6/2026\">\n"
                          "    <task caption=\"a%22b &amp; 100%25 <x>\" d=Y index=3 hour=09 minute=30>\n"
                          "      <dsc>Caf\xc3\xa9 \xff first line\n second line  </dsc>\n"
                          "    </task>\n  </day_data>\n</todo_data>\n<SECOND/>";

const QByteArray kFormatted =
    "\r\n<TODO_DATA DATE_FORMAT=\"M/d/yyyy\">\r\n\t<DAY_DATA DATE=\"12/6/2026\">\r\n"
    "\t\t<TASK CAPTION=\"a%22b &amp; 100%25 %3Cx%3E\" D=\"Y\" INDEX=\"3\" HOUR=\"09\" "
    "MINUTE=\"30\">\r\n"
    "\t\t\t<DSC>Caf\xc3\xa9 \xff first line\r\n second line\r\n\t\t\t</DSC>\r\n"
    "\t\t</TASK>\r\n\t</DAY_DATA>\r\n</TODO_DATA>";

} // namespace

TEST(FormatCommand, WritesTheTreeExactlyAsTheProgramSavesIt) {
    ToolFolder dir;
    dir.write("in.dat", kInput);

    const ToolRun r = dir.run({"format", "in.dat"});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(), kFormatted.toStdString());

    TNoxPigger root;
    root.LoadFromFile(dir.file("in.dat"));
    root.SetAttr("DATE_FORMAT", "M/d/yyyy");
    EXPECT_EQ(r.out.toStdString(), root.GetText());

    // What it writes is already in the program's form.
    const ToolRun again = dir.run({"format", "-"}, r.out);
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out.toStdString(), kFormatted.toStdString());
}

TEST(FormatCommand, ReplacesOutWithoutLeavingTemporaryFilesEvenWhenOutIsTheInput) {
    ToolFolder dir;
    dir.write("in.dat", kInput);
    dir.write("out.dat", "an older file that is longer than nothing");

    const ToolRun r = dir.run({"format", "in.dat", "-o", "out.dat"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(dir.read("out.dat").toStdString(), kFormatted.toStdString());

    const ToolRun inPlace = dir.run({"format", "-o", "in.dat", "in.dat"});
    EXPECT_EQ(inPlace.exitCode, 0);
    EXPECT_EQ(dir.read("in.dat").toStdString(), kFormatted.toStdString());
    EXPECT_EQ(dir.entries(), "in.dat, out.dat");

    const ToolRun toStdout = dir.run({"format", "in.dat", "-o", "-"});
    EXPECT_EQ(toStdout.out.toStdString(), kFormatted.toStdString());
}

TEST(FormatCommand, WritesNothingForAnEmptyFile) {
    ToolFolder dir;
    dir.write("empty.dat", "");
    dir.write("out.dat", "old");

    const ToolRun r = dir.run({"format", "empty.dat"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.isEmpty());

    const ToolRun toFile = dir.run({"format", "-", "-o", "out.dat"}, QByteArray());
    EXPECT_EQ(toFile.exitCode, 0);
    EXPECT_TRUE(dir.exists("out.dat"));
    EXPECT_TRUE(dir.read("out.dat").isEmpty());
}

TEST(FormatCommand, LeavesOutUntouchedWhenTheInputIsBrokenOrMissing) {
    ToolFolder dir;
    dir.write("broken.dat", "<TODO_DATA>\n<DAY_DATA>\n</TODO_DATA>");
    dir.write("out.dat", "old");

    const ToolRun broken = dir.run({"format", "broken.dat", "-o", "out.dat"});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.out.isEmpty());
    EXPECT_EQ(broken.err.toStdString(), "broken.dat:3:1: Unclosed tag: DAY_DATA (position 26)\n");

    const ToolRun toStdout = dir.run({"format", "broken.dat"});
    EXPECT_EQ(toStdout.exitCode, 1);
    EXPECT_TRUE(toStdout.out.isEmpty());

    const ToolRun missing = dir.run({"format", "missing.dat", "-o", "out.dat"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.errLines().size(), 1);

    EXPECT_EQ(dir.read("out.dat"), QByteArray("old"));
    EXPECT_EQ(dir.read("broken.dat"), QByteArray("<TODO_DATA>\n<DAY_DATA>\n</TODO_DATA>"));
    EXPECT_EQ(dir.entries(), "broken.dat, out.dat");
}

TEST(FormatCommand, FailsWithOneLineWhenOutCannotBeWritten) {
    ToolFolder dir;
    dir.write("in.dat", "<A/>");

    const ToolRun r = dir.run({"format", "in.dat", "-o", "no-such-folder/out.dat"});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    ASSERT_EQ(r.errLines().size(), 1);
    EXPECT_TRUE(r.err.contains("no-such-folder/out.dat")) << r.err.toStdString();
}

TEST(FormatCommand, RefusesToReplaceAnOutThatIsNoRegularFile) {
    ToolFolder dir;
    dir.write("in.dat", "<A/>");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    ASSERT_TRUE(QFile::link(QDir(dir.path()).filePath("pipe"), QDir(dir.path()).filePath("link")));

    for (const char* out : {"folder", "pipe", "link"}) {
        const ToolRun r = dir.run({"format", "in.dat", "-o", out});
        EXPECT_EQ(r.exitCode, 2) << out;
        EXPECT_EQ(r.errLines().size(), 1) << out << ": " << r.err.toStdString();
    }
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(QFileInfo(QDir(dir.path()).filePath("folder")).isDir());
    EXPECT_EQ(dir.entries(), "folder, in.dat, link, pipe");
}
