// Bounds on what a report may ask for, so that no file can make the library hang or eat memory.
// A day of a thousand items with long descriptions stays far below every one of them.
#pragma once

#include <cstdint>

namespace ReportLimits {
constexpr int64_t kMaxFileBytes = 64 * 1024 * 1024;
constexpr int kMaxElements = 200'000;
constexpr int kMaxDepth = 64;
constexpr int kMaxPages = 10'000;
// Lengths beyond this are clamped: nothing on a page is a metre long.
constexpr double kMaxLengthMm = 1000.0;
constexpr double kMaxBorderMm = 10.0;
constexpr double kMinFontPoints = 1.0;
constexpr double kMaxFontPoints = 400.0;
constexpr int kMaxLabelChars = 100'000;
constexpr int64_t kMaxImagePixels = 40'000'000;
// Only the first few problems are kept as messages; the count goes on.
constexpr int kMaxProblemMessages = 50;
} // namespace ReportLimits
