// check FILE...: loads each file the way the program does and reports the broken ones.
#include "cli/Commands.h"
#include "cli/ToolIo.h"

namespace tool {

int run_check(const CommandLine& line) {
    if (line.operands.empty()) return usage_error("check needs at least one FILE");
    bool broken = false;
    bool failed = false;
    for (const std::string& f : line.operands) {
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
    return failed ? kFailure : broken ? kSomeBroken : kSuccess;
}

} // namespace tool
