// The commands of quillmarch-tool, one source file each. Each takes the parsed command line (whose
// options the command takes) and returns the exit status.
#pragma once

#include "cli/CommandLine.h"

namespace tool {

int run_check(const CommandLine& line);
int run_format(const CommandLine& line);
int run_list(const CommandLine& line);
int run_add(const CommandLine& line);
int run_export(const CommandLine& line);

} // namespace tool
