// quillmarch-tool list: one line per item in document order, dates as ISO whatever the keys are.
#include "ToolProcess.h"

namespace {

// Written under a day.month.year format, which the list records; read under en_US all the same.
const QByteArray kList =
    "<TODO_DATA DATE_FORMAT=\"dd.MM.yyyy\">"
    "<DAY_DATA DATE=\"12.06.2026\"><TASK CAPTION=\"Dentist\" HOUR=\"09\" MINUTE=\"30\" INDEX=\"3\"/>"
    "<TASK CAPTION=\"Buy%09milk\" D=\"Y\"/></DAY_DATA>"
    "<DAY_DATA DATE=\"n/a\"><TASK CAPTION=\"Someday\"/><TASK CAPTION=\"Read\" D=\"N\"/></DAY_DATA>"
    "<DAY_DATA DATE=\"01.06.2026\"><TASK CAPTION=\"Earlier\"/><NOTE/></DAY_DATA>"
    "<DAY_DATA DATE=\"tomorrow\"><TASK CAPTION=\"Foreign\"/></DAY_DATA>"
    "<DAY_DATA DATE=\"13.06.2026\"><TASK CAPTION=\"Later\" HOUR=\"7\"/></DAY_DATA>"
    "</TODO_DATA>";

const QByteArray kDentist = "2026-06-12\t09:30\t\tDentist\n";
// Done only when D is "Y", as the day list shows it; a tab in a text would split the line.
const QByteArray kMilk = "2026-06-12\t\tx\tBuy milk\n";
const QByteArray kSomeday = "\t\t\tSomeday\n";
const QByteArray kRead = "\t\t\tRead\n";
const QByteArray kEarlier = "2026-06-01\t\t\tEarlier\n";
// A key that names no date is shown as stored; an hour no clock shows gives no time.
const QByteArray kForeign = "tomorrow\t\t\tForeign\n";
const QByteArray kLater = "2026-06-13\t\t\tLater\n";

} // namespace

TEST(ListCommand, PrintsTheItemsEachFilterSelectsInDocumentOrder) {
    ToolFolder dir;
    dir.write("list.dat", kList);
    const QList<std::pair<QStringList, QByteArray>> cases = {
        {{}, kDentist + kMilk + kSomeday + kRead + kEarlier + kForeign + kLater},
        {{"--date", "2026-06-12"}, kDentist + kMilk},
        {{"--from", "2026-06-02", "--to", "2026-06-13"}, kDentist + kMilk + kLater},
        {{"--from=2026-06-12"}, kDentist + kMilk + kLater},
        {{"--to", "2026-06-01"}, kEarlier},
        {{"--independent"}, kSomeday + kRead},
        {{"--independent", "--date", "2026-06-01"}, kSomeday + kRead + kEarlier},
        {{"--undone"}, kDentist + kSomeday + kRead + kEarlier + kForeign + kLater},
        {{"--undone", "--date", "2026-06-12"}, kDentist},
        {{"--date", "2026-06-14"}, ""},
    };
    for (const auto& [filters, expected] : cases) {
        const ToolRun r = dir.run(QStringList{"list", "list.dat"} + filters);
        const std::string what = filters.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, 0) << what << ": " << r.err.toStdString();
        EXPECT_EQ(r.out.toStdString(), expected.toStdString()) << what;
    }
}

TEST(ListCommand, ReadsTheKeysOfAListThatRecordsNoFormatUnderTheGivenLocale) {
    ToolFolder dir;
    dir.write("old.dat",
              "<TODO_DATA><DAY_DATA DATE=\"6/12/2026\"><TASK CAPTION=\"a\"/></DAY_DATA></TODO_DATA>");

    const ToolRun us = dir.run({"list", "old.dat", "--locale", "en_US"}, {}, QStringLiteral("de_DE.UTF-8"));
    EXPECT_EQ(us.out.toStdString(), "2026-06-12\t\t\ta\n") << us.err.toStdString();
    // Under LANG=de_DE the key names no date: it is shown as it stands.
    const ToolRun de = dir.run({"list", "-"}, dir.read("old.dat"), QStringLiteral("de_DE.UTF-8"));
    EXPECT_EQ(de.out.toStdString(), "6/12/2026\t\t\ta\n");
}
