// The open to-do list: its document, the file it lives in, loading and saving with the backup, switching
// to another file, the automatic save's schedule, and the recovery copy that keeps unsaved changes safe
// from a crash. Windows keep references into the document: they are told before its content is replaced,
// and asked to write back their pending edits before every save.
#pragma once

#include "markup/NoxPigger.h"
#include "todo/rules/DataFileLock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

class Settings;

class TodoList final : public QObject {
    Q_OBJECT
public:
    // The recovery copies live in recoveryFolder, one per data file.
    TodoList(Settings& settings, const QString& defaultFileName, const QString& recoveryFolder = {},
             QObject* parent = nullptr);
    ~TodoList() override;

    // The document's root: one element for the whole run, whose content loads replace.
    TNoxPigger& Doc() const { return *doc_; }
    // The data file: the setting when it names one, else the default file.
    QString FileName() const;
    const QString& DefaultFileName() const { return defaultFileName_; }

    enum class LoadResult {
        Loaded,
        // Missing or empty: an empty list, saved at once.
        Created,
        // Does not parse, or holds no element (a damaged file): an empty list that is never saved, and
        // the setting names the default file again.
        WrongFormat,
        // Exists but cannot be read: LoadError says why. Nothing is saved, the setting stays.
        Unreadable,
        // A link whose target is missing (a drive not mounted yet): an empty list that is not saved to that
        // name; LoadError says so.
        DanglingLink,
    };
    LoadResult Load();
    // What the last load has to tell: why it failed, and a note for the status bar (days re-keyed).
    QString LoadError;
    QString LoadNote;
    // The time of a recovery copy the last load found left behind (see LeftRecovery).
    std::optional<QDateTime> RecoveryAtLoad;
    // After a wrong-format file: whether its backup exists and loads, and restoring it. The broken file is
    // kept as NAME.broken (numbered, never written over), the backup's content becomes the data file, and
    // the setting names it again; the caller then loads it.
    bool BackupRestorable() const;
    bool RestoreBackup();
    // An empty list.
    void NewDocument();

    // Writes the document, with a backup of the old file first when BackupOnSave; a file that already
    // holds the document's text is left alone. Returns whether it reached the disk; LastSaveError says
    // why not.
    bool SaveTo(const QString& fileName);
    // Has the windows write back their edits, then saves to the current file. A save the user did not
    // ask for must not change what the user sees: windows then keep open edits open.
    enum class SaveKind { User, Automatic };
    bool Save(SaveKind kind = SaveKind::User);

    enum class SwitchResult {
        Switched,
        // The open list could not be saved: nothing changed; LastSaveError says why.
        NotSaved,
        // The other file cannot be read, or is the settings file: nothing changed; LoadError says why.
        Refused,
    };
    // Saves the open list, then makes another file current and loads it (LastLoad says how that went).
    // When that save fails nothing changes.
    SwitchResult Open(const QString& fileName);
    // Saves the open list into another file, which becomes current, and reads it back. When that save
    // fails the old file stays current.
    SwitchResult SaveAs(const QString& fileName);
    LoadResult LastLoad = LoadResult::Created;

    // Every change of the document counts up. An edit of the user's also marks the list modified until
    // the next save; bookkeeping (a day element made for a visit, an empty description made for a
    // selection) only counts.
    enum class Change { Edit, Bookkeeping };
    quint64 Revision() const { return revision_; }
    void NoteChange(Change kind = Change::Edit);
    bool IsModified() const { return modified_; }

    // Automatic save: armed from the settings when on; each automatic save re-arms from its own end.
    void ArmAutoSave();
    void StopAutoSave();
    // The automatic save's timer event.
    void AutoSave();
    QTimer* AutoSaveTimer() { return &autoSaveTimer_; }

    // The recovery copy of the current data file: written crash-safely while the list has unsaved
    // changes, at most once per RecoveryDelayMs and within that time of a change; removed by a save.
    QString RecoveryFileName() const;
    int RecoveryDelayMs = 10000;
    // The time of a recovery copy left by a run that did not end normally and newer than the data file.
    std::optional<QDateTime> LeftRecovery() const;
    // The recovered document becomes the current list, marked modified. False when it does not load.
    bool RestoreRecovery();
    // Renames the recovery copy with the ending ".discarded" (replacing an older one), so nothing the user
    // typed is deleted without a trace.
    void DiscardRecovery();
    // Writes the recovery copy now, when there is something unsaved.
    void WriteRecovery();
    // The program ends normally with the list saved: no recovery copy is needed any more.
    void RemoveRecovery();

    // Whether the next save keeps the old file as the backup first.
    bool BackupOnSave = false;
    // Set once a file of the wrong format was met: the program is ending and nothing is saved any more.
    bool NoSaveOnExit = false;
    // The settings file, which can never be a list: both would be written to it.
    QString SettingsFileName;
    // Why the last save did not reach the disk; empty after a successful one.
    QString LastSaveError;

signals:
    // Before every save and recovery copy: windows write their pending edits into the document. Quietly:
    // nothing the user sees may change (an open edit stays open, its text going in as it stands).
    void WriteBack(bool quietly);
    // Before the document's content is replaced: windows drop every reference into it.
    void AboutToReplace();
    // After every save through Save, whether it reached the disk.
    void Saved(bool ok);
    // An automatic save did not reach the disk.
    void AutoSaveFailed();
    // The document changed (an edit, bookkeeping, or a load replacing it).
    void Changed();
    // The list got unsaved changes, or lost them by a save or a load.
    void ModifiedChanged(bool modified);

private:
    LoadResult LoadFile();
    // An empty list, the windows told already.
    void ClearDocument();
    // Why a file cannot become the list, or nothing when it can.
    std::optional<QString> Unusable(const QString& fileName) const;
    void SetModified(bool modified);
    void ScheduleRecovery();

    Settings& settings_;
    QString defaultFileName_;
    // The wrong-format file and the setting that named it, while its backup may still be restored.
    QString failedFile_;
    QString failedSetting_;
    // A dangling link the list must not be saved to in this run.
    QString detachedFrom_;
    QString recoveryFolder_;
    std::unique_ptr<TNoxPigger> doc_;
    // Held on the current data file from its load until another becomes current or the list goes.
    DataFileLock fileLock_;
    QTimer autoSaveTimer_;
    QTimer recoveryTimer_;
    QElapsedTimer sinceRecovery_;
    bool autoSaveRunning_ = false; // the automatic save's lock
    bool writingRecovery_ = false;
    bool modified_ = false;
    quint64 revision_ = 0;
};
