// add FILE --date DATE|--independent [--time HH:MM] [--picture N] TEXT: appends an item the way the main
// window's Add does (and, given a time, the way the TV-show reminder does), and saves the list the way
// the program saves it, backup and all.
#include "cli/Commands.h"
#include "cli/ListedItems.h"
#include "cli/ToolIo.h"
#include "todo/rules/DataFileLock.h"
#include "todo/rules/DataFileSave.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/ProgramPaths.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TodoRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace tool {

namespace {

// Another add on the same list finishes within milliseconds; Quillmarch keeps its list for hours.
constexpr int kLockWaitMs = 500;

struct NewItem {
    std::string key;
    std::string text;
    std::optional<ItemTime> time;
    int picture = todo::kNewItemPicture;
};

// Reads the item from the command line; a message and nothing when any part of it is wrong.
std::optional<NewItem> new_item(const CommandLine& line) {
    NewItem item;
    const std::optional<std::string> date = line.value("--date");
    if (date.has_value() == line.has("--independent")) {
        usage_error("add needs --date DATE or --independent");
        return std::nullopt;
    }
    if (date) {
        const std::optional<QDate> day = parse_iso_date(*date);
        if (!day) {
            fail_line("Cannot read the date '" + printable(*date) + "': give it as yyyy-MM-dd");
            return std::nullopt;
        }
        item.key = render_day_key(*day);
    } else {
        item.key = kDateIndependentKey;
    }
    if (const std::optional<std::string> time = line.value("--time")) {
        if (!date) {
            usage_error("--time needs --date: the date-independent list has no hour grid");
            return std::nullopt;
        }
        bool outOfRange = false;
        item.time = parse_time(*time, &outOfRange);
        if (!item.time) {
            fail_line(outOfRange
                          ? "The time " + printable(*time) + " is out of range: hours 00-23, minutes 00-59"
                          : "Cannot read the time '" + printable(*time) + "': give it as HH:MM");
            return std::nullopt;
        }
        // A timed item is filed as the TV-show reminder files one.
        item.picture = todo::kTvShowPicture;
    }
    if (const std::optional<std::string> picture = line.value("--picture")) {
        const std::optional<int> index = todo::parse_int(*picture);
        if (!index || *index < 0 || *index >= todo::kPictureCount) {
            fail_line("The picture '" + printable(*picture) + "' is not one of 0-" +
                      std::to_string(todo::kPictureCount - 1));
            return std::nullopt;
        }
        item.picture = *index;
    }
    if (line.operands.size() != 2) {
        usage_error(line.operands.size() < 2 ? "add needs a FILE and a TEXT"
                                             : "add takes one TEXT (quote it)");
        return std::nullopt;
    }
    item.text = line.operands[1];
    // Blank is what the TV-show reminder refuses, and what a script's empty variable gives.
    if (std::all_of(item.text.begin(), item.text.end(),
                    [](char c) { return static_cast<unsigned char>(c) <= 32; })) {
        fail_line("The TEXT is blank");
        return std::nullopt;
    }
    if (item.text.find_first_of("\r\n") != std::string::npos) {
        fail_line("The TEXT is one line: an item's text holds no line breaks");
        return std::nullopt;
    }
    return item;
}

// The settings file beside the Quillmarch this tool was installed with: the program file is next to ours.
QString program_settings_file() {
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (self.isEmpty()) return {};
    return existing_settings_file(QFileInfo(self).dir().filePath(QStringLiteral("quillmarch")));
}

// Whether to keep the old file as the backup. The add is a whole session from load to exit, so the
// backup follows the rule of the program's save at exit: made for "On exit" and "On each save".
std::optional<bool> backup_wanted(const CommandLine& line) {
    if (line.has("--backup") && line.has("--no-backup")) {
        usage_error("give --backup or --no-backup, not both");
        return std::nullopt;
    }
    if (line.has("--backup")) return true;
    if (line.has("--no-backup")) return false;
    const std::optional<std::string> named = line.value("--settings");
    const QString file = named ? QFile::decodeName(named->c_str()) : program_settings_file();
    if (file.isEmpty()) return false;
    TNoxPigger settings;
    try {
        settings.LoadFromFile(QFile::encodeName(file).toStdString());
    } catch (const std::exception& e) {
        // The program starts over with the default settings (no backup) from a settings file it cannot
        // read; one named on purpose is a mistake to report.
        if (!named) return false;
        fail_line("Cannot read the settings file " + printable(*named) + ": " + printable(e.what()));
        return std::nullopt;
    }
    const int mode = Settings::BackupModeOf(settings);
    return mode == 1 || mode == 2;
}

} // namespace

int run_add(const CommandLine& line) {
    if (line.operands.empty()) return usage_error("add needs a FILE and a TEXT");
    const std::string& file = line.operands.front();
    if (file == "-") return usage_error("add writes its FILE: standard input cannot be one");
    const std::optional<NewItem> item = new_item(line);
    if (!item) return kFailure;
    const std::optional<bool> backup = backup_wanted(line);
    if (!backup) return kFailure;

    const QString name = QFile::decodeName(file.c_str());
    // Held from reading to writing: a Quillmarch with the list open would write its own copy over ours.
    DataFileLock lock;
    if (lock.Lock(name, kLockWaitMs) == DataFileLock::Result::Busy) {
        fail_line(
            "Quillmarch has this list open; add the item there, or close Quillmarch and run the command "
            "again");
        return kFailure;
    }
    // A recovery copy newer than the file holds changes Quillmarch has yet to offer back; a newer file
    // would make it think the copy outdated.
    if (left_recovery_time(recovery_file_name(recovery_folder(), name), name)) {
        fail_line(
            "Quillmarch ended without saving its last changes to this list; start Quillmarch to recover "
            "or discard them, then run the command again");
        return kFailure;
    }

    TNoxPigger root;
    if (const std::optional<int> failed = load_list(file, root)) return *failed;
    // As the program reads and writes a list: its days in the key format of this locale.
    adopt_key_format(root);
    TNoxPigger* added = todo::find_or_create_day(root, item->key)->AddChild(todo::kItemTag);
    added->SetAttr(todo::kCaptionAttr, item->text);
    if (item->time) todo::set_item_time(*added, item->time->hour, item->time->minute);
    added->SetAttr(todo::kIndexAttr, std::to_string(item->picture));
    record_key_format(root);

    QString error;
    if (!save_data_file(root, name, *backup, &error)) {
        fail_line(printable(error.toStdString()));
        return kFailure;
    }
    return kSuccess;
}

} // namespace tool
