// The binding between a row of a list and the TASK element it shows: the row holds a reference to the
// item, the caption's bytes as read beside the text shown (so a caption the user did not edit is written
// back byte for byte), the picture index and the tick. Used by every list that shows items.
#pragma once

#include "markup/NoxPigger.h"

#include <QString>
#include <string>

class QListWidgetItem;
class QPlainTextEdit;
class QTreeWidgetItem;

namespace item_rows {

// Binds a row to an item (or to none) and shows the item's text, picture and tick in it.
void bind(QListWidgetItem* row, TNoxPigger* item);
void bind(QTreeWidgetItem* row, TNoxPigger* item);
// The item a row is bound to; none for no row.
TNoxPigger* item_of(const QListWidgetItem* row);
TNoxPigger* item_of(const QTreeWidgetItem* row);
// Shows the item's text, picture and tick again.
void show(QListWidgetItem* row, const TNoxPigger& item);
void show(QTreeWidgetItem* row, const TNoxPigger& item);
int picture(const QListWidgetItem* row);
int picture(const QTreeWidgetItem* row);
// The caption as bytes: those read when the text is unchanged, else the edited text.
std::string caption(const QListWidgetItem* row);
// Writes the row's text, tick and picture into its item; true when that changed the item.
bool store(QListWidgetItem* row);

// A description as the text area shows it (LF between lines) and as the document keeps it (CR LF). The
// area's text is taken as typed: no-break spaces stay, and both kinds of line break are lines.
QString description_for_editor(const std::string& bytes);
std::string description_from_editor(const QPlainTextEdit* editor);

} // namespace item_rows
