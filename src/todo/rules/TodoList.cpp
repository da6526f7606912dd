#include "todo/rules/TodoList.h"

#include "todo/rules/DataFileSave.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/ProgramPaths.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TodoRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {
// The shortest wait before a recovery copy: keystrokes in a row make one write.
constexpr int kRecoveryGatherMs = 2000;
// How long a load waits for quillmarch-tool to finish writing the file.
constexpr int kFileLockWaitMs = 1000;

// Re-keys a list read under another date format and records the format of the moment, so any copy written
// from here on is read back right. Returns the note that says so, or nothing.
QString adopt_keys(TNoxPigger& doc) {
    const QString recorded = QString::fromStdString(doc.GetAttr(todo::kDateFormatAttr));
    const int rekeyed = adopt_key_format(doc);
    record_key_format(doc);
    if (rekeyed == 0) return {};
    return QStringLiteral("The dates of %1 days were written as %2 and are now shown as %3.")
        .arg(rekeyed)
        .arg(recorded, day_key_format());
}
} // namespace

TodoList::TodoList(Settings& settings, const QString& defaultFileName, const QString& recoveryFolder,
                   QObject* parent)
    : QObject(parent), settings_(settings), defaultFileName_(defaultFileName),
      recoveryFolder_(recoveryFolder), doc_(std::make_unique<TNoxPigger>()) {
    BackupOnSave = settings_.BackupMode() == 2;
    autoSaveTimer_.setObjectName(QStringLiteral("Timer_auto_save"));
    autoSaveTimer_.setSingleShot(true);
    connect(&autoSaveTimer_, &QTimer::timeout, this, &TodoList::AutoSave);
    recoveryTimer_.setSingleShot(true);
    connect(&recoveryTimer_, &QTimer::timeout, this, &TodoList::WriteRecovery);
}

TodoList::~TodoList() = default;

QString TodoList::FileName() const {
    const QString name = settings_.DataFileName();
    return name.isEmpty() ? defaultFileName_ : name;
}

void TodoList::NewDocument() {
    emit AboutToReplace();
    ClearDocument();
}

void TodoList::ClearDocument() {
    doc_->Clear();
    doc_->SetTagName(todo::kRootTag);
    NoteChange(Change::Bookkeeping);
}

void TodoList::NoteChange(Change kind) {
    ++revision_;
    if (kind == Change::Edit) {
        SetModified(true);
        ScheduleRecovery();
    }
    emit Changed();
}

void TodoList::SetModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    emit ModifiedChanged(modified);
}

TodoList::LoadResult TodoList::Load() {
    LastLoad = LoadFile();
    return LastLoad;
}

TodoList::LoadResult TodoList::LoadFile() {
    const QString name = FileName();
    // The current list is ours: quillmarch-tool refuses to write it meanwhile. Held by another copy of the
    // program even after the wait, the list still opens; only the tool's guard is missing then.
    fileLock_.Lock(name, kFileLockWaitMs);
    LoadError.clear();
    LoadNote.clear();
    detachedFrom_.clear();
    // Looked for before anything is written: a missing data file is created below.
    RecoveryAtLoad = LeftRecovery();
    emit AboutToReplace();
    const QFileInfo info(name);

    if (info.isSymLink() && !info.exists()) {
        ClearDocument();
        SetModified(false);
        detachedFrom_ = name;
        LoadError =
            QStringLiteral("The list %1 points to %2, which cannot be found. Quillmarch starts with an "
                           "empty list that is not saved there; \"Save as...\" keeps it elsewhere.")
                .arg(name, info.symLinkTarget());
        return LoadResult::DanglingLink;
    }

    std::string bytes;
    if (info.exists()) {
        try {
            bytes = ReadFileBytes(QFile::encodeName(name).toStdString());
        } catch (const std::exception& e) {
            ClearDocument();
            SetModified(false);
            // Nothing may be written over a list that is only out of reach, nor may the setting forget it.
            NoSaveOnExit = true;
            LoadError = QString::fromLocal8Bit(e.what());
            return LoadResult::Unreadable;
        }
    }
    bool broken = false;
    try {
        doc_->SetText(NormalizeLineBreaks(bytes));
        if (!doc_->TagName().empty()) {
            LoadNote = adopt_keys(*doc_);
            NoteChange(Change::Bookkeeping);
            SetModified(false);
            // Re-keyed days are a change the list has not saved yet.
            if (!LoadNote.isEmpty()) NoteChange(Change::Edit);
            return LoadResult::Loaded;
        }
    } catch (const std::exception&) {
        // White space alone is no list and nothing to keep: treated as an empty file.
        broken = !todo::is_blank(bytes);
        if (!broken) bytes.clear();
    }

    ClearDocument();
    SetModified(false);
    // An empty file holds no list; anything else without an element is a damaged file (its first bytes
    // zeros, say) and stays untouched.
    if (broken || !bytes.empty()) {
        // Set before anyone is told: while a message is open, timers and menus still run, and none of
        // them may write the empty list over the file that failed, nor over the default file.
        NoSaveOnExit = true;
        failedFile_ = name;
        failedSetting_ = settings_.DataFileName();
        settings_.SetDataFileName(defaultFileName_);
        return LoadResult::WrongFormat;
    }
    SaveTo(name);
    return LoadResult::Created;
}

bool TodoList::BackupRestorable() const {
    if (failedFile_.isEmpty()) return false;
    TNoxPigger backup;
    try {
        backup.LoadFromFile(QFile::encodeName(backup_file_name(failedFile_)).toStdString());
    } catch (const std::exception&) {
        return false;
    }
    return !backup.TagName().empty();
}

bool TodoList::RestoreBackup() {
    if (!BackupRestorable()) return false;
    QString kept = failedFile_ + QStringLiteral(".broken");
    for (int i = 2; QFileInfo::exists(kept) || QFileInfo(kept).isSymLink(); ++i)
        kept = failedFile_ + QStringLiteral(".broken%1").arg(i);
    if (!QFile::rename(failedFile_, kept)) return false;
    try {
        WriteFileAtomically(QFile::encodeName(failedFile_).toStdString(),
                            ReadFileBytes(QFile::encodeName(backup_file_name(failedFile_)).toStdString()));
    } catch (const std::exception&) {
        QFile::rename(kept, failedFile_);
        return false;
    }
    NoSaveOnExit = false;
    settings_.SetDataFileName(failedSetting_);
    failedFile_.clear();
    return true;
}

bool TodoList::SaveTo(const QString& fileName) {
    if (NoSaveOnExit) {
        LastSaveError = QStringLiteral("The program is ending without saving.");
        return false;
    }
    if (!detachedFrom_.isEmpty() &&
        QFileInfo(fileName).absoluteFilePath() == QFileInfo(detachedFrom_).absoluteFilePath()) {
        LastSaveError =
            QStringLiteral("%1 points to a file that could not be found when the list was opened; "
                           "\"Save as...\" keeps the list elsewhere.")
                .arg(detachedFrom_);
        return false;
    }
    // Keys are dates in the format of the moment: say which, so another format can read them back.
    record_key_format(*doc_);
    QString error;
    const bool ok = save_data_file(*doc_, fileName, BackupOnSave, &error);
    LastSaveError = ok ? QString() : error;
    return ok;
}

bool TodoList::Save(SaveKind kind) {
    emit WriteBack(kind == SaveKind::Automatic);
    // A list kept from a link to a missing file holds nothing to keep until something is typed into it.
    if (!detachedFrom_.isEmpty() && !modified_ &&
        QFileInfo(FileName()).absoluteFilePath() == QFileInfo(detachedFrom_).absoluteFilePath()) {
        emit Saved(true);
        return true;
    }
    const bool ok = SaveTo(FileName());
    if (ok) {
        SetModified(false);
        RemoveRecovery();
    }
    emit Saved(ok);
    return ok;
}

std::optional<QString> TodoList::Unusable(const QString& fileName) const {
    const QFileInfo file(fileName);
    if (!SettingsFileName.isEmpty() &&
        file.absoluteFilePath() == QFileInfo(SettingsFileName).absoluteFilePath())
        return QStringLiteral("%1 is Quillmarch's settings file; a list cannot be kept there.").arg(fileName);
    if (file.exists() || file.isSymLink()) {
        try {
            ReadFileBytes(QFile::encodeName(fileName).toStdString());
        } catch (const std::exception& e) {
            if (file.exists()) return QString::fromLocal8Bit(e.what());
        }
    }
    return std::nullopt;
}

TodoList::SwitchResult TodoList::Open(const QString& fileName) {
    // A list that cannot be read is refused before anything changes: the open list stays.
    if (const std::optional<QString> why = Unusable(fileName)) {
        LoadError = *why;
        return SwitchResult::Refused;
    }
    // Restoring the backup: the save before the switch must not replace the backup being opened.
    const bool openingOwnBackup =
        QFileInfo(fileName).absoluteFilePath() == QFileInfo(backup_file_name(FileName())).absoluteFilePath();
    const bool backup = BackupOnSave;
    if (openingOwnBackup) BackupOnSave = false;
    const bool saved = Save();
    BackupOnSave = backup;
    if (!saved) return SwitchResult::NotSaved;
    settings_.SetDataFileName(fileName);
    Load();
    return SwitchResult::Switched;
}

TodoList::SwitchResult TodoList::SaveAs(const QString& fileName) {
    if (const std::optional<QString> why = Unusable(fileName)) {
        LoadError = *why;
        return SwitchResult::Refused;
    }
    const QString previous = settings_.DataFileName();
    const QString previousCopy = RecoveryFileName();
    settings_.SetDataFileName(fileName);
    if (!Save()) {
        settings_.SetDataFileName(previous);
        return SwitchResult::NotSaved;
    }
    // The changes went into the new file: the old one's copy speaks for nothing now.
    QFile::remove(previousCopy);
    Load();
    return SwitchResult::Switched;
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
    if (!Save(SaveKind::Automatic)) emit AutoSaveFailed();
    autoSaveRunning_ = false;
    ArmAutoSave();
}

// ---- recovery copy ----

QString TodoList::RecoveryFileName() const {
    return recoveryFolder_.isEmpty() ? QString() : recovery_file_name(recoveryFolder_, FileName());
}

void TodoList::ScheduleRecovery() {
    if (writingRecovery_ || recoveryFolder_.isEmpty() || recoveryTimer_.isActive()) return;
    // Within the delay of this change, but never sooner than the delay after the last copy.
    const qint64 sinceLast = sinceRecovery_.isValid() ? sinceRecovery_.elapsed() : RecoveryDelayMs;
    const qint64 wait =
        std::max<qint64>(RecoveryDelayMs - sinceLast, std::min(kRecoveryGatherMs, RecoveryDelayMs));
    recoveryTimer_.start(static_cast<int>(std::min<qint64>(wait, RecoveryDelayMs)));
}

void TodoList::WriteRecovery() {
    recoveryTimer_.stop();
    // A list kept from a dangling link is saved nowhere; its copy would pose as the real list's.
    if (!modified_ || NoSaveOnExit || recoveryFolder_.isEmpty() || !detachedFrom_.isEmpty()) return;
    writingRecovery_ = true;
    emit WriteBack(true);
    writingRecovery_ = false;
    sinceRecovery_.start();
    try {
        QDir().mkpath(recoveryFolder_);
        WriteFileAtomically(QFile::encodeName(RecoveryFileName()).toStdString(), doc_->GetText());
    } catch (const std::exception&) {
        // Only a safety net: the next change tries again.
    }
}

void TodoList::RemoveRecovery() {
    recoveryTimer_.stop();
    const QString file = RecoveryFileName();
    if (!file.isEmpty()) QFile::remove(file);
}

std::optional<QDateTime> TodoList::LeftRecovery() const {
    return left_recovery_time(RecoveryFileName(), FileName());
}

bool TodoList::RestoreRecovery() {
    TNoxPigger recovered;
    try {
        recovered.LoadFromFile(QFile::encodeName(RecoveryFileName()).toStdString());
    } catch (const std::exception&) {
        return false;
    }
    if (recovered.TagName().empty()) return false;
    emit AboutToReplace();
    doc_->Assign(recovered);
    // A copy written under another locale's date format is read as the list itself would be.
    LoadNote = adopt_keys(*doc_);
    NoteChange(Change::Edit);
    return true;
}

void TodoList::DiscardRecovery() {
    recoveryTimer_.stop();
    const QString file = RecoveryFileName();
    const QString discarded = file + QStringLiteral(".discarded");
    QFile::remove(discarded);
    QFile::rename(file, discarded);
}
