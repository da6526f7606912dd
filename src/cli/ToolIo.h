// What every command of quillmarch-tool shares: its messages, reading a file the way the program loads it,
// and writing a result to standard output or replacing a file in one step.
#pragma once

#include "markup/NoxPigger.h"

#include <optional>
#include <string>

namespace tool {

inline constexpr const char* kToolName = "quillmarch-tool";

// Exit statuses: a broken file is the answer to a question, everything else is a failure to ask it.
inline constexpr int kSuccess = 0;
inline constexpr int kSomeBroken = 1;
inline constexpr int kFailure = 2;

// File names and texts go into one-line messages: a control character must not break the line.
std::string printable(const std::string& text);
// "quillmarch-tool: MESSAGE" on standard error.
void fail_line(const std::string& message);
// The same with a pointer to the help; returns kFailure.
int usage_error(const std::string& message);
// The name a message gives a FILE argument ("-" is standard input).
std::string display_name(const std::string& arg);

enum class LoadResult { Intact, Broken, Failed };
// Loads a file (or standard input for "-") the way the program loads any of its files. A broken file
// gets the check message "FILE:LINE:COLUMN: MESSAGE (position N)", a file that cannot be read a one-line
// message. A 0-byte file is intact and leaves the root without a tag.
LoadResult load(const std::string& arg, TNoxPigger& root);
// The exit status for a load that did not give an intact file.
int status_of(LoadResult result);

// Loads a to-do list: an intact file whose root is TODO_DATA, or an empty file (an empty list, as the
// program takes it). Anything else has had its message; the status to exit with is returned.
std::optional<int> load_list(const std::string& arg, TNoxPigger& root);

// Writes text to standard output (out empty or "-") or replaces the file out in one step (a temporary
// file beside it, flushed, renamed). A folder, device or pipe is refused. Returns the exit status.
int write_output(const std::optional<std::string>& out, const std::string& text);

} // namespace tool
