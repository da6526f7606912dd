// Days of the to-do document: finding or creating them by key, and removing the empty ones.
#include "todo/rules/TodoRules.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> DayKeys(const TNoxPigger& root) {
    std::vector<std::string> keys;
    for (const TNoxPigger* c : root.Children())
        keys.push_back(c->TagName() + "=" + c->GetAttr("DATE"));
    return keys;
}

TEST(FindOrCreateDay, AppendsAMissingDayAtTheEndAndFindsItAgainWithoutRegardToCase) {
    TNoxPigger root;
    root.SetTagName(todo::kRootTag);
    TNoxPigger* june = todo::find_or_create_day(root, "6/12/2026");
    TNoxPigger* free = todo::find_or_create_day(root, "N/A");
    TNoxPigger* may = todo::find_or_create_day(root, "5/1/2026");
    EXPECT_EQ(DayKeys(root),
              (std::vector<std::string>{"DAY_DATA=6/12/2026", "DAY_DATA=N/A", "DAY_DATA=5/1/2026"}));
    EXPECT_EQ(todo::find_or_create_day(root, "6/12/2026"), june);
    EXPECT_EQ(todo::find_or_create_day(root, "n/a"), free);
    EXPECT_EQ(may->ChildCount(), 0);
    EXPECT_EQ(root.ChildCount(), 3);
    EXPECT_EQ(root.GetText(),
              "\r\n<TODO_DATA>\r\n\t<DAY_DATA DATE=\"6/12/2026\"/>\r\n\t<DAY_DATA DATE=\"N/A\"/>"
              "\r\n\t<DAY_DATA DATE=\"5/1/2026\"/>\r\n</TODO_DATA>");
}

TEST(FindOrCreateDay, ComparesTheKeyAsGivenAndTakesTheFirstMatchWhateverItsTag) {
    TNoxPigger root;
    root.SetText("<TODO_DATA><OTHER DATE=\"06.12.2026\"/><DAY_DATA DATE=\"06.12.2026\"/>"
                 "<DAY_DATA DATE=\"n/a\"/><DAY_DATA DATE=\"N/A\"/></TODO_DATA>");
    EXPECT_EQ(todo::find_or_create_day(root, "06.12.2026"), root.Child(0));
    EXPECT_EQ(todo::find_or_create_day(root, "N/A"), root.Child(2));
    // No trimming and no re-rendering: a differently written date is another day.
    TNoxPigger* other = todo::find_or_create_day(root, "6.12.2026");
    EXPECT_EQ(root.IndexOfChild(other), 4);
    TNoxPigger* spaced = todo::find_or_create_day(root, " N/A");
    EXPECT_EQ(root.IndexOfChild(spaced), 5);
}

TEST(RemoveEmptyDays, DeletesDaysWithoutAnyChildAndKeepsDaysHoldingAnything) {
    TNoxPigger root;
    root.SetText("<TODO_DATA>"
                 "<DAY_DATA DATE=\"1\"/>"
                 "<DAY_DATA DATE=\"2\"><TASK CAPTION=\"x\"/></DAY_DATA>"
                 "<DAY_DATA DATE=\"3\">only text</DAY_DATA>"
                 "<DAY_DATA DATE=\"4\"><NOTE/></DAY_DATA>"
                 "<OTHER/>"
                 "<DAY_DATA DATE=\"5\"/>"
                 "<DAY_DATA DATE=\"6\"/>"
                 "</TODO_DATA>");
    todo::remove_empty_days(root);
    EXPECT_EQ(DayKeys(root), (std::vector<std::string>{"DAY_DATA=2", "DAY_DATA=4", "OTHER="}));

    // A visited day is saved while the program runs and goes only when empty days are removed.
    todo::find_or_create_day(root, "7");
    EXPECT_EQ(root.ChildCount(), 4);
    todo::remove_empty_days(root);
    EXPECT_EQ(root.ChildCount(), 3);
}

TEST(ItemChildren, DescriptionAndRemarksAreFoundOrAppendedEmptyOnce) {
    TNoxPigger day;
    TNoxPigger* item = day.AddChild(todo::kItemTag);
    item->AddChild(todo::kFileTag)->SetAttr(todo::kFileNameAttr, "a.txt");
    TNoxPigger* dsc = todo::description_of(*item);
    TNoxPigger* rem = todo::remarks_of(*item);
    EXPECT_EQ(dsc->TagName(), "DSC");
    EXPECT_EQ(rem->TagName(), "REM");
    EXPECT_EQ(dsc->Text, "");
    EXPECT_EQ(item->IndexOfChild(dsc), 1);
    EXPECT_EQ(item->IndexOfChild(rem), 2);
    EXPECT_EQ(todo::description_of(*item), dsc);
    EXPECT_EQ(todo::remarks_of(*item), rem);
    EXPECT_EQ(item->ChildCount(), 3);

    TNoxPigger loaded;
    loaded.SetText("<TASK><REM>r</REM><dsc>d</dsc></TASK>");
    EXPECT_EQ(todo::description_of(loaded)->Text, "d");
    EXPECT_EQ(todo::remarks_of(loaded)->Text, "r");
    EXPECT_EQ(loaded.ChildCount(), 2);
}

} // namespace
