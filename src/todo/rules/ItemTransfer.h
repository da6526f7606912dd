// Moving and copying an item to the end of another day. Either happens completely or not at all.
#pragma once

#include "markup/NoxPigger.h"

#include <memory>
#include <string>

namespace todo {

// Takes the item with its whole subtree out of its day and appends it to the day of the key, which is
// created when missing. Returns that day.
TNoxPigger* move_item(TNoxPigger& root, TNoxPigger& item, const std::string& key);

// The item as saving and loading it again would give it back: made through its text form, line breaks
// as a load reads them. Throws the parse error when that text does not read back.
std::unique_ptr<TNoxPigger> copy_of_item(const TNoxPigger& item);

// Appends a copy of the item (copy_of_item) to the day of the key, which is created when missing, and
// returns it. When no copy can be made the error is thrown and the document is as it was.
TNoxPigger* copy_item(TNoxPigger& root, const TNoxPigger& item, const std::string& key);

} // namespace todo
