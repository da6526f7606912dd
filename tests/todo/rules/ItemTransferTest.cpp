// Moving and copying an item to another day: all or nothing, and a copy is what a save and a load give.
#include "todo/rules/ItemTransfer.h"
#include "todo/rules/TodoRules.h"

#include <gtest/gtest.h>

namespace {

TNoxPigger* day_of(TNoxPigger& root, const char* key) {
    return root.FindChildByAttr("DATE", key);
}

TEST(ItemTransfer, ACopyIsTheItemAsSavingAndLoadingGiveItBack) {
    struct Case {
        const char* item; // markup; %0D, %0A stand for lone CR and LF in the text
        const char* description;
    };
    for (const Case& c : {
             Case{"<TASK CAPTION=\"Dentist\" D=\"Y\" INDEX=\"12\" HOUR=\"09\" "
                  "MINUTE=\"05\"><DSC>one%0D%0Atwo%0D%0A"
                  "%09three</DSC><REM>r</REM><FILE FILE_NAME=\"/a.txt\"/><FILE FILE_NAME=\"/b\"/></TASK>",
                  "one\r\ntwo\r\n\tthree"},
             Case{"<TASK CAPTION=\"100%25 %3Csure%3E %22q%22 %2541\"><DSC>a %25 b %2525</DSC></TASK>",
                  "a % b %25"},
             Case{"<TASK CAPTION=\"caf\xe9 \xff\xfe\"><DSC>\xc3\x28%0D%0A\x80</DSC></TASK>",
                  "\xc3\x28\r\n\x80"},
             Case{"<TASK><DSC>lf%0Aonly%0Dcr%20%20</DSC></TASK>", "lf\r\nonly\r\ncr"},
         }) {
        TNoxPigger root;
        root.SetText(std::string("<TODO_DATA><DAY_DATA DATE=\"5/10/2026\"><TASK/>") + c.item +
                     "</DAY_DATA></TODO_DATA>");
        TNoxPigger* item = day_of(root, "5/10/2026")->Child(1);
        const std::string original = item->GetText();
        TNoxPigger* copy = todo::copy_item(root, *item, "N/A");

        TNoxPigger reloaded; // the whole document written, then read as a load reads it
        reloaded.SetText(NormalizeLineBreaks(root.GetText()));
        EXPECT_EQ(copy->GetText(), day_of(reloaded, "5/10/2026")->Child(1)->GetText()) << c.item;
        EXPECT_EQ(copy->FindChild("DSC")->Text, c.description) << c.item;
        EXPECT_EQ(copy->Parent(), day_of(root, "N/A"));
        EXPECT_EQ(item->GetText(), original) << "the source stays as it was";
    }
}

TEST(ItemTransfer, MovingTakesTheSubtreeToTheEndOfTheDayAndAFailedCopyChangesNothing) {
    TNoxPigger root;
    root.SetText(
        "<TODO_DATA><DAY_DATA DATE=\"5/10/2026\"><TASK CAPTION=\"m\"><DSC>kept</DSC></TASK></DAY_DATA>"
        "<DAY_DATA DATE=\"1/1/0100\"><TASK/></DAY_DATA></TODO_DATA>");
    TNoxPigger* item = day_of(root, "5/10/2026")->Child(0);
    EXPECT_EQ(todo::move_item(root, *item, "1/1/0100")->Child(1), item);
    EXPECT_EQ(item->FindChild("DSC")->Text, "kept");
    EXPECT_EQ(day_of(root, "5/10/2026")->ChildCount(), 0);
    const TNoxPigger* created = todo::move_item(root, *item, "12/31/9999");
    EXPECT_EQ(created, root.Child(2)) << "a new day goes last";

    item->SetAttr("A/B", "x"); // a name the text form cannot carry: no copy, no new day
    const std::string before = root.GetText();
    EXPECT_THROW(todo::copy_item(root, *item, "2/2/2222"), ENoxPiggerError);
    EXPECT_EQ(root.GetText(), before);
}

} // namespace
