// Writing the data file: crash-safe, with the backup made so that a complete data file exists at
// every moment.
#pragma once

#include <QString>

class TNoxPigger;

// The data file name with its extension replaced by ".BAK".
QString backup_file_name(const QString& dataFile);

// Writes the document to the file. With backup, the file's current content first becomes the ".BAK"
// (itself written crash-safely; a missing data file simply has no backup). A file that already holds
// exactly the document's text is left alone, backup and all, so the backup keeps the version before the
// last real change. Returns false with a reason when the data file was not written; a failed backup does
// not stop the save.
bool save_data_file(const TNoxPigger& doc, const QString& fileName, bool backup, QString* error = nullptr);
