#include "todo/rules/Settings.h"

#include "todo/rules/TextCodec.h"
#include "todo/rules/TodoRules.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cctype>

namespace {
const char* const kAutoSaveAttr = "AUTO_SAVE_TIME";
const char* const kBackupAttr = "BACKUP_MODE";
const char* const kFirstHourAttr = "H0";
const char* const kLastHourAttr = "H1";
const char* const kAmPmAttr = "AMPM";
const char* const kResolutionAttr = "TIME_RESOLUTION";
const char* const kDataFileAttr = "DATA_FILE_NAME";
const char* const kRemindAttr = "REMIND";

std::string native_path(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

// A stored hour counts only when it is exactly one of the two-digit texts the hour lists offer.
std::optional<int> listed_hour(const std::string& text, int first) {
    if (text.size() != 2 || !std::isdigit(static_cast<unsigned char>(text[0])) ||
        !std::isdigit(static_cast<unsigned char>(text[1])))
        return std::nullopt;
    const int hour = (text[0] - '0') * 10 + (text[1] - '0');
    if (hour < first || hour > 23) return std::nullopt;
    return hour;
}

// The stored integer, surrounding blanks allowed, or nothing when the text is not one.
std::optional<int> int_value(const std::string& text) {
    bool ok = false;
    const int v = to_qstring(text).trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}
} // namespace

Settings::Settings(const QString& fileName, QObject* parent)
    : QObject(parent), fileName_(fileName), doc_(std::make_unique<TNoxPigger>()) {
    Load();
}

Settings::~Settings() = default;

void Settings::Load() {
    untouchable_ = false;
    try {
        doc_->LoadFromFile(native_path(fileName_));
        // An empty file parses to a root without a tag, which would never be written back.
        if (!doc_->TagName().empty()) {
            // A stored interval is kept within its range and written back as the settings show it.
            const std::string stored = Attr(kAutoSaveAttr);
            if (!stored.empty()) SetAutoSave(true, AutoSaveInterval());
            return;
        }
    } catch (...) {
        // Missing, unreadable or broken: start fresh below.
    }
    untouchable_ = !SetAsideBrokenFile();
    NewSettings();
    Save();
}

bool Settings::SetAsideBrokenFile() {
    const QFileInfo info(fileName_);
    if (!info.exists() || !info.isFile() || info.size() == 0) return true; // nothing of the user's to keep
    for (int i = 1; i < 1000; ++i) {
        const QString aside = fileName_ + (i == 1 ? QStringLiteral(".bad") : QStringLiteral(".bad%1").arg(i));
        if (QFileInfo::exists(aside)) continue;
        return QFile::rename(fileName_, aside);
    }
    return false;
}

bool Settings::Save() {
    if (untouchable_) return false;
    try {
        doc_->SaveToFile(native_path(fileName_));
        return true;
    } catch (...) {
        // The settings stay in memory and are written again at the next save moment.
        return false;
    }
}

void Settings::NewSettings() {
    doc_->Clear();
    doc_->SetTagName("SETTINGS");
}

std::string Settings::Attr(const char* name) const {
    return doc_->GetAttr(name);
}

QString Settings::DataFileName() const {
    return to_qstring(Attr(kDataFileAttr));
}

void Settings::SetDataFileName(const QString& fileName) {
    doc_->SetAttr(kDataFileAttr, from_qstring(fileName));
    Save();
}

int Settings::AutoSaveInterval() const {
    const std::string stored = Attr(kAutoSaveAttr);
    if (stored.empty()) return kDefaultAutoSave;
    bool ok = false;
    const qlonglong v = to_qstring(stored).trimmed().toLongLong(&ok);
    if (!ok) return kDefaultAutoSave;
    return static_cast<int>(std::clamp<qlonglong>(v, kMinAutoSave, kMaxAutoSave));
}

int Settings::AutoSaveSeconds() const {
    return Attr(kAutoSaveAttr).empty() ? -1 : AutoSaveInterval();
}

void Settings::SetAutoSave(bool on, int seconds) {
    if (on)
        doc_->SetAttr(kAutoSaveAttr, std::to_string(std::clamp(seconds, kMinAutoSave, kMaxAutoSave)));
    else
        doc_->DeleteAttr(kAutoSaveAttr);
}

int Settings::BackupMode() const {
    return BackupModeOf(*doc_);
}

int Settings::BackupModeOf(const TNoxPigger& doc) {
    const std::string mode = doc.GetAttr(kBackupAttr);
    return mode == "1" ? 1 : mode == "2" ? 2 : 0;
}

void Settings::SetBackupMode(int mode) {
    doc_->SetAttr(kBackupAttr, std::to_string(mode));
}

int Settings::FirstGridHour() const {
    return listed_hour(Attr(kFirstHourAttr), 0).value_or(kDefaultFirstGridHour);
}

int Settings::LastGridHour() const {
    return listed_hour(Attr(kLastHourAttr), 1).value_or(kDefaultLastGridHour);
}

void Settings::SetGridHours(int first, int last) {
    doc_->SetAttr(kFirstHourAttr, todo::two_digits(first));
    doc_->SetAttr(kLastHourAttr, todo::two_digits(last));
}

bool Settings::IsAmPm() const {
    return Attr(kAmPmAttr) == "Y";
}

void Settings::SetAmPm(bool on) {
    if (on)
        doc_->SetAttr(kAmPmAttr, "Y");
    else
        doc_->DeleteAttr(kAmPmAttr);
}

int Settings::TimeResolution() const {
    const std::string r = Attr(kResolutionAttr);
    return r == "30" ? 30 : r == "15" ? 15 : 60;
}

void Settings::SetTimeResolution(int minutes) {
    if (minutes == 30 || minutes == 15)
        doc_->SetAttr(kResolutionAttr, std::to_string(minutes));
    else
        doc_->DeleteAttr(kResolutionAttr);
}

bool Settings::Remind() const {
    // Absent, as in every file older than the setting, or unknown: on.
    return Attr(kRemindAttr) != "N";
}

void Settings::SetRemind(bool on) {
    const bool was = Remind();
    doc_->SetAttr(kRemindAttr, on ? "Y" : "N");
    if (was != on) emit RemindChanged();
}

Settings::WindowGeometry Settings::StoredWindowGeometry() const {
    return {int_value(Attr("TOP")), int_value(Attr("LEFT")), int_value(Attr("HEIGHT")),
            int_value(Attr("WIDTH"))};
}

void Settings::StoreWindowGeometry(const QRect& geometry) {
    doc_->SetAttr("WIDTH", std::to_string(geometry.width()));
    doc_->SetAttr("HEIGHT", std::to_string(geometry.height()));
    doc_->SetAttr("LEFT", std::to_string(geometry.x()));
    doc_->SetAttr("TOP", std::to_string(geometry.y()));
}

TNoxPigger* Settings::PrintSettingsElement() {
    return todo::find_or_add_child(doc_.get(), "PRINT_SETTINGS");
}
