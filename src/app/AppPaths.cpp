#include "AppPaths.h"

#include "WindowRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString program_file(const WindowRegistry& reg) {
    return reg.programFile.isEmpty() ? QCoreApplication::applicationFilePath() : reg.programFile;
}

QString with_extension(const QString& file, const QString& extension) {
    const QFileInfo info(file);
    const QString name = info.fileName();
    const int dot = name.lastIndexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : name;
    return info.dir().filePath(base + extension);
}

namespace {
QString placed(const WindowRegistry& reg, const QString& extension,
               QStandardPaths::StandardLocation fallback) {
    const QString beside = with_extension(program_file(reg), extension);
    const QFileInfo folder(QFileInfo(beside).absolutePath());
    if (folder.isDir() && folder.isWritable()) return beside;
    const QString dir = QStandardPaths::writableLocation(fallback);
    QDir().mkpath(dir);
    return QDir(dir).filePath(QFileInfo(beside).fileName());
}
} // namespace

QString default_data_file(const WindowRegistry& reg) {
    return placed(reg, QStringLiteral(".dat"), QStandardPaths::AppDataLocation);
}

QString settings_file(const WindowRegistry& reg) {
    return placed(reg, QStringLiteral(".set"), QStandardPaths::AppConfigLocation);
}
