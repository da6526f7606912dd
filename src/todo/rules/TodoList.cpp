#include "todo/rules/TodoList.h"

#include "todo/rules/DataFileSave.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TodoRules.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// The shortest wait before a recovery copy: keystrokes in a row make one write.
constexpr int kRecoveryGatherMs = 2000;
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
    const QString name = FileName();
    emit AboutToReplace();
    try {
        doc_->LoadFromFile(QFile::encodeName(name).toStdString());
        // An empty file holds no element; it would never save what is added to it.
        if (!doc_->TagName().empty()) {
            NoteChange(Change::Bookkeeping);
            SetModified(false);
            return LoadResult::Loaded;
        }
    } catch (const std::exception&) {
    }

    NewDocument();
    SetModified(false);
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

bool TodoList::Save(SaveKind kind) {
    emit WriteBack(kind == SaveKind::Automatic);
    const bool ok = SaveTo(FileName());
    if (ok) {
        SetModified(false);
        RemoveRecovery();
    }
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
    if (!Save(SaveKind::Automatic)) emit AutoSaveFailed();
    autoSaveRunning_ = false;
    ArmAutoSave();
}

// ---- recovery copy ----

QString TodoList::RecoveryFileName() const {
    if (recoveryFolder_.isEmpty()) return {};
    // One copy per data file: its name for the reader, a digest of its whole path to tell lists apart.
    const QString path = QFileInfo(FileName()).absoluteFilePath();
    const QByteArray digest =
        QCryptographicHash::hash(QFile::encodeName(path), QCryptographicHash::Sha1).toHex();
    return QDir(recoveryFolder_)
        .filePath(QFileInfo(path).fileName() + u'-' + QString::fromLatin1(digest.left(12)) +
                  QStringLiteral(".recovery"));
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
    if (!modified_ || NoSaveOnExit || recoveryFolder_.isEmpty()) return;
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
    const QFileInfo recovery(RecoveryFileName());
    if (recovery.filePath().isEmpty() || !recovery.isFile()) return std::nullopt;
    const QFileInfo data(FileName());
    if (data.exists() && data.lastModified() > recovery.lastModified()) return std::nullopt;
    return recovery.lastModified();
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
