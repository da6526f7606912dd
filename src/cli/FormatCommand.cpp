// format FILE [-o OUT]: the file exactly as the program would save it.
#include "cli/Commands.h"
#include "cli/ToolIo.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"

namespace tool {

int run_format(const CommandLine& line) {
    if (line.operands.size() != 1)
        return usage_error(line.operands.empty() ? "format needs a FILE" : "format takes one FILE");
    TNoxPigger root;
    const LoadResult loaded = load(line.operands.front(), root);
    if (loaded != LoadResult::Intact) return status_of(loaded);
    // A list is written as the program saves it: its days under the key format of this locale.
    if (root.TagName() == todo::kRootTag) {
        adopt_key_format(root);
        record_key_format(root);
    }
    return write_output(line.value("-o"), root.GetText());
}

} // namespace tool
