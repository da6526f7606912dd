// The program's settings: the settings document and its file, and the typed values every window reads.
// Values that are absent or not recognised read as their defaults; only the user's choices write them.
#pragma once

#include "markup/NoxPigger.h"

#include <QObject>
#include <QRect>
#include <QString>
#include <memory>
#include <optional>
#include <string>

class Settings final : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultAutoSave = 240;
    static constexpr int kMinAutoSave = 60;
    static constexpr int kMaxAutoSave = 600;
    static constexpr int kDefaultFirstGridHour = 7;
    static constexpr int kDefaultLastGridHour = 22;

    // Loads the settings file; a missing, empty or broken one starts fresh and is written at once.
    explicit Settings(const QString& fileName, QObject* parent = nullptr);
    ~Settings() override;

    const QString& FileName() const { return fileName_; }
    TNoxPigger& Doc() const { return *doc_; }
    void Load();
    // Writes the document crash-safely to the settings file; a failed write changes nothing.
    bool Save();
    void NewSettings();

    QString DataFileName() const;
    // Sets the data file name and writes the settings file at once.
    void SetDataFileName(const QString& fileName);

    // The interval in seconds when automatic save is on, else -1.
    int AutoSaveSeconds() const;
    // The interval the settings show: the stored one, or 240 when off.
    int AutoSaveInterval() const;
    void SetAutoSave(bool on, int seconds);

    // 0 never, 1 on exit, 2 on each save.
    int BackupMode() const;
    // The same, read from a settings document that no Settings owns (quillmarch-tool's).
    static int BackupModeOf(const TNoxPigger& doc);
    void SetBackupMode(int mode);

    int FirstGridHour() const;
    int LastGridHour() const;
    void SetGridHours(int first, int last);
    bool IsAmPm() const;
    void SetAmPm(bool on);
    // Minutes per hour grid slot: 60, 30 or 15.
    int TimeResolution() const;
    void SetTimeResolution(int minutes);

    // Whether timed items of today announce themselves at their time: on unless turned off.
    bool Remind() const;
    void SetRemind(bool on);

    // The main window's geometry at the last exit, each value on its own.
    struct WindowGeometry {
        std::optional<int> top, left, height, width;
    };
    WindowGeometry StoredWindowGeometry() const;
    void StoreWindowGeometry(const QRect& geometry);

    // The print settings element, created when missing.
    TNoxPigger* PrintSettingsElement();

signals:
    // The user turned reminders on or off.
    void RemindChanged();

private:
    // Moves a broken settings file out of the way before a fresh one takes its name.
    bool SetAsideBrokenFile();
    std::string Attr(const char* name) const;

    QString fileName_;
    std::unique_ptr<TNoxPigger> doc_;
    // A broken file that could not be set aside; it is never written over.
    bool untouchable_ = false;
};
