#include "cli/ToolIo.h"

#include "todo/rules/TodoRules.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>

#include <sys/stat.h>
#include <unistd.h>

namespace tool {

namespace {

constexpr const char* kStdinName = "<stdin>";

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

void report_broken(const std::string& arg, const std::string& text, int32_t position,
                   const std::string& message) {
    const auto [line, column] = line_and_column(text, position);
    std::fprintf(stderr, "%s:%zu:%zu: %s (position %ld)\n", display_name(arg).c_str(), line, column,
                 printable(message).c_str(), static_cast<long>(position));
}

} // namespace

std::string printable(const std::string& text) {
    std::string out = text;
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

// Loads the way the program loads any of its files: bytes cut at the first NUL, line breaks made
// CR LF, then parsed. A file of nothing or white space only leaves the root cleared and is no error, as
// the program takes it for an empty list; any other file that gives no element is broken (a power loss
// often leaves a file's first bytes zeros).
LoadResult load(const std::string& arg, TNoxPigger& root) {
    const std::optional<std::string> bytes = read_input(arg);
    if (!bytes) return LoadResult::Failed;
    const std::string text = NormalizeLineBreaks(*bytes);
    // Positions are 32-bit; a longer text could not report where it breaks.
    if (text.size() > static_cast<size_t>(INT32_MAX) - 2) {
        fail_line(display_name(arg) + ": file too large");
        return LoadResult::Failed;
    }
    if (todo::is_blank(*bytes)) {
        root.Clear();
        return LoadResult::Intact;
    }
    try {
        root.SetText(text);
        if (!root.TagName().empty()) return LoadResult::Intact;
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

int status_of(LoadResult result) {
    switch (result) {
    case LoadResult::Intact:
        return kSuccess;
    case LoadResult::Broken:
        return kSomeBroken;
    case LoadResult::Failed:
        break;
    }
    return kFailure;
}

std::optional<int> load_list(const std::string& arg, TNoxPigger& root) {
    const LoadResult result = load(arg, root);
    if (result != LoadResult::Intact) return status_of(result);
    if (root.TagName().empty()) {
        root.SetTagName(todo::kRootTag);
        return std::nullopt;
    }
    // A settings file or any other markup holds no days; writing items into it would spoil it.
    if (root.TagName() != todo::kRootTag) {
        fail_line(display_name(arg) + ": not a Quillmarch list (its root element is " +
                  printable(root.TagName()) + ", not " + todo::kRootTag + ")");
        return kFailure;
    }
    return std::nullopt;
}

int write_output(const std::optional<std::string>& out, const std::string& text) {
    if (out && *out != "-") {
        // Replacing OUT by renaming would swap a device, pipe or folder for a plain file: refuse.
        struct stat st {};
        if (::stat(out->c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            fail_line("Cannot create file " + printable(*out) + ": not a regular file");
            return kFailure;
        }
        try {
            WriteFileAtomically(*out, text);
        } catch (const std::exception& e) {
            fail_line(printable(e.what()));
            return kFailure;
        }
        return kSuccess;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        fail_line("Cannot write standard output");
        return kFailure;
    }
    return kSuccess;
}

} // namespace tool
