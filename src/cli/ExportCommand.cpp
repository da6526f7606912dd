// export FILE --format ics|csv [-o OUT]: the list's items for a calendar or a spreadsheet.
#include "cli/Commands.h"
#include "cli/ExportFormats.h"
#include "cli/ToolIo.h"

#include <QDateTime>

namespace tool {

namespace {

// When the export is made; SOURCE_DATE_EPOCH (seconds since 1970) fixes it, for output that has to be
// the same on every run.
QDateTime export_time() {
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    if (ok && epoch >= 0 && epoch < 253402300800) return QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC);
    return QDateTime::currentDateTimeUtc();
}

} // namespace

int run_export(const CommandLine& line) {
    if (line.operands.size() != 1)
        return usage_error(line.operands.empty() ? "export needs a FILE" : "export takes one FILE");
    const std::optional<std::string> format = line.value("--format");
    if (!format) return usage_error("export needs --format ics or --format csv");
    if (*format != "ics" && *format != "csv")
        return usage_error("unknown format '" + printable(*format) + "': give ics or csv");

    TNoxPigger root;
    if (const std::optional<int> failed = load_list(line.operands.front(), root)) return *failed;
    const std::vector<ListedItem> items = listed_items(root);
    return write_output(line.value("-o"),
                        *format == "ics" ? icalendar_text(items, export_time()) : csv_text(items));
}

} // namespace tool
