// Loading and saving files and streams: line-break normalisation, exact bytes, crash-safe replacing
// and the stream errors.
#include "MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using markup_test::CrLfLines;
namespace fs = std::filesystem;

namespace {

class FilesAndStreams : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("qm_markup_files_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

TEST(LineBreaks, EveryKindOfLineBreakBecomesCrLfAndTheLastLineGetsOne) {
    EXPECT_EQ(NormalizeLineBreaks(""), "");
    EXPECT_EQ(NormalizeLineBreaks("a"), "a\r\n");
    EXPECT_EQ(NormalizeLineBreaks("a\r\n"), "a\r\n");
    EXPECT_EQ(NormalizeLineBreaks("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(NormalizeLineBreaks("\n\r\r\n\n"), "\r\n\r\n\r\n\r\n");
    EXPECT_EQ(NormalizeLineBreaks("\r"), "\r\n");
    EXPECT_EQ(NormalizeLineBreaks(std::string("ab\0cd\n", 6)), "ab\r\n");
    EXPECT_EQ(NormalizeLineBreaks(std::string("\0<A/>", 5)), "");
}

// Every text of up to six characters from a, CR, LF and NUL, and every mix of up to three placed at
// each offset of longer texts (the check for CR LF-only text works eight bytes at a time), against the
// rule read literally: cut at the first NUL, split at CR LF, lone CR and lone LF, end every line with
// CR LF.
TEST(LineBreaks, EveryShortMixOfBreaksMatchesTheLineByLineRule) {
    const char alphabet[] = {'a', '\r', '\n', '\0'};
    auto byRule = [](const std::string& bytes) {
        const std::string text = bytes.substr(0, bytes.find('\0'));
        std::string out, line;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
                out += line + "\r\n";
                line.clear();
            } else {
                line += text[i];
            }
        }
        if (!line.empty()) out += line + "\r\n";
        return out;
    };
    for (int length = 0; length <= 6; ++length) {
        int count = 1;
        for (int i = 0; i < length; ++i)
            count *= 4;
        for (int code = 0; code < count; ++code) {
            std::string bytes;
            for (int i = 0, c = code; i < length; ++i, c /= 4)
                bytes += alphabet[c % 4];
            ASSERT_EQ(NormalizeLineBreaks(bytes), byRule(bytes)) << "code " << code << " length " << length;
            if (length > 3) continue;
            for (const std::string& background :
                 {std::string(24, 'a'), std::string("ab\r\ncdefgh\r\n\r\nijklmnop\r\nq")})
                for (size_t at = 0; at + bytes.size() <= background.size(); ++at) {
                    const std::string text =
                        background.substr(0, at) + bytes + background.substr(at + bytes.size());
                    ASSERT_EQ(NormalizeLineBreaks(text), byRule(text)) << "code " << code << " at " << at;
                }
        }
    }
}

TEST(Streams, FilesWithLfCrOrCrLfLineBreaksLoadTheSame) {
    const std::string lf = "<A V=\"one\ntwo\">\n\t<B>x\ny</B>\n</A>";
    std::string cr = lf, crlf;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);

    std::vector<std::string> texts;
    for (const std::string& bytes : {lf, cr, crlf}) {
        std::istringstream in(bytes);
        TNoxPigger root;
        root.LoadFromStream(in);
        EXPECT_EQ(root.GetAttr("V"), "one\r\ntwo");
        EXPECT_EQ(root.Child(0)->Text, "x\r\ny");
        texts.push_back(root.GetText());
    }
    EXPECT_EQ(texts[0], texts[1]);
    EXPECT_EQ(texts[0], texts[2]);
}

TEST(Streams, LoadingReadsFromTheCurrentPositionAndStopsAtTheFirstNul) {
    std::istringstream in(std::string("<SKIPPED/><A>kept</A>\0<B/>", 26));
    in.seekg(10);
    TNoxPigger root;
    root.LoadFromStream(in);
    EXPECT_EQ(root.TagName(), "A");
    EXPECT_EQ(root.Text, "kept");

    // Cut right inside the element: the rest is missing, so the element is broken.
    std::istringstream cut(std::string("<A>kept\0</A>", 12));
    EXPECT_THROW(root.LoadFromStream(cut), ENoxPiggerError);
}

TEST(Streams, ANulAtTheStartOrAnEmptyStreamLeavesTheElementClearedButWhiteSpaceIsAnError) {
    TNoxPigger root;
    root.SetText("<OLD/>");
    std::istringstream empty("");
    root.LoadFromStream(empty);
    EXPECT_EQ(root.TagName(), "");

    std::istringstream nul(std::string("\0<A/>", 5));
    root.LoadFromStream(nul);
    EXPECT_EQ(root.TagName(), "");

    std::istringstream blank(" \n\t");
    try {
        root.LoadFromStream(blank);
        FAIL() << "no error";
    } catch (const ENoxPiggerError& e) {
        EXPECT_STREQ(e.what(), "Syntax error");
        EXPECT_EQ(e.Position, 6); // " \r\n\t\r\n": skipping stops at the last character
    }
}

TEST_F(FilesAndStreams, SaveToFileWritesExactlyTheTextAndLoadFromFileReadsItBack) {
    TNoxPigger root;
    root.SetTagName("TODO_DATA");
    TNoxPigger* task = root.AddChild("DAY_DATA")->AddChild("TASK");
    task->SetAttr("CAPTION", "line one\r\nline two\t\"quoted\" 100% <b>");
    task->AddChild("DSC")->Text = "\xe4\xf6\xfc non-UTF-8 bytes";
    root.SaveToFile(Path("todo.dat"));
    const std::string bytes = Read(Path("todo.dat"));
    EXPECT_EQ(bytes, root.GetText());
    EXPECT_EQ(bytes.substr(0, 2), "\r\n"); // no byte-order mark or header
    EXPECT_NE(bytes.back(), '\n');

    TNoxPigger loaded;
    loaded.LoadFromFile(Path("todo.dat"));
    EXPECT_EQ(loaded.GetText(), bytes);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"todo.dat"})); // no temporary file left behind
}

TEST_F(FilesAndStreams, ALoneCrOrLfInAValueComesBackAsCrLfAfterAFileLoad) {
    TNoxPigger root;
    root.SetTagName("A");
    root.SetAttr("V", "a\rb\nc\r\nd");
    root.SaveToFile(Path("v.dat"));
    root.LoadFromFile(Path("v.dat"));
    EXPECT_EQ(root.GetAttr("V"), "a\r\nb\r\nc\r\nd");
}

TEST_F(FilesAndStreams, AClearedTreeSavesAnEmptyFileWhichLoadsWithoutError) {
    Write(Path("old.dat"), "<OLD/>");
    TNoxPigger root;
    root.SaveToFile(Path("old.dat"));
    EXPECT_EQ(fs::file_size(Path("old.dat")), 0u);
    root.SetText("<X/>");
    root.LoadFromFile(Path("old.dat"));
    EXPECT_EQ(root.TagName(), "");
}

TEST_F(FilesAndStreams, SavingReplacesAnExistingFileKeepingItsPermissionsAndLinks) {
    Write(Path("real.dat"), std::string(10000, 'x'));
    ::chmod(Path("real.dat").c_str(), 0640);
    fs::create_symlink("real.dat", Path("link.dat"));
    TNoxPigger root;
    root.SetText("<SHORT/>");
    root.SaveToFile(Path("link.dat"));
    EXPECT_TRUE(fs::is_symlink(Path("link.dat")));
    EXPECT_EQ(Read(Path("real.dat")), "\r\n<SHORT/>");
    struct stat st {};
    ASSERT_EQ(::stat(Path("real.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"link.dat", "real.dat"}));
}

TEST_F(FilesAndStreams, AFileThatCannotBeCreatedOrOpenedRaisesTheStreamErrorWithItsName) {
    TNoxPigger root;
    root.SetText("<A/>");
    const std::string missingDir = Path("no/such/folder/a.dat");
    try {
        root.SaveToFile(missingDir);
        FAIL() << "no error";
    } catch (const EStreamError& e) {
        EXPECT_STREQ(e.what(), ("Cannot create file " + missingDir + ": No such file or directory").c_str());
    }
    EXPECT_THROW(root.SaveToFile(dir_.string()), EStreamError); // a folder is no file

    // The reason follows the name: what the user can do about it depends on it.
    const std::pair<std::string, std::string> unreadable[] = {
        {Path("missing.dat"), "No such file or directory"},
        {dir_.string(), "Is a directory"},
        {"/dev/zero", "not a regular file"}};
    for (const auto& [name, reason] : unreadable) {
        try {
            root.LoadFromFile(name);
            FAIL() << "no error for " << name;
        } catch (const EStreamError& e) {
            EXPECT_STREQ(e.what(), ("Cannot open file " + name + ": " + reason).c_str());
        }
    }
    EXPECT_EQ(root.TagName(), "A"); // nothing was read, nothing was cleared
}

TEST_F(FilesAndStreams, SavingOntoAPipeOrAFolderIsRefusedAndAPipeWithoutWriterReadsAsEmpty) {
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    fs::create_symlink("pipe", Path("pipe-link"));
    fs::create_directory(Path("folder"));
    TNoxPigger root;
    root.SetText("<NEW/>");
    const std::pair<std::string, std::string> refused[] = {{Path("pipe"), "not a regular file"},
                                                           {Path("pipe-link"), "not a regular file"},
                                                           {Path("folder"), "Is a directory"}};
    for (const auto& [name, reason] : refused) {
        try {
            root.SaveToFile(name);
            FAIL() << "no error for " << name;
        } catch (const EStreamError& e) {
            EXPECT_STREQ(e.what(), ("Cannot create file " + name + ": " + reason).c_str());
        }
    }
    EXPECT_TRUE(fs::is_fifo(Path("pipe")));
    EXPECT_TRUE(fs::is_symlink(Path("pipe-link")));
    EXPECT_TRUE(fs::is_empty(Path("folder")));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"folder", "pipe", "pipe-link"}));

    // Loading from a pipe that nobody writes to must not wait for a writer.
    auto load = std::async(std::launch::async, [&] {
        TNoxPigger loaded;
        loaded.SetText("<OLD/>");
        loaded.LoadFromFile(Path("pipe"));
        return loaded.TagName();
    });
    if (load.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "loading from a pipe without writer waits";
        ::close(::open(Path("pipe").c_str(), O_WRONLY | O_NONBLOCK)); // lets the waiting open end
    }
    EXPECT_EQ(load.get(), "");
}

TEST_F(FilesAndStreams, AFileTheUserMayNotWriteIsLeftAsItIs) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    Write(Path("locked.dat"), "<KEEP/>");
    ::chmod(Path("locked.dat").c_str(), 0444);
    TNoxPigger root;
    root.SetText("<NEW/>");
    EXPECT_THROW(root.SaveToFile(Path("locked.dat")), EStreamError);
    EXPECT_EQ(Read(Path("locked.dat")), "<KEEP/>");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"locked.dat"}));
}

} // namespace
