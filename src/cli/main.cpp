// quillmarch-tool: checks Quillmarch data and settings files and writes them as the program saves them,
// for people who keep their lists in scripts and backups.
#include "markup/NoxPigger.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#ifndef QM_VERSION
#define QM_VERSION "unknown"
#endif

namespace {

constexpr const char* kToolName = "quillmarch-tool";
constexpr const char* kStdinName = "<stdin>";

// Exit statuses: a broken file is the answer to a question, everything else is a failure to ask it.
constexpr int kAllIntact = 0;
constexpr int kSomeBroken = 1;
constexpr int kFailure = 2;

constexpr const char* kHelp =
    R"help(Usage: quillmarch-tool check FILE...
       quillmarch-tool format FILE [-o OUT]
Checks and rewrites Quillmarch data files (.dat) and settings files (.set).

Commands:
  check FILE...         Load each file. Prints nothing when all are intact; for each broken
                        file prints "FILE:LINE:COLUMN: MESSAGE (position N)" on standard error.
  format FILE [-o OUT]  Write FILE exactly as Quillmarch saves it, to standard output or to OUT
                        (OUT is replaced in one step, never left half-written). The days of a
                        list are written in the date format of the locale (LANG), as the program
                        would show them.
A FILE of "-" reads standard input.

Options:
  -o OUT       format: write to OUT instead of standard output ("-" is standard output)
  --help       show this help and exit
  --version    show the version and exit

Exit status: 0 all files intact, 1 a file is broken, 2 bad usage or a file that
cannot be read or written.
)help";

// File names go into one-line messages: a control character in a name must not break the line.
std::string printable(const std::string& name) {
    std::string out = name;
    std::replace_if(
        out.begin(), out.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }, '?');
    return out;
}

void fail_line(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kToolName, message.c_str());
}

int usage_error(const std::string& message) {
    fail_line(message + " (try '" + kToolName + " --help')");
    return kFailure;
}

std::string display_name(const std::string& arg) {
    return arg == "-" ? kStdinName : printable(arg);
}

// The raw bytes of a file or of standard input; nothing (after a message) when they cannot be read.
std::optional<std::string> read_input(const std::string& arg) {
    if (arg != "-") {
        try {
            return ReadFileBytes(arg);
        } catch (const std::exception& e) {
            fail_line(printable(e.what()));
            return std::nullopt;
        }
    }
    // A device such as /dev/zero would be read until memory runs out; a terminal is someone typing.
    struct stat st {};
    if (::fstat(STDIN_FILENO, &st) == 0 && !S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode) &&
        !S_ISSOCK(st.st_mode) && !::isatty(STDIN_FILENO)) {
        fail_line("Cannot read standard input: not a regular file or pipe");
        return std::nullopt;
    }
    std::string bytes;
    char buf[65536];
    for (;;) {
        const size_t got = std::fread(buf, 1, sizeof buf, stdin);
        if (bytes.size() + got > kMaxTextSize) {
            fail_line("Cannot read standard input: larger than 1 GiB");
            return std::nullopt;
        }
        bytes.append(buf, got);
        if (got < sizeof buf) break;
    }
    if (std::ferror(stdin)) {
        fail_line("Cannot read standard input");
        return std::nullopt;
    }
    return bytes;
}

// Line and column (both 1-based) of a 1-based position in the normalised text, where every line ends
// in CR LF. A position just past the end is the start of the line after the last one.
std::pair<size_t, size_t> line_and_column(const std::string& text, int32_t position) {
    const size_t index = position < 1 ? 0 : std::min(static_cast<size_t>(position) - 1, text.size());
    size_t line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < index; ++i)
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    return {line, index - lineStart + 1};
}

enum class LoadResult { Intact, Broken, Failed };

void report_broken(const std::string& arg, const std::string& text, int32_t position,
                   const std::string& message) {
    const auto [line, column] = line_and_column(text, position);
    std::fprintf(stderr, "%s:%zu:%zu: %s (position %ld)\n", display_name(arg).c_str(), line, column,
                 printable(message).c_str(), static_cast<long>(position));
}

// Loads the way the program loads any of its files: bytes cut at the first NUL, line breaks made
// CR LF, then parsed. A 0-byte file leaves the root cleared and is no error; any other file that gives no
// element is broken (a power loss often leaves a file's first bytes zeros).
LoadResult load(const std::string& arg, TNoxPigger& root) {
    const std::optional<std::string> bytes = read_input(arg);
    if (!bytes) return LoadResult::Failed;
    const std::string text = NormalizeLineBreaks(*bytes);
    // Positions are 32-bit; a longer text could not report where it breaks.
    if (text.size() > static_cast<size_t>(INT32_MAX) - 2) {
        fail_line(display_name(arg) + ": file too large");
        return LoadResult::Failed;
    }
    try {
        root.SetText(text);
        if (!root.TagName().empty() || bytes->empty()) return LoadResult::Intact;
        const size_t nul = bytes->find('\0');
        if (nul != std::string::npos) {
            // Where the NUL stands in the text as the program sees it up to there.
            const std::string upTo = NormalizeLineBreaks(bytes->substr(0, nul) + '\x01');
            const std::string before = upTo.substr(0, upTo.rfind('\x01'));
            report_broken(arg, upTo, static_cast<int32_t>(before.size() + 1),
                          "NUL byte: the file is damaged");
        } else {
            report_broken(arg, text, 1, "No element found");
        }
        return LoadResult::Broken;
    } catch (const ENoxPiggerError& e) {
        report_broken(arg, text, e.Position, e.what());
        return LoadResult::Broken;
    } catch (const std::exception& e) {
        fail_line(display_name(arg) + ": " + printable(e.what()));
        return LoadResult::Failed;
    }
}

int run_check(const std::vector<std::string>& files) {
    if (files.empty()) return usage_error("check needs at least one FILE");
    bool broken = false;
    bool failed = false;
    for (const std::string& f : files) {
        TNoxPigger root;
        switch (load(f, root)) {
        case LoadResult::Intact:
            break;
        case LoadResult::Broken:
            broken = true;
            break;
        case LoadResult::Failed:
            failed = true;
            break;
        }
    }
    return failed ? kFailure : broken ? kSomeBroken : kAllIntact;
}

int run_format(const std::vector<std::string>& files, const std::optional<std::string>& out) {
    if (files.size() != 1)
        return usage_error(files.empty() ? "format needs a FILE" : "format takes one FILE");
    TNoxPigger root;
    switch (load(files.front(), root)) {
    case LoadResult::Intact:
        break;
    case LoadResult::Broken:
        return kSomeBroken;
    case LoadResult::Failed:
        return kFailure;
    }
    // A list is written as the program saves it: its days under the key format of this locale.
    if (root.TagName() == todo::kRootTag) {
        adopt_key_format(root);
        record_key_format(root);
    }
    if (out && *out != "-") {
        // Replacing OUT by renaming would swap a device, pipe or folder for a plain file: refuse.
        struct stat st {};
        if (::stat(out->c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            fail_line("Cannot create file " + printable(*out) + ": not a regular file");
            return kFailure;
        }
        try {
            root.SaveToFile(*out);
        } catch (const std::exception& e) {
            fail_line(printable(e.what()));
            return kFailure;
        }
        return kAllIntact;
    }
    const std::string text = root.GetText();
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        fail_line("Cannot write standard output");
        return kFailure;
    }
    return kAllIntact;
}

int run(const std::vector<std::string>& args) {
    // Help and version win wherever they stand before "--".
    for (const std::string& a : args) {
        if (a == "--") break;
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return kAllIntact;
        }
        if (a == "--version") {
            std::printf("%s %s\n", kToolName, QM_VERSION);
            return kAllIntact;
        }
    }

    std::optional<std::string> command;
    std::vector<std::string> files;
    std::optional<std::string> out;
    bool optionsDone = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsDone && a == "--") {
            optionsDone = true;
        } else if (!optionsDone && a == "-o") {
            if (i + 1 == args.size()) return usage_error("option -o needs a file name");
            if (out) return usage_error("option -o given twice");
            out = args[++i];
        } else if (!optionsDone && a.size() > 1 && a[0] == '-') {
            return usage_error("unknown option '" + printable(a) + "'");
        } else if (!command) {
            command = a;
        } else {
            files.push_back(a);
        }
    }

    if (!command) return usage_error("missing command");
    if (*command == "check") {
        if (out) return usage_error("option -o belongs to format");
        return run_check(files);
    }
    if (*command == "format") return run_format(files, out);
    return usage_error("unknown command '" + printable(*command) + "'");
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        // Running out of memory on a huge file is a failure to read it, not a crash.
        fail_line(printable(e.what()));
        return kFailure;
    }
}
