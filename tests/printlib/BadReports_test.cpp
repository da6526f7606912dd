// Broken and hostile reports: a negative result, what can be drawn is drawn, nothing crashes or hangs.
#include "LaidReportSupport.h"
#include "ReportText.h"
#include "printlib/PrintResult.h"
#include "printlib/ReportLimits.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

namespace {

using namespace ReportText;

struct BadCase {
    const char* name;
    std::string text;
    int32_t read;         // what reading answers
    bool noted;           // whether a problem is noted, so the print answers with a negative result
    const char* survivor; // a text still drawn, or none when nothing is
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

std::string Ok() {
    return Item("survivor", true);
}

class BadReportTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadReportTest, DrawsWhatItCanAndSaysSo) {
    const BadCase& c = GetParam();
    const Laid laid = LayText(c.text);
    EXPECT_EQ(laid.read, c.read);
    EXPECT_EQ(!laid.problems.empty(), c.noted);
    if (c.survivor) {
        EXPECT_GE(Find(laid.report, c.survivor).page, 0);
    } else {
        EXPECT_TRUE(laid.report.pages.empty());
    }
}

std::string Repeat(const std::string& s, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += s;
    return out;
}

std::string Body(const std::string& body) {
    return "<REPORT><BODY>" + body + "</BODY></REPORT>";
}

std::string Label(const std::string& attributes) {
    return "<band><LABEL TEXT=\"survivor\" " + attributes + "/></band>";
}

const std::string kHexPictures =
    "<IMAGES><IMAGEDATA NAME=\"odd\">5A4</IMAGEDATA><IMAGEDATA NAME=\"letters\">XYZW"
    "</IMAGEDATA><IMAGEDATA NAME=\"notzbm\">424D0000</IMAGEDATA><IMAGEDATA "
    "NAME=\"cut\">5A424D78DA73F2AD63</IMAGEDATA></IMAGES>";

INSTANTIATE_TEST_SUITE_P(
    Reports, BadReportTest,
    ::testing::Values(
        BadCase{"NotMarkup", "just some words", PrintResult::kNotAReport, true, nullptr},
        BadCase{"DataFile", "<TODO_DATA><DAY_DATA DATE=\"1/1/2026\"/></TODO_DATA>", PrintResult::kNotAReport,
                false, nullptr},
        BadCase{"NoBody", "<REPORT><HEAD/></REPORT>", PrintResult::kNotAReport, true, nullptr},
        BadCase{"CutShort", "<REPORT>\r\n<BODY>\r\n" + Ok() + "<band><LABEL TEXT=\"lost",
                PrintResult::kNotAReport, true, "survivor"},
        BadCase{"UnknownElements",
                "<REPORT><BODY>" + Ok() +
                    "<CHART/><band><SHAPE/></band></BODY><HEAD><PAGEHEADER/></HEAD><X/></REPORT>",
                0, true, "survivor"},
        BadCase{"MissingFont", Body(Label("FONT=\"Nowhere12\"")), 0, true, "survivor"},
        BadCase{"FontWithoutUsableSize",
                "<REPORT><BODY>" + Label("FONT=\"F\"") +
                    "</BODY><HEAD><FONT NAME=\"F\" SIZE=\"-3\"/></HEAD></REPORT>",
                0, true, "survivor"},
        BadCase{"BadColours", Body(Label("COLOR=\"red\" BGCOLOR=\"#12345G\"")), 0, true, "survivor"},
        BadCase{"BadAlignments", Body(Label("ALIGNMENT=\"JUSTIFY\" VALIGN=\"MIDDLE\"")), 0, true, "survivor"},
        BadCase{"BadPictures",
                "<REPORT><BODY>" + Label("") +
                    "<band><IMAGE NAME=\"odd\"/><IMAGE NAME=\"letters\"/><IMAGE NAME=\"notzbm\"/>"
                    "<IMAGE NAME=\"cut\"/><IMAGE NAME=\"absent\" WIDTH=\"5\" HEIGHT=\"5\"/></band></BODY>" +
                    kHexPictures + "</REPORT>",
                0, true, "survivor"},
        BadCase{"NegativeAndHugeLengths",
                Body(Label("LEFT=\"-5\" TOP=\"1e308\" WIDTH=\"99999999999999999999999\" HEIGHT=\"nan\"") +
                     "<band height=\"-1\" border-top=\"inf\" left=\"--2\"/>"),
                0, true, "survivor"},
        BadCase{"StrayTableEnd",
                Body("<band tablehead=\"YES\"><LABEL TEXT=\"head\"/></band>" + Label("") +
                     "<tableend/>"
                     "<tableend/>"),
                0, true, "survivor"},
        BadCase{"TooDeep",
                Body(Repeat("<band>", ReportLimits::kMaxDepth) + Repeat("</band>", ReportLimits::kMaxDepth)),
                PrintResult::kTooLarge, false, nullptr}),
    [](const ::testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

TEST(BadReportFileTest, RefusesFilesThatAreMissingEmptyOrNoFilesAtAll) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    for (const QString& name :
         {dir.filePath("absent.r"), Write(QDir(dir.path()), "empty.r", ""), dir.path(), fifo}) {
        ReportSource source;
        EXPECT_EQ(source.LoadFile(name), PrintResult::kCannotRead) << name.toStdString();
        EXPECT_FALSE(source.Drawable());
    }
}

TEST(BadReportFileTest, RefusesAMillionBandsAndMorePagesThanAnyReportHas) {
    const Laid million = LayText(Body(Repeat("<band></band>", 1'000'000)));
    EXPECT_EQ(million.read, PrintResult::kTooLarge);
    EXPECT_TRUE(million.report.pages.empty());
    // Bands are clamped to a metre each; five thousand of them still make too many pages.
    const Laid pages = LayText(Body(Repeat("<band height=\"5000\"><LABEL TEXT=\"x\"/></band>", 5000)));
    EXPECT_EQ(pages.read, 0);
    EXPECT_EQ(pages.report.result, PrintResult::kTooLarge);
    EXPECT_TRUE(pages.report.pages.empty());
}

} // namespace
