// list FILE [--date DATE | --from DATE --to DATE] [--undone] [--independent]: one line per item,
// DATE TAB TIME TAB DONE TAB TEXT, in document order.
#include "cli/Commands.h"
#include "cli/ListedItems.h"
#include "cli/ToolIo.h"
#include "todo/rules/TodoRules.h"

#include <algorithm>

namespace tool {

namespace {

// A text in a field of a tab-separated line: tabs and line breaks would split the item.
std::string field(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

// The date an option gives, or a message on why it gives none.
std::optional<QDate> date_option(const CommandLine& line, const char* option, int& status) {
    const std::optional<std::string> text = line.value(option);
    if (!text) return std::nullopt;
    const std::optional<QDate> date = parse_iso_date(*text);
    if (!date) {
        fail_line(std::string("Cannot read the date '") + printable(*text) + "' of " + option +
                  ": give it as yyyy-MM-dd");
        status = kFailure;
    }
    return date;
}

} // namespace

int run_list(const CommandLine& line) {
    if (line.operands.size() != 1)
        return usage_error(line.operands.empty() ? "list needs a FILE" : "list takes one FILE");
    if (line.has("--date") && (line.has("--from") || line.has("--to")))
        return usage_error("give --date or --from/--to, not both");
    int status = kSuccess;
    std::optional<QDate> from = date_option(line, "--date", status);
    std::optional<QDate> to = from;
    if (!from) {
        from = date_option(line, "--from", status);
        to = date_option(line, "--to", status);
    }
    if (status != kSuccess) return status;
    if (from && to && *from > *to) {
        fail_line("--from " + iso_date(*from) + " is after --to " + iso_date(*to));
        return kFailure;
    }

    TNoxPigger root;
    if (const std::optional<int> failed = load_list(line.operands.front(), root)) return *failed;

    // Dates asked for, the date-independent list asked for, or everything when neither is.
    const bool byDate = from || to;
    const bool independent = line.has("--independent");
    const bool undone = line.has("--undone");
    std::string out;
    for (const ListedItem& listed : listed_items(root)) {
        const bool dated = listed.kind == ListedItem::Day::Dated;
        const bool wanted =
            (!byDate && !independent) ||
            (byDate && dated && (!from || listed.date >= *from) && (!to || listed.date <= *to)) ||
            (independent && listed.kind == ListedItem::Day::Independent);
        if (!wanted || (undone && is_done(*listed.item))) continue;
        if (dated)
            out += iso_date(listed.date);
        else if (listed.kind == ListedItem::Day::Unknown)
            out += field(listed.Key());
        out += '\t';
        if (const std::optional<ItemTime> time = item_time(*listed.item)) out += time_text(*time);
        out += '\t';
        if (is_done(*listed.item)) out += 'x';
        out += '\t';
        out += field(todo::item_text(*listed.item));
        out += '\n';
    }
    return write_output(std::nullopt, out);
}

} // namespace tool
