// quillmarch-tool: checks, lists, adds to and exports Quillmarch data files from the command line, for
// people who keep their lists in scripts, calendars, spreadsheets and backups.
#include "cli/Commands.h"
#include "cli/ToolIo.h"

#include <QCoreApplication>
#include <QLocale>

#include <cstdio>
#include <exception>

#ifndef QM_VERSION
#define QM_VERSION "unknown"
#endif

namespace {

using namespace tool;

constexpr const char* kHelp =
    R"help(Usage: quillmarch-tool check FILE...
       quillmarch-tool format FILE [-o OUT]
       quillmarch-tool list FILE [--date DATE | --from DATE --to DATE] [--independent] [--undone]
       quillmarch-tool add FILE (--date DATE | --independent) [--time HH:MM] [--picture N] TEXT
       quillmarch-tool export FILE --format ics|csv [-o OUT]
Checks, lists, adds to and exports Quillmarch data files (.dat) and settings files (.set).
Dates are given and shown as yyyy-MM-dd, whatever date format the list's days are written in.

Commands:
  check FILE...   Load each file. Prints nothing when all are intact; for each broken
                  file prints "FILE:LINE:COLUMN: MESSAGE (position N)" on standard error.
  format FILE     Write FILE exactly as Quillmarch saves it, to standard output or to OUT.
                  The days of a list are written in the date format of the locale.
  list FILE       Print one line per item, in the list's order:
                  DATE<TAB>TIME<TAB>DONE<TAB>TEXT. DATE is empty for a date-independent
                  item, TIME is HH:MM or empty, DONE is "x" for a done item (ticked in
                  Quillmarch's day list). Tabs and line breaks in a text become spaces.
                  Without --date, --from, --to or --independent every item is listed.
  add FILE TEXT   Append an item with the text to the end of a day, as Quillmarch's "Add"
                  does, and save the list as Quillmarch saves it. Refused while a running
                  Quillmarch has the list open.
  export FILE     Write the items as iCalendar (one VTODO each; a date-independent item
                  has no due date) or as CSV with a header row, both UTF-8.

Options:
  -o OUT           format, export: write to OUT instead of standard output ("-" is
                   standard output); OUT is replaced in one step, never left half-written
  --date DATE      list: the items of that day; add: the day to add to
  --from DATE      list: the items of that day and later ones
  --to DATE        list: the items of that day and earlier ones
  --independent    list: the date-independent items (as well as those of --date, --from,
                   --to); add: add to the date-independent list
  --undone         list: only the items that are not done
  --time HH:MM     add: place the item on the hour grid at that time, as the TV-show
                   reminder does (with its television picture unless --picture is given)
  --picture N      add: the item's picture, 0-35 (0 when not given, 35 with --time)
  --backup         add: keep the file's previous content as its backup, the file's name
                   with the extension .BAK (todo.dat gives todo.BAK)
  --no-backup      add: make no backup
  --settings SET   add: follow the backup setting of the settings file SET. Without these
                   three options the setting of the Quillmarch beside this tool is used
                   (a backup for "On exit" and "On each save")
  --format ics|csv export: the format
  --locale NAME    the locale whose date format Quillmarch runs under (default: LANG):
                   format and add write a list's days in it, list and export read the
                   days of a list that does not record its format in it
  --help           show this help and exit
  --version        show the version and exit
A FILE of "-" reads standard input (not for add). "--" ends the options.

Exit status: 0 done (all files intact), 1 a file is broken, 2 bad usage, a bad date,
time or picture, a file that cannot be read or written, or a list Quillmarch has open.
)help";

int run(const std::vector<std::string>& args) {
    // Help and version win wherever they stand before "--".
    for (const std::string& a : args) {
        if (a == "--") break;
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return kSuccess;
        }
        if (a == "--version") {
            std::printf("%s %s\n", kToolName, QM_VERSION);
            return kSuccess;
        }
    }

    CommandLine line;
    if (const std::optional<std::string> message = CommandLine::Parse(args, line))
        return usage_error(*message);
    if (!line.command) return usage_error("missing command");
    using Command = int (*)(const CommandLine&);
    const std::pair<const char*, Command> commands[] = {{"check", run_check},
                                                        {"format", run_format},
                                                        {"list", run_list},
                                                        {"add", run_add},
                                                        {"export", run_export}};
    Command command = nullptr;
    for (const auto& [name, run] : commands)
        if (*line.command == name) command = run;
    if (!command) return usage_error("unknown command '" + printable(*line.command) + "'");
    if (const std::optional<std::string> message = line.ForeignOption()) return usage_error(*message);

    if (const std::optional<std::string> name = line.value("--locale")) {
        const QLocale locale(QString::fromStdString(*name));
        // An unknown name gives the C locale; only a name of it may.
        if (locale.language() == QLocale::C && *name != "C" && *name != "POSIX" && name->rfind("C.", 0) != 0)
            return usage_error("unknown locale '" + printable(*name) + "'");
        QLocale::setDefault(locale);
    }
    return command(line);
}

} // namespace

int main(int argc, char** argv) {
    // The names the program runs under, so the tool finds the program's settings where the program keeps
    // them.
    QCoreApplication::setOrganizationName(QStringLiteral("quillmarch"));
    QCoreApplication::setApplicationName(QStringLiteral("quillmarch"));
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        // Running out of memory on a huge file is a failure to read it, not a crash.
        fail_line(printable(e.what()));
        return kFailure;
    }
}
