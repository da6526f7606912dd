// The open to-do list: its document, the file it lives in, loading and saving with the backup, switching
// to another file, and the automatic save's schedule. Windows keep references into the document: they are
// told before its content is replaced, and asked to write back their pending edits before every save.
#pragma once

#include "markup/NoxPigger.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

class Settings;

class TodoList final : public QObject {
    Q_OBJECT
public:
    TodoList(Settings& settings, const QString& defaultFileName, QObject* parent = nullptr);
    ~TodoList() override;

    // The document's root: one element for the whole run, whose content loads replace.
    TNoxPigger& Doc() const { return *doc_; }
    // The data file: the setting when it names one, else the default file.
    QString FileName() const;
    const QString& DefaultFileName() const { return defaultFileName_; }

    enum class LoadResult { Loaded, Created, WrongFormat };
    // Loads the current file. A missing or empty file gives an empty list, saved at once. A file that does
    // not load leaves an empty list that is never saved, and the setting names the default file again.
    LoadResult Load();
    // An empty list.
    void NewDocument();

    // Writes the document, with a backup of the old file first when BackupOnSave. Returns whether it
    // reached the disk; LastSaveError says why not.
    bool SaveTo(const QString& fileName);
    // Has the windows write back their edits, then saves to the current file.
    bool Save();

    enum class SwitchResult { Switched, NotSaved, WrongFormat };
    // Saves the open list, then makes another file current and loads it. When that save fails nothing
    // changes.
    SwitchResult Open(const QString& fileName);
    // Saves the open list into another file, which becomes current, and reads it back. When that save
    // fails the old file stays current.
    SwitchResult SaveAs(const QString& fileName);

    // Every change of the document counts up; whoever changes it outside a load says so here.
    quint64 Revision() const { return revision_; }
    void NoteChange();

    // Automatic save: armed from the settings when on; each automatic save re-arms from its own end.
    void ArmAutoSave();
    void StopAutoSave();
    // The automatic save's timer event.
    void AutoSave();
    QTimer* AutoSaveTimer() { return &autoSaveTimer_; }

    // Whether the next save keeps the old file as the backup first.
    bool BackupOnSave = false;
    // Set once a file of the wrong format was met: the program is ending and nothing is saved any more.
    bool NoSaveOnExit = false;
    // Why the last save did not reach the disk; empty after a successful one.
    QString LastSaveError;

signals:
    // Before every save: windows write their pending edits into the document.
    void WriteBack();
    // Before the document's content is replaced: windows drop every reference into it.
    void AboutToReplace();
    // After every save through Save, whether it reached the disk.
    void Saved(bool ok);
    // An automatic save did not reach the disk.
    void AutoSaveFailed();
    // The document changed (an edit, or a load replacing it).
    void Changed();

private:
    Settings& settings_;
    QString defaultFileName_;
    std::unique_ptr<TNoxPigger> doc_;
    QTimer autoSaveTimer_;
    bool autoSaveRunning_ = false; // the automatic save's lock
    quint64 revision_ = 0;
};
