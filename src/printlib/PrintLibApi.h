// The two functions the print dialogs look up in libprnrepnoxua.so. Everything else in the library is
// hidden, so that its own copies of the markup code cannot meet the program's.
#pragma once

#include <cstdint>

#define QM_PRINTLIB_EXPORT __attribute__((visibility("default")))

extern "C" {
// Prints the report markup file (8-bit file name). Option 0 shows a print preview and returns when it
// closes; with QUILLMARCH_PRINT_PDF naming a file, the pages are written there and nothing is shown.
// Answers 0, or a negative value (see PrintResult.h) when the report could not be printed as written.
QM_PRINTLIB_EXPORT int32_t print_report(const char* file, int32_t option);
// Above 0 while a print is under way.
QM_PRINTLIB_EXPORT int32_t has_active_processes();
}
