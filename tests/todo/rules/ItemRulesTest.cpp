// Items of the to-do document: text, done flags, picture index and time of day.
#include "todo/rules/TodoRules.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <utility>

namespace {

std::unique_ptr<TNoxPigger> Item(const std::string& attributes) {
    auto item = std::make_unique<TNoxPigger>();
    item->SetText("<TASK " + attributes + "/>");
    return item;
}

TEST(ItemRules, TheDayListTakesOnlyYAsDoneWhileSearchAndPrintingTakeAnyValue) {
    struct Case {
        const char* attributes;
        bool dayList;
        bool reports;
    };
    for (const Case& c :
         {Case{"D=\"Y\"", true, true}, Case{"", false, false}, Case{"D=\"N\"", false, true},
          Case{"D=\"y\"", false, true}, Case{"D=\"YES\"", false, true}, Case{"D=\"\"", false, false}}) {
        const auto item = Item(c.attributes);
        EXPECT_EQ(todo::is_done_in_day_list(*item), c.dayList) << c.attributes;
        EXPECT_EQ(todo::is_done_in_reports(*item), c.reports) << c.attributes;
    }
}

TEST(ItemRules, TheTextIsTheCaptionAndEmptyingItRemovesTheAttribute) {
    const auto item = Item("CAPTION=\"Buy milk\"");
    EXPECT_EQ(todo::item_text(*item), "Buy milk");
    todo::store_item(*item, "", false, 3);
    EXPECT_EQ(item->AttrCount(), 1);
    EXPECT_EQ(item->GetAttr("CAPTION"), "");
    EXPECT_EQ(item->GetAttr("INDEX"), "3");
}

TEST(ItemRules, StoringARowWritesCaptionDoneAndIndexInThatOrderAndUntickingRemovesD) {
    TNoxPigger item;
    item.SetTagName(todo::kItemTag);
    todo::store_item(item, "Call", true, 0);
    EXPECT_EQ(item.GetText(), "\r\n<TASK CAPTION=\"Call\" D=\"Y\" INDEX=\"0\"/>");
    todo::store_item(item, "Call back", false, 35);
    EXPECT_EQ(item.GetText(), "\r\n<TASK CAPTION=\"Call back\" INDEX=\"35\"/>");

    const auto other = Item("D=\"N\" INDEX=\"4\"");
    todo::store_item(*other, "x", false, 4);
    EXPECT_EQ(other->GetAttr("D"), ""); // another value is never written back
}

TEST(ItemRules, APictureIndexThatIsMissingOrUnparsableGivesPictureZero) {
    struct Case {
        const char* attributes;
        std::optional<int> parsed;
    };
    for (const Case& c :
         {Case{"INDEX=\"7\"", 7}, Case{"INDEX=\"35\"", 35}, Case{"INDEX=\"0\"", 0}, Case{"INDEX=\"+12\"", 12},
          Case{"INDEX=\"-0\"", 0}, Case{"", std::nullopt}, Case{"INDEX=\"x\"", std::nullopt},
          Case{"INDEX=\"7x\"", std::nullopt}, Case{"INDEX=\" 7\"", std::nullopt},
          Case{"INDEX=\"+-1\"", std::nullopt}, Case{"INDEX=\"36\"", 36}, Case{"INDEX=\"-1\"", -1},
          Case{"INDEX=\"99999999999\"", std::nullopt}}) {
        const auto item = Item(c.attributes);
        EXPECT_EQ(todo::parsed_picture_index(*item), c.parsed) << c.attributes;
        EXPECT_EQ(todo::picture_index(*item), c.parsed.value_or(0)) << c.attributes;
    }
    EXPECT_EQ(todo::parse_int("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(todo::parse_int("2147483648"), std::nullopt);
    EXPECT_EQ(todo::parse_int(""), std::nullopt);
    EXPECT_EQ(todo::parse_int("+"), std::nullopt);
}

TEST(ItemRules, TimeIsSetAndClearedAsTwoDigitHourAndMinuteTogether) {
    const auto timed = Item("CAPTION=\"x\"");
    TNoxPigger& item = *timed;
    EXPECT_FALSE(todo::is_timed(item));
    todo::set_item_time(item, 9, 5);
    EXPECT_EQ(item.GetAttr("HOUR"), "09");
    EXPECT_EQ(item.GetAttr("MINUTE"), "05");
    EXPECT_TRUE(todo::is_timed(item));
    todo::set_item_time(item, 23, 59);
    EXPECT_EQ(item.GetText(), "\r\n<TASK CAPTION=\"x\" HOUR=\"23\" MINUTE=\"59\"/>");
    todo::set_item_time(item, 0, 0);
    EXPECT_EQ(item.GetAttr("HOUR"), "00"); // "00" is a set value, not an empty one
    todo::clear_item_time(item);
    EXPECT_EQ(item.GetText(), "\r\n<TASK CAPTION=\"x\"/>");
    EXPECT_FALSE(todo::is_timed(item));

    // Only HOUR decides, as the hour grid reads it.
    EXPECT_TRUE(todo::is_timed(*Item("HOUR=\"7\"")));
    EXPECT_FALSE(todo::is_timed(*Item("MINUTE=\"30\"")));
}

TEST(ItemRules, StoredTimesAreReadAsNumbersAndOtherTextAsZero) {
    const std::pair<const char*, const char*> cases[] = {{"HOUR=\"07\" MINUTE=\"30\"", "07:30"},
                                                         {"HOUR=\"7\" MINUTE=\"5\"", "07:05"},
                                                         {"HOUR=\" 9 \"", "09:00"},
                                                         {"HOUR=\"abc\" MINUTE=\"15\"", "00:15"},
                                                         {"HOUR=\"24\" MINUTE=\"00\"", "00:00"},
                                                         {"HOUR=\"-1\" MINUTE=\"1x\"", "00:00"},
                                                         {"HOUR=\"123\" MINUTE=\"75\"", "00:00"},
                                                         {"MINUTE=\"30\"", "none"}};
    for (const auto& [attributes, expected] : cases) {
        const auto time = todo::read_item_time(*Item(attributes));
        const std::string read =
            time ? todo::two_digits(time->hour) + ":" + todo::two_digits(time->minute) : "none";
        EXPECT_EQ(read, expected) << attributes;
    }
}

TEST(ItemRules, ACopyKeepsEverythingOfTheItemItWasMadeFrom) {
    TNoxPigger root;
    root.SetText(
        "<TODO_DATA><DAY_DATA DATE=\"1\"><TASK CAPTION=\"c\" D=\"Y\" INDEX=\"5\" HOUR=\"09\" "
        "MINUTE=\"30\"><DSC>d</DSC><REM>r</REM><FILE FILE_NAME=\"f\"/></TASK></DAY_DATA></TODO_DATA>");
    TNoxPigger* source = root.Child(0)->Child(0);
    TNoxPigger* target = todo::find_or_create_day(root, "2");
    TNoxPigger* copy = target->AddChild(todo::kItemTag);
    copy->Assign(*source);
    EXPECT_EQ(copy->GetText(), source->GetText()); // both two levels deep
    EXPECT_EQ(root.Child(0)->ChildCount(), 1);

    // A move takes the item with its subtree to the end of the target day.
    source->SetParent(target);
    EXPECT_EQ(root.Child(0)->ChildCount(), 0);
    EXPECT_EQ(target->Child(1), source);
    EXPECT_EQ(todo::description_of(*source)->Text, "d");
}

} // namespace
