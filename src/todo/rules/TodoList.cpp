#include "todo/rules/TodoList.h"

#include "todo/rules/DataFileSave.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TodoRules.h"

#include <QFile>
#include <QFileInfo>

TodoList::TodoList(Settings& settings, const QString& defaultFileName, QObject* parent)
    : QObject(parent), settings_(settings), defaultFileName_(defaultFileName),
      doc_(std::make_unique<TNoxPigger>()) {
    BackupOnSave = settings_.BackupMode() == 2;
    autoSaveTimer_.setObjectName(QStringLiteral("Timer_auto_save"));
    autoSaveTimer_.setSingleShot(true);
    connect(&autoSaveTimer_, &QTimer::timeout, this, &TodoList::AutoSave);
}

TodoList::~TodoList() = default;

QString TodoList::FileName() const {
    const QString name = settings_.DataFileName();
    return name.isEmpty() ? defaultFileName_ : name;
}

void TodoList::NewDocument() {
    doc_->Clear();
    doc_->SetTagName(todo::kRootTag);
    NoteChange();
}

void TodoList::NoteChange() {
    ++revision_;
    emit Changed();
}

TodoList::LoadResult TodoList::Load() {
    const QString name = FileName();
    emit AboutToReplace();
    try {
        doc_->LoadFromFile(QFile::encodeName(name).toStdString());
        // An empty file holds no element; it would never save what is added to it.
        if (!doc_->TagName().empty()) {
            NoteChange();
            return LoadResult::Loaded;
        }
    } catch (const std::exception&) {
    }

    NewDocument();
    const QFileInfo info(name);
    if (info.exists() && !(info.isFile() && info.size() == 0)) {
        // Set before anyone is told: while a message is open, timers and menus still run, and none of
        // them may write the empty list over the file that failed, nor over the default file.
        NoSaveOnExit = true;
        settings_.SetDataFileName(defaultFileName_);
        return LoadResult::WrongFormat;
    }
    SaveTo(name);
    return LoadResult::Created;
}

bool TodoList::SaveTo(const QString& fileName) {
    if (NoSaveOnExit) {
        LastSaveError = QStringLiteral("The program is ending without saving.");
        return false;
    }
    QString error;
    const bool ok = save_data_file(*doc_, fileName, BackupOnSave, &error);
    LastSaveError = ok ? QString() : error;
    return ok;
}

bool TodoList::Save() {
    emit WriteBack();
    const bool ok = SaveTo(FileName());
    emit Saved(ok);
    return ok;
}

TodoList::SwitchResult TodoList::Open(const QString& fileName) {
    // Restoring the backup: the save before the switch must not replace the backup being opened.
    const bool openingOwnBackup =
        QFileInfo(fileName).absoluteFilePath() == QFileInfo(backup_file_name(FileName())).absoluteFilePath();
    const bool backup = BackupOnSave;
    if (openingOwnBackup) BackupOnSave = false;
    const bool saved = Save();
    BackupOnSave = backup;
    if (!saved) return SwitchResult::NotSaved;
    settings_.SetDataFileName(fileName);
    return Load() == LoadResult::WrongFormat ? SwitchResult::WrongFormat : SwitchResult::Switched;
}

TodoList::SwitchResult TodoList::SaveAs(const QString& fileName) {
    const QString previous = settings_.DataFileName();
    settings_.SetDataFileName(fileName);
    if (!Save()) {
        settings_.SetDataFileName(previous);
        return SwitchResult::NotSaved;
    }
    return Load() == LoadResult::WrongFormat ? SwitchResult::WrongFormat : SwitchResult::Switched;
}

void TodoList::ArmAutoSave() {
    const int seconds = settings_.AutoSaveSeconds();
    if (seconds >= 0)
        autoSaveTimer_.start(seconds * 1000);
    else
        autoSaveTimer_.stop();
}

void TodoList::StopAutoSave() {
    autoSaveTimer_.stop();
}

void TodoList::AutoSave() {
    autoSaveTimer_.stop();
    // Ending after a wrong-format file: nothing is saved any more, and nothing needs saying.
    if (NoSaveOnExit || autoSaveRunning_) return;
    autoSaveRunning_ = true;
    if (!Save()) emit AutoSaveFailed();
    autoSaveRunning_ = false;
    ArmAutoSave();
}
