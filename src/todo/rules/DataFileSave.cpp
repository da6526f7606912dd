#include "todo/rules/DataFileSave.h"

#include "markup/NoxPigger.h"
#include "todo/rules/ProgramPaths.h"

#include <QFile>
#include <QFileInfo>

QString backup_file_name(const QString& dataFile) {
    return with_extension(dataFile, QStringLiteral(".BAK"));
}

bool save_data_file(const TNoxPigger& doc, const QString& fileName, bool backup, QString* error) {
    const std::string target = QFile::encodeName(fileName).toStdString();
    std::string text;
    try {
        text = doc.GetText();
    } catch (const std::exception& e) {
        // A text too large to write (a pathological tree) fails like any other save.
        if (error) *error = QString::fromLocal8Bit(e.what());
        return false;
    }
    const QFileInfo current(fileName);
    if (current.isFile() && current.size() == static_cast<qint64>(text.size())) {
        try {
            if (ReadFileBytes(target) == text) return true;
        } catch (const std::exception&) {
            // Unreadable: the write below says why, if it fails too.
        }
    }
    // An empty file holds nothing worth keeping; copying it would wipe the last good backup.
    if (backup && current.isFile() && current.size() > 0) {
        // A copy rather than a rename: the data file never stops existing.
        try {
            WriteFileAtomically(QFile::encodeName(backup_file_name(fileName)).toStdString(),
                                ReadFileBytes(target));
        } catch (const std::exception&) {
            // The backup is a courtesy; the save itself must still happen.
        }
    }
    try {
        WriteFileAtomically(target, text);
    } catch (const std::exception& e) {
        if (error) *error = QString::fromLocal8Bit(e.what());
        return false;
    }
    return true;
}
