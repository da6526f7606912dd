#include "search/FindRules.h"
#include "search/FindRows.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

using namespace find_rules;

struct ContextCase {
    const char* caption;
    const char* description; // none: the item has no DSC
    const char* needle;
    bool inText, inDescription;
    QLocale::Language language;
    bool found;
};

TEST(ContextTest, FindsTheNeedleInTheChosenTextsWhateverTheCaseByTheLocalesRules) {
    const auto en = QLocale::English, de = QLocale::German, tr = QLocale::Turkish;
    const ContextCase cases[] = {
        {"buy milk", nullptr, " milk", true, false, en, true},     // a leading blank counts
        {"milk", nullptr, " milk", true, false, en, false},        //
        {"Buy milk", nullptr, "MILK", true, false, en, true},      // case does not matter
        {"Bread", "get Milk too", "MILK", true, true, en, true},   // the description when asked for
        {"Bread", "get Milk too", "MILK", true, false, en, false}, //
        {"milk", nullptr, "milk", false, true, en, false},         // no DSC: never found by description
        {"Caf\xE9 milk", nullptr, "MILK", true, false, en, true},  // not UTF-8, found all the same
        {"Viele Gr\xC3\xBC\xC3\x9F"
         "e",
         nullptr, "gr\xC3\xBCsse", true, false, de, true},             // full mapping
        {"Call bank", nullptr, "b\xC3\xA4nk", true, false, en, false}, // beyond ASCII, never in ASCII
        {"\xC4\xB0stanbul", nullptr, "i", true, false, tr, true},      // Turkish: i upper-cases to dotted I
        {"\xC4\xB0stanbul", nullptr, "i", true, false, en, false},     //
        {"istanbul", nullptr, "\xC4\xB0", true, false, tr, true},      // ASCII text, Turkish rules
        {"istanbul", nullptr, "I", true, false, tr, false},            //
    };
    for (const ContextCase& c : cases) {
        SCOPED_TRACE(std::string(c.caption) + " / " + c.needle);
        TNoxPigger item;
        item.SetTagName("TASK");
        item.SetAttr("CAPTION", c.caption);
        if (c.description) item.AddChild("DSC")->Text = c.description;
        const ContextNeedle needle = context_needle(QString::fromUtf8(c.needle), QLocale(c.language));
        EXPECT_EQ(context_matches(item, needle, c.inText, c.inDescription), c.found);
    }
}

TEST(ContextTest, StartsOnlyWithMoreThanBlanksAndSomewhereToLook) {
    const struct {
        const char* typed;
        bool inText, inDescription, canStart;
    } cases[] = {{"", true, true, false},    {"   ", true, true, false}, {" \t\x01 ", true, false, false},
                 {" x ", true, false, true}, {"x", false, false, false}, {"x", false, true, true}};
    for (const auto& c : cases)
        EXPECT_EQ(context_can_start(QString::fromUtf8(c.typed), c.inText, c.inDescription), c.canStart)
            << '"' << c.typed << '"' << c.inText << c.inDescription;
}

TEST(UncompletedTest, AnyDoneValueCountsAndLimitsIncludeTheirDaysButNeverTheUndatedOnes) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TNoxPigger item;
    EXPECT_TRUE(is_uncompleted(item));
    item.SetAttr("D", "N");
    EXPECT_FALSE(is_uncompleted(item));

    const QDate d9(2020, 5, 9), d10(2020, 5, 10), d11(2020, 5, 11);
    const struct {
        std::optional<QDate> lower, upper;
        const char* key;
        bool within;
    } cases[] = {
        {{}, {}, "5/9/2020", true},     {d10, d10, "5/10/2020", true},  {d10, d10, "5/9/2020", false},
        {d10, d10, "5/11/2020", false}, {d10, d10, "N/A", true},        {d11, d9, "5/10/2020", false},
        {d11, d9, "5/9/2020", false},   {d11, d9, "N/A", true},         {d10, {}, "5/11/2020", true},
        {{}, d10, "5/11/2020", false},  {d10, d10, "2020-05-10", true}, // a foreign key is no date
    };
    for (const auto& c : cases)
        EXPECT_EQ(day_within(c.key, {c.lower, c.upper}), c.within) << c.key;
}

TEST(FindRowsTest, SortByDateWithUndatedRowsAtTheCurrentMomentKeepingTheFoundOrderWithinADate) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const struct {
        QDateTime now;
        std::vector<FindRow> found;
        std::string order;
    } cases[] = {
        {QDateTime(QDate(2026, 5, 10), QTime(12, 0)),
         {{"5/11/2026", "a"},
          {"N/A", "b"},
          {"5/10/2026", "c"},
          {"5/9/2026", "d"},
          {"5/10/2026", "e"},
          {"junk", "f"},
          {"12/31/2025", "g"}},
         "gdcebfa"},
        // At midnight "now" equals today: equal values keep their found order either way round.
        {QDateTime(QDate(2026, 5, 10), QTime(0, 0)), {{"N/A", "x"}, {"5/10/2026", "y"}}, "xy"},
        {QDateTime(QDate(2026, 5, 10), QTime(0, 0)), {{"5/10/2026", "y"}, {"N/A", "x"}}, "yx"},
    };
    for (auto c : cases) {
        sort_find_rows(c.found, c.now);
        std::string order;
        for (const FindRow& r : c.found)
            order += r.item;
        EXPECT_EQ(order, c.order);
    }
}

} // namespace
