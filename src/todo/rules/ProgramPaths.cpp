#include "todo/rules/ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString with_extension(const QString& file, const QString& extension) {
    const QFileInfo info(file);
    const QString name = info.fileName();
    const int dot = name.lastIndexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : name;
    return info.dir().filePath(base + extension);
}

namespace {
QString state_folder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(base).filePath(QStringLiteral("quillmarch"));
}

QString placed(const QString& programFile, const QString& extension,
               QStandardPaths::StandardLocation fallback) {
    const QString beside = with_extension(programFile, extension);
    const QFileInfo folder(QFileInfo(beside).absolutePath());
    if (folder.isDir() && folder.isWritable()) return beside;
    const QString dir = QStandardPaths::writableLocation(fallback);
    QDir().mkpath(dir);
    return QDir(dir).filePath(QFileInfo(beside).fileName());
}
} // namespace

ProgramPaths::ProgramPaths(const QString& file)
    : programFile(file.isEmpty() ? QCoreApplication::applicationFilePath() : file),
      defaultDataFile(placed(programFile, QStringLiteral(".dat"), QStandardPaths::AppDataLocation)),
      settingsFile(placed(programFile, QStringLiteral(".set"), QStandardPaths::AppConfigLocation)),
      recoveryFolder(state_folder()) {}
