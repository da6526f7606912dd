// Day keys under pinned locales: rendering, parsing, and "N/A" as no date.
#include "todo/rules/DayKeys.h"

#include <QLocale>

#include <gtest/gtest.h>

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

} // namespace
