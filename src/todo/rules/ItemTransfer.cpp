#include "todo/rules/ItemTransfer.h"

#include "todo/rules/TodoRules.h"

namespace todo {

TNoxPigger* move_item(TNoxPigger& root, TNoxPigger& item, const std::string& key) {
    TNoxPigger* day = find_or_create_day(root, key);
    item.SetParent(day);
    return day;
}

std::unique_ptr<TNoxPigger> copy_of_item(const TNoxPigger& item) {
    auto copy = std::make_unique<TNoxPigger>();
    copy->SetText(NormalizeLineBreaks(item.GetText()));
    return copy;
}

TNoxPigger* copy_item(TNoxPigger& root, const TNoxPigger& item, const std::string& key) {
    // Made apart from the document first, so a failure leaves neither a half copy nor a new empty day.
    std::unique_ptr<TNoxPigger> copy = copy_of_item(item);
    TNoxPigger* day = find_or_create_day(root, key);
    copy->SetParent(day);
    return copy.release();
}

} // namespace todo
