// quillmarch-tool export: iCalendar and CSV as their RFCs write them.
#include "ToolProcess.h"

#include <QRegularExpression>
#include <set>

namespace {

const QByteArray kLong = QByteArray(66, 'a') + "\xc3\xa9" + QByteArray(80, 'b');

const QByteArray kList =
    "<TODO_DATA DATE_FORMAT=\"M/d/yyyy\">"
    "<DAY_DATA DATE=\"6/12/2026\">"
    "<TASK CAPTION=\"Dentist, room 4; bring c:\\files\" D=\"Y\" HOUR=\"09\" MINUTE=\"05\">"
    "<DSC>First line\r\nsecond; line</DSC></TASK>"
    "<TASK CAPTION=\"Call\" INDEX=\"5\"/><TASK CAPTION=\"Call\"/>"
    "<TASK CAPTION=\"" +
    kLong +
    "\"/></DAY_DATA>"
    "<DAY_DATA DATE=\"N/A\"><TASK CAPTION=\"Caf\xff %01\" D=\"N\"/>"
    "<TASK CAPTION=\"Say %22hi%22\"/></DAY_DATA>"
    "</TODO_DATA>";

// Line folding at 75 octets never splits the two bytes of the e with the accent.
const QByteArray kIcs =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillmarch//quillmarch-tool 1.5.3//EN\r\n"
    "CALSCALE:GREGORIAN\r\n"
    "BEGIN:VTODO\r\nUID:*\r\nDTSTAMP:20010909T014640Z\r\n"
    "SUMMARY:Dentist\\, room 4\\; bring c:\\\\files\r\n"
    "DESCRIPTION:First line\\nsecond\\; line\r\nDUE:20260612T090500\r\n"
    "STATUS:COMPLETED\r\nEND:VTODO\r\n"
    "BEGIN:VTODO\r\nUID:*\r\nDTSTAMP:20010909T014640Z\r\nSUMMARY:Call\r\n"
    "DUE;VALUE=DATE:20260612\r\nSTATUS:NEEDS-ACTION\r\nEND:VTODO\r\n"
    "BEGIN:VTODO\r\nUID:*\r\nDTSTAMP:20010909T014640Z\r\nSUMMARY:Call\r\n"
    "DUE;VALUE=DATE:20260612\r\nSTATUS:NEEDS-ACTION\r\nEND:VTODO\r\n"
    "BEGIN:VTODO\r\nUID:*\r\nDTSTAMP:20010909T014640Z\r\n"
    "SUMMARY:" +
    QByteArray(66, 'a') + "\r\n \xc3\xa9" + QByteArray(72, 'b') + "\r\n " + QByteArray(8, 'b') +
    "\r\n"
    "DUE;VALUE=DATE:20260612\r\nSTATUS:NEEDS-ACTION\r\nEND:VTODO\r\n"
    "BEGIN:VTODO\r\nUID:*\r\nDTSTAMP:20010909T014640Z\r\n"
    "SUMMARY:Caf\xef\xbf\xbd \xef\xbf\xbd\r\nSTATUS:NEEDS-ACTION\r\nEND:VTODO\r\n"
    "BEGIN:VTODO\r\nUID:*\r\nDTSTAMP:20010909T014640Z\r\nSUMMARY:Say \"hi\"\r\n"
    "STATUS:NEEDS-ACTION\r\nEND:VTODO\r\n"
    "END:VCALENDAR\r\n";

const QByteArray kCsv =
    "date,time,done,picture,text,description\r\n"
    "2026-06-12,09:05,x,0,\"Dentist, room 4; bring c:\\files\",\"First line\r\nsecond; line\"\r\n"
    "2026-06-12,,,5,Call,\r\n"
    "2026-06-12,,,0,Call,\r\n"
    "2026-06-12,,,0," +
    kLong +
    ",\r\n"
    ",,,0,Caf\xef\xbf\xbd \x01,\r\n"
    ",,,0,\"Say \"\"hi\"\"\",\r\n";

// The UIDs of an export in order, each replaced by "*" in the text.
QList<QByteArray> take_uids(QByteArray& ics) {
    QList<QByteArray> uids;
    static const QRegularExpression uid(QStringLiteral("UID:([^\\r]*)\\r"));
    for (const QRegularExpressionMatch& m : uid.globalMatch(QString::fromUtf8(ics)))
        uids.append(m.captured(1).toUtf8());
    for (const QByteArray& u : uids)
        ics.replace("UID:" + u + "\r", "UID:*\r");
    return uids;
}

} // namespace

TEST(ExportCommand, WritesOneTodoPerItemFoldedAndEscapedAsTheRfcSays) {
    ToolFolder dir;
    dir.env.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QStringLiteral("1000000000"));
    dir.write("list.dat", kList);
    const QStringList ics = {"export", "list.dat", "--format", "ics"};
    ToolRun r = dir.run(ics);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> uids = take_uids(r.out);
    EXPECT_EQ(r.out.toStdString(), kIcs.toStdString());

    ASSERT_EQ(uids.size(), 6);
    EXPECT_EQ(std::set<QByteArray>(uids.begin(), uids.end()).size(), 6u);
    for (const QByteArray& uid : uids)
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{40}@quillmarch$")).match(uid).hasMatch());

    // The same items keep their UIDs: in another export, with another item added before them, and with
    // the list's days re-keyed under another locale.
    ToolRun again = dir.run(ics);
    EXPECT_EQ(take_uids(again.out), uids);
    ASSERT_EQ(dir.run({"add", "list.dat", "--no-backup", "--independent", "Call"}).exitCode, 0);
    ASSERT_EQ(dir.run({"format", "list.dat", "-o", "list.dat"}, {}, QStringLiteral("de_DE.UTF-8")).exitCode,
              0);
    ToolRun rekeyed = dir.run(ics, {}, QStringLiteral("de_DE.UTF-8"));
    ASSERT_NE(dir.read("list.dat").indexOf("12.06.2026"), -1);
    EXPECT_EQ(take_uids(rekeyed.out).mid(0, 6), uids);
}

TEST(ExportCommand, WritesCsvWithAHeaderAndQuotesFieldsThatNeedItAndNothingForABrokenList) {
    ToolFolder dir;
    dir.write("list.dat", kList);
    const ToolRun r = dir.run({"export", "list.dat", "--format", "csv", "-o", "out.csv"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(dir.read("out.csv").toStdString(), kCsv.toStdString());

    // A broken list gets check's message and status (see the add tests); the output stays as it was.
    dir.write("broken.dat", "<TODO_DATA><DAY_DATA>");
    const ToolRun broken = dir.run({"export", "broken.dat", "--format", "csv", "-o", "out.csv"});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.err.toStdString(), "broken.dat:1:23: Syntax error (position 23)\n");
    EXPECT_EQ(dir.read("out.csv").toStdString(), kCsv.toStdString());
}
