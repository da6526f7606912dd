// Day keys under pinned locales: rendering, parsing, and "N/A" as no date.
#include "todo/rules/DayKeys.h"

#include <QLocale>

#include <gtest/gtest.h>
#include <tuple>

namespace {

class DayKeys : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(saved_); }
    static void Use(const char* name) { QLocale::setDefault(QLocale(QString::fromLatin1(name))); }

private:
    QLocale saved_;
};

struct LocaleCase {
    const char* locale;
    const char* format;
    const char* june12;   // 2026-06-12
    const char* january5; // 2026-01-05
};

const LocaleCase kLocales[] = {
    {"en_US", "M/d/yyyy", "6/12/2026", "1/5/2026"},
    {"de_DE", "dd.MM.yyyy", "12.06.2026", "05.01.2026"},
    {"en_GB", "dd/MM/yyyy", "12/06/2026", "05/01/2026"},
    {"C", "yyyy-MM-dd", "2026-06-12", "2026-01-05"},
};

TEST_F(DayKeys, EachLocaleRendersKeysInItsOwnOrderSeparatorAndLeadingZerosWithAFourDigitYear) {
    for (const LocaleCase& c : kLocales) {
        Use(c.locale);
        EXPECT_EQ(day_key_format().toStdString(), c.format) << c.locale;
        EXPECT_EQ(render_day_key(QDate(2026, 6, 12)), c.june12) << c.locale;
        EXPECT_EQ(render_day_key(QDate(2026, 1, 5)), c.january5) << c.locale;
        EXPECT_EQ(parse_day_key(c.june12), QDate(2026, 6, 12)) << c.locale;
        EXPECT_EQ(parse_day_key(c.january5), QDate(2026, 1, 5)) << c.locale;
    }
}

TEST_F(DayKeys, EveryDayOfALeapYearComesBackFromItsKey) {
    for (const LocaleCase& c : kLocales) {
        Use(c.locale);
        for (QDate d(2024, 1, 1); d.year() == 2024; d = d.addDays(1))
            ASSERT_EQ(parse_day_key(render_day_key(d)), d) << c.locale << " " << render_day_key(d);
    }
}

TEST_F(DayKeys, TheDateIndependentKeyAndMalformedKeysNameNoDay) {
    for (const LocaleCase& c : kLocales) {
        Use(c.locale);
        for (const std::string& key :
             {kDateIndependentKey, std::string("n/a"), std::string(), std::string("//"), std::string("..")}) {
            EXPECT_EQ(parse_day_key(key), std::nullopt) << c.locale << " '" << key << "'";
        }
    }
    Use("en_US");
    for (const char* key :
         {"2/30/2026", "13/1/2026", "6/12/26", "6/12/02026", "6/12/2026/1", " 6/12/2026", "6/12/2026 ",
          "6-12-2026", "12.06.2026", "+6/12/2026", "6/012/2026", "\xd9\xa6/1/2026"})
        EXPECT_EQ(parse_day_key(key), std::nullopt) << key;
    Use("de_DE");
    EXPECT_EQ(parse_day_key("6/12/2026"), std::nullopt);
    EXPECT_EQ(parse_day_key("29.02.2024"), QDate(2024, 2, 29));
    EXPECT_EQ(parse_day_key("29.02.2026"), std::nullopt);
}

TEST_F(DayKeys, AKeyWrittenUnderOneFormatIsNoDayUnderAnother) {
    Use("de_DE");
    const std::string german = render_day_key(QDate(2026, 6, 12));
    Use("en_US");
    EXPECT_EQ(parse_day_key(german), std::nullopt);
    EXPECT_NE(render_day_key(QDate(2026, 6, 12)), german);
}

// Captions of each day in order, as "KEY: a b; KEY: c".
std::string Days(const TNoxPigger& root) {
    std::string out;
    for (const TNoxPigger* day : root.Children()) {
        if (!out.empty()) out += "; ";
        out += day->GetAttr("DATE") + ":";
        for (const TNoxPigger* item : day->Children())
            out += " " + item->GetAttr("CAPTION");
    }
    return out;
}

TEST_F(DayKeys, AListWrittenUnderOneFormatIsReKeyedToTheFormatOfTheMomentAndSharedKeysMerged) {
    TNoxPigger root;
    root.SetText(
        "<TODO_DATA DATE_FORMAT=\"M/d/yyyy\"><DAY_DATA DATE=\"12/8/2026\"><TASK CAPTION=\"a\"/></DAY_DATA>"
        "<DAY_DATA DATE=\"N/A\"><TASK CAPTION=\"b\"/></DAY_DATA>"
        "<DAY_DATA DATE=\"08.12.2026\"><TASK CAPTION=\"c\"/></DAY_DATA>"
        "<DAY_DATA DATE=\"1/5/2027\"/><DAY_DATA DATE=\"12/08/2026\"><TASK CAPTION=\"d\"/></DAY_DATA>"
        "<DAY_DATA DATE=\"not a date\"/></TODO_DATA>");
    // 12/8 and 12/08 are the same day under M/d/yyyy; both merge into the first, with the day that
    // already had the German key.
    const std::tuple<const char*, int, const char*, const char*> steps[] = {
        {"de_DE", 3, "08.12.2026: a c d; N/A: b; 05.01.2027:; not a date:", "dd.MM.yyyy"},
        {"en_GB", 2, "08/12/2026: a c d; N/A: b; 05/01/2027:; not a date:", "dd/MM/yyyy"},
        {"en_US", 2, "12/8/2026: a c d; N/A: b; 1/5/2027:; not a date:", "M/d/yyyy"}, // and back
    };
    for (const auto& [locale, rekeyed, days, format] : steps) {
        Use(locale);
        EXPECT_EQ(adopt_key_format(root), rekeyed) << locale;
        EXPECT_EQ(Days(root), days) << locale;
        record_key_format(root);
        EXPECT_EQ(root.GetAttr("DATE_FORMAT"), format);
    }
    EXPECT_EQ(adopt_key_format(root), 0) << "read again under the format it records: nothing to do";

    // Without a recorded format the keys are read as written, under whatever format is current.
    TNoxPigger old;
    old.SetText("<TODO_DATA><DAY_DATA DATE=\"12/8/2026\"/></TODO_DATA>");
    Use("en_GB");
    EXPECT_EQ(adopt_key_format(old), 0);
    EXPECT_EQ(Days(old), "12/8/2026:");
}

} // namespace
