// Layout rules: bands down the page, rows from one template stacked without gaps, page breaks that never
// cut a band, the page footer's numbers, table heads repeated on every page of their table.
#include "LaidReportSupport.h"
#include "ReportText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using namespace ReportText;

constexpr double kEps = 1e-6;

TEST(ReportLayoutTest, StacksBandsAndTheirTemplateRowsDownThePage) {
    const Laid laid = LayText(Report(Title("Monday") + Item("Buy milk", true) +
                                     Description({"first", "second", "third"}) + Item("Call Bob", false)));
    ASSERT_EQ(laid.read, 0);
    EXPECT_TRUE(laid.problems.empty()) << laid.problems.front();
    const QRectF title = Find(laid.report, "Monday").box();
    EXPECT_NEAR(title.top(), 2.12, kEps);
    // The item stands right under the title, its picture beside its text.
    const QRectF milk = Find(laid.report, "Buy milk").box();
    EXPECT_NEAR(milk.top(), title.bottom(), kEps);
    const auto pictures = OfKind(laid.report.pages[0], DrawCommand::Kind::Image);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_NEAR(pictures[0]->rect.top(), milk.top(), kEps);
    EXPECT_LE(pictures[0]->rect.right(), milk.left());

    // The description band closes up under the item. Its heading keeps the template's place above the
    // first line (or is grown to its text's height); each further line comes under the one before, not
    // at the template's offset again.
    const QRectF heading = Find(laid.report, "Description:").box();
    EXPECT_NEAR(heading.top(), milk.bottom(), kEps);
    const QRectF first = Find(laid.report, "first").box(), second = Find(laid.report, "second").box(),
                 third = Find(laid.report, "third").box();
    EXPECT_NEAR(first.top(), std::max(heading.bottom(), milk.bottom() + 3.97 - 0.26), kEps);
    EXPECT_NEAR(second.top(), first.bottom(), kEps);
    EXPECT_NEAR(third.top(), second.bottom(), kEps);
    EXPECT_NEAR(Find(laid.report, "Call Bob").box().top(), third.bottom(), kEps);
}

TEST(ReportLayoutTest, PlacesLabelsWithoutPlaceOneAfterAnotherAndSpansAlignedOnes) {
    const std::string body =
        "<band><LABEL TEXT=\"a\" WIDTH=\"30\"/><LABEL TEXT=\"b\" WIDTH=\"40\"/>"
        "<LABEL TEXT=\"c\"/></band>"
        "<band arrange=\"vertical\"><LABEL TEXT=\"d\"/><LABEL TEXT=\"e\" ALIGNMENT=\"RIGHT\"/>"
        "<LABEL TEXT=\"f\" LEFT=\"50\" ALIGNMENT=\"CENTER\"/></band>";
    const Laid laid = LayText(Report(body));
    const QRectF a = Find(laid.report, "a").box();
    EXPECT_EQ(a.left(), 0);
    EXPECT_EQ(Find(laid.report, "b").box().left(), 30);
    EXPECT_EQ(Find(laid.report, "c").box().left(), 70);
    const QRectF d = Find(laid.report, "d").box(), e = Find(laid.report, "e").box(),
                 f = Find(laid.report, "f").box();
    EXPECT_NEAR(d.top(), a.bottom(), kEps);
    EXPECT_NEAR(e.top(), d.bottom(), kEps); // stacked: no TOP in a vertical band
    EXPECT_EQ(e.left(), 0);
    EXPECT_EQ(e.width(), 190); // aligned without a place: the whole line
    EXPECT_LT(f.width(), 10);  // with a place of its own: its text's width
    const Placed footer = Find(laid.report, "Page 1 of 1");
    EXPECT_EQ(footer.box().width(), 190);
    EXPECT_TRUE(footer.command->flags & Qt::AlignHCenter);
    EXPECT_NEAR(footer.box().bottom(), 277, kEps);
}

TEST(ReportLayoutTest, BreaksPagesBetweenBandsAndNumbersThemInTheFooter) {
    std::string body;
    for (int i = 0; i < 150; ++i) {
        body += Item("item " + std::to_string(i), i % 2 == 0);
        std::vector<std::string> lines;
        for (int j = 0; j < i % 5; ++j)
            lines.push_back("line " + std::to_string(j) + " of " + std::to_string(i));
        if (!lines.empty()) body += Description(lines);
    }
    const Laid laid = LayText(Report(body), QSizeF(190, 100));
    const size_t pages = laid.report.pages.size();
    ASSERT_GT(pages, 10u);
    double footerTop = 100;
    for (size_t p = 0; p < pages; ++p) {
        const QString footer = QString("Page %1 of %2").arg(p + 1).arg(pages);
        const Placed number = Find(laid.report, footer);
        EXPECT_EQ(number.page, static_cast<int>(p)) << footer.toStdString();
        footerTop = number.box().top();
        EXPECT_FALSE(laid.report.pages[p].clipped);
        for (const DrawCommand& c : laid.report.pages[p].body)
            EXPECT_LE(c.rect.bottom(), footerTop - ReportLayout::kFooterGapMm + kEps);
    }
    // A description band moves to the next page whole, heading and lines together.
    for (int i = 0; i < 150; ++i) {
        for (int j = 1; j < i % 5; ++j)
            EXPECT_EQ(Find(laid.report, QString("line %1 of %2").arg(j).arg(i)).page,
                      Find(laid.report, QString("line 0 of %1").arg(i)).page);
    }
}

TEST(ReportLayoutTest, SplitsOnlyWhatIsTallerThanAPage) {
    std::vector<std::string> lines;
    for (int j = 0; j < 40; ++j)
        lines.push_back("line " + std::to_string(j));
    // Forty lines make a band of some 230 mm: split between its rows, every row whole.
    const Laid rows = LayText(Report(Description(lines)), QSizeF(190, 100));
    ASSERT_GE(rows.report.pages.size(), 3u);
    for (int j = 0; j < 40; ++j) {
        const Placed line = Find(rows.report, QString("line %1").arg(j));
        ASSERT_GE(line.page, 0);
        EXPECT_GE(line.box().top(), -kEps);
        EXPECT_FALSE(rows.report.pages[static_cast<size_t>(line.page)].clipped);
    }
    // One label taller than three pages: cut where the pages end, and clipped there.
    const Laid tall = LayText(Report("<band><LABEL TEXT=\"tall\" HEIGHT=\"250\" WORDWRAP=\"YES\"/></band>"),
                              QSizeF(190, 100));
    const std::vector<Placed> pieces = FindAll(tall.report, "tall");
    ASSERT_EQ(pieces.size(), tall.report.pages.size());
    ASSERT_EQ(pieces.size(), 3u);
    for (const LaidPage& page : tall.report.pages)
        EXPECT_TRUE(page.clipped);
}

TEST(ReportLayoutTest, RepeatsATableHeadOnEveryPageOfItsTable) {
    std::string table =
        "<band left=\"0\" tablehead=\"YES\" border-bottom=\"0.25\">\r\n<LABEL VALIGN=\"BOTTOM\" "
        "TEXT=\"Name  \" WIDTH=\"50.00\" /><LABEL VALIGN=\"BOTTOM\" TEXT=\"Count  \" WIDTH=\"20.00\" "
        "ALIGNMENT=\"RIGHT\"/>\r\n</band>\r\n";
    for (int i = 0; i < 60; ++i)
        table += "<band left=\"0\">\r\n<LABEL VALIGN=\"BOTTOM\" TEXT=\"row " + std::to_string(i) +
                 "  \" WIDTH=\"50.00\"  BORDER-RIGHT=\"0.25\" BORDER-BOTTOM=\"0.25\"/><LABEL TEXT=\"" +
                 std::to_string(i) + "\" WIDTH=\"20.00\" ALIGNMENT=\"RIGHT\"/>\r\n</band>\r\n";
    table += "<tableend/>\r\n" + Item("after", false); // no head repeats past the end
    const Laid laid = LayText(Report(Item("before", false) + table), QSizeF(190, 100));
    EXPECT_TRUE(laid.problems.empty()) << laid.problems.front();

    const std::vector<Placed> heads = FindAll(laid.report, "Name");
    const int firstRowPage = Find(laid.report, "row 0").page, lastRowPage = Find(laid.report, "row 59").page;
    ASSERT_GT(lastRowPage, firstRowPage);
    ASSERT_EQ(heads.size(), static_cast<size_t>(lastRowPage - firstRowPage + 1));
    for (size_t i = 0; i < heads.size(); ++i) {
        EXPECT_EQ(heads[i].page, firstRowPage + static_cast<int>(i));
        if (i > 0) {
            EXPECT_NEAR(heads[i].box().top(), 0, kEps); // at the top of each further page
        }
    }
    // Cells are placed by their widths; the head's line and the cells' borders are drawn.
    EXPECT_EQ(Find(laid.report, "Count").box().left(), 50);
    EXPECT_GT(OfKind(laid.report.pages[1], DrawCommand::Kind::Line).size(), 2u);

    // A head never stays alone at the bottom of a page: with room for it but not for its first row, it
    // moves on with the row.
    const double bodyHeight =
        FindAll(laid.report, QString("Page 1 of %1").arg(laid.report.pages.size())).front().box().top() -
        ReportLayout::kFooterGapMm;
    const QRectF head = heads.front().box(), row = Find(laid.report, "row 0").box();
    const double filler = bodyHeight - (row.bottom() - head.top()) + row.height() / 2;
    const Laid moved =
        LayText(Report("<band height=\"" + std::to_string(filler) + "\"></band>" + table), QSizeF(190, 100));
    EXPECT_EQ(Find(moved.report, "Name").page, 1);
    EXPECT_EQ(Find(moved.report, "row 0").page, 1);
}

} // namespace
