// quillmarch-tool's options: help, version and every kind of bad usage.
#include "ToolProcess.h"

TEST(CommandLine, HelpAndVersionGoToStandardOutputWhereverTheyStand) {
    ToolFolder dir;
    for (const QStringList& args : {QStringList{"--help"}, QStringList{"check", "--help", "x.dat"}}) {
        const ToolRun r = dir.run(args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.out.startsWith("Usage: quillmarch-tool check FILE...")) << r.out.toStdString();
        for (const char* command : {"  format FILE", "  list FILE", "  add FILE TEXT", "  export FILE"})
            EXPECT_TRUE(r.out.contains(command)) << command;
        EXPECT_TRUE(r.err.isEmpty());
    }
    const ToolRun v = dir.run({"--version"});
    EXPECT_EQ(v.exitCode, 0);
    EXPECT_EQ(v.out.toStdString(), "quillmarch-tool 1.5.3\n");
}

TEST(CommandLine, BadUsageGivesOneLineOnStandardErrorAndStatusTwo) {
    ToolFolder dir;
    dir.write("a.dat", "<A/>");
    dir.write("b.dat", "<B/>");
    const QList<QStringList> cases = {
        {},
        {"--frobnicate"},
        {"check", "-x", "a.dat"},
        {"lint", "a.dat"},
        {"check"},
        {"format"},
        {"format", "a.dat", "b.dat"},
        {"format", "a.dat", "-o"},
        {"format", "a.dat", "-o", "c.dat", "-o", "d.dat"},
        {"check", "a.dat", "-o", "c.dat"},
        {"list", "a.dat", "-o", "c.dat"},
        // Dates that do not parse, a range that runs backwards, an unknown locale, a file that is no list.
        {"list", "a.dat", "--date", "12.06.2026"},
        {"list", "a.dat", "--date", "2026-02-30"},
        {"list", "a.dat", "--from", "2026-06-12", "--to", "2026-06-01"},
        {"list", "a.dat", "--date", "2026-06-12", "--to", "2026-06-13"},
        {"list", "a.dat", "--locale", "xx_nowhere"},
        {"list", "a.dat"},
        {"export", "a.dat", "--format", "vcs"},
        {"list", "a.dat", "--date"},
        {"list", "a.dat", "--undone=yes"},
        {"export", "a.dat", "--time", "9:30"},
        {"export", "a.dat"},
        {"add", "-", "--independent", "x"},
        {"add", "a.dat", "--date", "2026-06-12", "--backup", "--no-backup", "x"},
    };
    for (const QStringList& args : cases) {
        const ToolRun r = dir.run(args);
        const std::string what = args.join(' ').toStdString();
        EXPECT_FALSE(r.crashed) << what;
        EXPECT_EQ(r.exitCode, 2) << what;
        EXPECT_TRUE(r.out.isEmpty()) << what;
        EXPECT_EQ(r.errLines().size(), 1) << what << ": " << r.err.toStdString();
    }
    EXPECT_EQ(dir.entries(), "a.dat, b.dat");
}

TEST(CommandLine, ADoubleDashEndsTheOptionsSoFileNamesMayStartWithADash) {
    ToolFolder dir;
    dir.write("-o", "<A>");

    const ToolRun r = dir.run({"check", "--", "-o"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.toStdString(), "-o:1:5: Syntax error (position 5)\n");
}
