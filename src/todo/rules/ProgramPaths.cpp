#include "todo/rules/ProgramPaths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

QString with_extension(const QString& file, const QString& extension) {
    const QFileInfo info(file);
    const QString name = info.fileName();
    const int dot = name.lastIndexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : name;
    return info.dir().filePath(base + extension);
}

QString recovery_folder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(base).filePath(QStringLiteral("quillmarch"));
}

QString recovery_file_name(const QString& folder, const QString& dataFile) {
    const QString path = QFileInfo(dataFile).absoluteFilePath();
    const QByteArray digest =
        QCryptographicHash::hash(QFile::encodeName(path), QCryptographicHash::Sha1).toHex();
    return QDir(folder).filePath(QFileInfo(path).fileName() + u'-' + QString::fromLatin1(digest.left(12)) +
                                 QStringLiteral(".recovery"));
}

std::optional<QDateTime> left_recovery_time(const QString& recoveryFile, const QString& dataFile) {
    const QFileInfo recovery(recoveryFile);
    if (recovery.filePath().isEmpty() || !recovery.isFile()) return std::nullopt;
    const QFileInfo data(dataFile);
    if (data.exists() && data.lastModified() > recovery.lastModified()) return std::nullopt;
    return recovery.lastModified();
}

namespace {
enum class Placing { Create, LookOnly };

QString placed(const QString& programFile, const QString& extension,
               QStandardPaths::StandardLocation fallback, Placing placing = Placing::Create) {
    const QString beside = with_extension(programFile, extension);
    // A file already beside the program is the user's, even on a medium that cannot be written: a
    // portable copy keeps its list. New files go beside the program only where they can be written.
    if (QFileInfo::exists(beside)) return beside;
    const QFileInfo folder(QFileInfo(beside).absolutePath());
    if (folder.isDir() && folder.isWritable()) return placing == Placing::Create ? beside : QString();
    const QString dir = QStandardPaths::writableLocation(fallback);
    const QString file = QDir(dir).filePath(QFileInfo(beside).fileName());
    if (placing == Placing::LookOnly) return QFileInfo::exists(file) ? file : QString();
    QDir().mkpath(dir);
    return file;
}
} // namespace

QString existing_settings_file(const QString& programFile) {
    return placed(programFile, QStringLiteral(".set"), QStandardPaths::AppConfigLocation, Placing::LookOnly);
}

ProgramPaths::ProgramPaths(const QString& file)
    : programFile(file.isEmpty() ? QCoreApplication::applicationFilePath() : file),
      defaultDataFile(placed(programFile, QStringLiteral(".dat"), QStandardPaths::AppDataLocation)),
      settingsFile(placed(programFile, QStringLiteral(".set"), QStandardPaths::AppConfigLocation)),
      recoveryFolder(recovery_folder()) {}

int remove_stale_temporary_files(const QString& file) {
    // The crash-safe writer's temporary files: "." + the file's name + "." + six characters.
    const QFileInfo info(file);
    const QDir dir = info.absoluteDir();
    const QString prefix = u'.' + info.fileName() + u'.';
    int removed = 0;
    for (const QFileInfo& entry :
         dir.entryInfoList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden)) {
        const QString tail = entry.fileName().mid(prefix.size());
        const bool ours = tail.size() == 6 && std::all_of(tail.begin(), tail.end(), [](QChar c) {
                              return c.isLetterOrNumber() && c.unicode() < 128;
                          });
        if (ours && !entry.isSymLink() && QFile::remove(entry.filePath())) ++removed;
    }
    return removed;
}
