// quillmarch-tool check: which files parse, and where the broken ones break.
#include "ToolProcess.h"
#include "markup/NoxPigger.h"

#include <optional>

namespace {

// The error the program itself meets when it loads the file, if any.
std::optional<ENoxPiggerError> library_error(const std::string& path) {
    TNoxPigger root;
    try {
        root.LoadFromFile(path);
    } catch (const ENoxPiggerError& e) {
        return e;
    }
    return std::nullopt;
}

QByteArray nested(int depth, bool closed) {
    QByteArray text;
    for (int i = 0; i < depth; ++i)
        text += "<N>";
    if (closed)
        for (int i = 0; i < depth; ++i)
            text += "</N>";
    return text;
}

} // namespace

TEST(CheckCommand, SucceedsSilentlyWhenEveryFileParsesIncludingEmptyAndForeignLineBreaks) {
    ToolFolder dir;
    dir.write("crlf.dat", "\r\n<TODO_DATA>\r\n\t<DAY_DATA DATE=\"N/A\"/>\r\n</TODO_DATA>");
    dir.write("lf.dat", "junk before the root\n<todo_data>\n<task caption=x/>\n</TODO_DATA>\ntrailing");
    dir.write("cr.set", "<SETTINGS>\r<A B=\"line\rbreak\"/>\r</SETTINGS>");
    dir.write("empty.dat", "");

    const ToolRun r = dir.run({"check", "crlf.dat", "lf.dat", "cr.set", "empty.dat"});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

TEST(CheckCommand, ReportsEachBrokenFileWithLineAndColumnOfThePositionAfterLineBreakNormalisation) {
    ToolFolder dir;
    // Lone CRs count as line breaks: "word" starts line 4 of the normalised text at position 13.
    dir.write("text.dat", "<A>\r\r<B>\rword");
    // The end tag of A closes B: reported at the "<" of "</A>", line 3 column 3.
    dir.write("unclosed.dat", "<A>\n <B>\n  </A>\n");
    dir.write("good.dat", "<A/>");
    // Cut short inside an attribute value.
    dir.write("cut.dat", "<TODO_DATA>\n<TASK CAPTION=\"unfinished");

    const ToolRun r = dir.run({"check", "text.dat", "good.dat", "unclosed.dat", "cut.dat"});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    const QList<QByteArray> lines = r.errLines();
    ASSERT_EQ(lines.size(), 3) << r.err.toStdString();
    EXPECT_EQ(lines[0].toStdString(), "text.dat:4:1: Syntax error (position 13)");
    EXPECT_EQ(lines[1].toStdString(), "unclosed.dat:3:3: Unclosed tag: B (position 14)");
    EXPECT_EQ(lines[2].toStdString(), "cut.dat:2:15: Syntax error (position 28)");

    // The same positions and messages the program's own loading reports.
    for (const auto& [name, position, message] :
         {std::tuple{"text.dat", 13, "Syntax error"}, std::tuple{"unclosed.dat", 14, "Unclosed tag: B"},
          std::tuple{"cut.dat", 28, "Syntax error"}}) {
        const auto e = library_error(dir.file(name));
        ASSERT_TRUE(e.has_value()) << name;
        EXPECT_EQ(e->Position, position) << name;
        EXPECT_STREQ(e->what(), message) << name;
    }
}

TEST(CheckCommand, ReadsStandardInputForADash) {
    ToolFolder dir;
    const ToolRun good = dir.run({"check", "-"}, "<A><B/></A>");
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_TRUE(good.err.isEmpty());

    const ToolRun broken = dir.run({"check", "-"}, "<A>\nhello");
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.err.toStdString(), "<stdin>:2:1: Syntax error (position 6)\n");
}

TEST(CheckCommand, FailsWithOneLineForAFileItCannotReadAndStillChecksTheOthers) {
    ToolFolder dir;
    dir.write("broken.dat", "<A>");
    dir.write("good.dat", "<A/>");
    QDir(dir.path()).mkdir("folder.dat");

    const ToolRun r = dir.run({"check", "missing.dat", "broken.dat", "folder.dat", "good.dat"});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 2);
    const QList<QByteArray> lines = r.errLines();
    ASSERT_EQ(lines.size(), 3) << r.err.toStdString();
    EXPECT_TRUE(lines[0].contains("missing.dat")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("broken.dat:")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains("folder.dat")) << lines[2].toStdString();
}

TEST(CheckCommand, HandlesDeepNestingAndLeavesBrokenFilesAsTheyWere) {
    ToolFolder dir;
    const QByteArray deep = nested(100000, true);
    const QByteArray cut = nested(10000, false);
    dir.write("deep.dat", deep);
    dir.write("cut.dat", cut);

    const ToolRun r = dir.run({"check", "deep.dat", "cut.dat"});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 1);
    const auto e = library_error(dir.file("cut.dat"));
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(r.err.toStdString(), "cut.dat:1:" + std::to_string(e->Position) + ": Syntax error (position " +
                                       std::to_string(e->Position) + ")\n");
    EXPECT_EQ(dir.read("cut.dat"), cut);
    EXPECT_EQ(dir.read("deep.dat"), deep);
}
