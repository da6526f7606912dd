// What print_report answers. Zero is a report printed (or previewed) as written; every failure is negative.
#pragma once

#include <cstdint>

namespace PrintResult {
constexpr int32_t kDone = 0;
// No Qt application to run in, or called off its thread.
constexpr int32_t kNoApplication = -1;
// The report file is missing, unreadable, not a plain file, or empty.
constexpr int32_t kCannotRead = -2;
// The file is not report markup, or breaks off; whatever came before the break is still drawn.
constexpr int32_t kNotAReport = -3;
// The report was drawn, but parts of it were unknown or malformed and were left out.
constexpr int32_t kFlawed = -4;
// The PDF file or the printer could not be written.
constexpr int32_t kOutputFailed = -5;
// More elements, nesting, bytes or pages than any report of ours can have: nothing is drawn.
constexpr int32_t kTooLarge = -6;
// A print is already running in this process.
constexpr int32_t kBusy = -7;
// An option this library does not know.
constexpr int32_t kUnknownOption = -8;
} // namespace PrintResult
