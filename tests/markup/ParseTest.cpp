// Reading text into a tree: the grammar, names, values, text runs and what is passed over.
#include "MarkupTestSupport.h"

#include <gtest/gtest.h>

using markup_test::ChildTags;

namespace {

TEST(Parse, TagsAreStoredUpperCaseAndEndTagsMatchWithoutRegardToCase) {
    TNoxPigger root;
    root.SetText("<todo_data><Day_Data DATE=\"1\"></day_data></TODO_data>");
    EXPECT_EQ(root.TagName(), "TODO_DATA");
    EXPECT_EQ(ChildTags(root), (std::vector<std::string>{"DAY_DATA"}));
}

TEST(Parse, WhiteSpaceIsAllowedAfterTheOpeningBracketAroundEqualsAndBeforeClosingBrackets) {
    TNoxPigger root;
    root.SetText("\r\n\t < a\r\n\tb = \"1\"\tc\t=\r\nx  >< child  /></A\t>");
    EXPECT_EQ(root.TagName(), "A");
    EXPECT_EQ(root.GetAttr("B"), "1");
    EXPECT_EQ(root.GetAttr("C"), "x");
    EXPECT_EQ(ChildTags(root), (std::vector<std::string>{"CHILD"}));
}

TEST(Parse, ABareValueEndsAtTheFirstSpaceBracketSlashOrLineBreak) {
    TNoxPigger root;
    root.SetText("<A B=x/>");
    EXPECT_EQ(root.GetAttr("B"), "x");
    EXPECT_EQ(root.ChildCount(), 0);

    root.SetText("<A B=x\"y C=1\tD=2\rE=3\nF=%41>text</A>");
    EXPECT_EQ(root.GetAttr("B"), "x\"y");
    EXPECT_EQ(root.GetAttr("C"), "1");
    EXPECT_EQ(root.GetAttr("D"), "2");
    EXPECT_EQ(root.GetAttr("E"), "3");
    EXPECT_EQ(root.GetAttr("F"), "A");
    EXPECT_EQ(root.Text, "text");
}

TEST(Parse, AQuotedValueKeepsEverythingBetweenTheQuotesAndIsDecoded) {
    TNoxPigger root;
    root.SetText("<A V=\"  two\r\nlines\tand %22quotes%22 %25 %3C%3E \" W=\"\"/>");
    EXPECT_EQ(root.GetAttr("V"), "  two\r\nlines\tand \"quotes\" % <> ");
    ASSERT_EQ(root.AttrCount(), 2);
    EXPECT_EQ(root.AttrName(1), "W");
    EXPECT_EQ(root.AttrValue(1), ""); // an empty value is stored by the parser
}

TEST(Parse, AnAttributeWithoutEqualsHasTheEmptyValueAndRepeatedNamesAreAllKept) {
    TNoxPigger root;
    root.SetText("<A flag b=1 B=2 other/>");
    ASSERT_EQ(root.AttrCount(), 4);
    EXPECT_EQ(root.AttrName(0), "FLAG");
    EXPECT_EQ(root.AttrValue(0), "");
    EXPECT_EQ(root.AttrName(2), "B");
    EXPECT_EQ(root.GetAttr("B"), "1");
    EXPECT_EQ(root.AttrName(3), "OTHER");

    // Far more attributes than a start tag usually carries keep their order too.
    std::string many = "<A";
    for (int i = 0; i < 40; ++i)
        many += " n" + std::to_string(i) + "=\"v%25" + std::to_string(i) + "\"";
    root.SetText(many + "/>");
    ASSERT_EQ(root.AttrCount(), 40);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(root.AttrName(i), "N" + std::to_string(i));
        EXPECT_EQ(root.AttrValue(i), "v%" + std::to_string(i));
    }
}

TEST(Parse, NamesAreNotDecodedButValuesAndTextAre) {
    TNoxPigger root;
    root.SetText("<A%41 B%41=%41>%41</A%41>");
    EXPECT_EQ(root.TagName(), "A%41");
    EXPECT_EQ(root.AttrName(0), "B%41");
    EXPECT_EQ(root.AttrValue(0), "A");
    EXPECT_EQ(root.Text, "A");
}

TEST(Parse, TextRunsAreTrimmedAndJoinedWithoutSeparatorButKeepTheirInnerWhiteSpace) {
    TNoxPigger root;
    root.SetText("<A>  hello  <B/>  world  </A>");
    EXPECT_EQ(root.Text, "helloworld");

    root.SetText("<A>\r\n\tfirst line\r\n\tsecond  line\r\n<B>x</B> %20y </A>");
    EXPECT_EQ(root.Text, "first line\r\n\tsecond  line y");
    EXPECT_EQ(root.Child(0)->Text, "x");
}

TEST(Parse, AnythingBeforeTheFirstElementAndAfterItIsIgnored) {
    TNoxPigger root;
    root.SetText("garbage > here\r\n<A><B/></A><SECOND/>trailing <junk");
    EXPECT_EQ(root.TagName(), "A");
    EXPECT_EQ(ChildTags(root), (std::vector<std::string>{"B"}));
}

TEST(Parse, SetTextClearsFirstAndTheEmptyTextLeavesTheElementCleared) {
    TNoxPigger root;
    root.SetText("<A X=\"1\">t<B/></A>");
    root.SetText("<C/>");
    EXPECT_EQ(root.TagName(), "C");
    EXPECT_EQ(root.AttrCount(), 0);
    EXPECT_EQ(root.Text, "");
    EXPECT_EQ(root.ChildCount(), 0);
    root.SetText("");
    EXPECT_EQ(root.TagName(), "");
    EXPECT_EQ(root.GetText(), "");
}

TEST(Parse, SetTextMayReadTextHeldInTheTreeItReplaces) {
    TNoxPigger root;
    root.SetText("<A><B>&lt;keep%3CC/%3E</B></A>");
    ASSERT_EQ(root.Child(0)->Text, "&lt;keep<C/>");
    root.SetText(root.Child(0)->Text); // the child is freed by the clear before the text is read
    EXPECT_EQ(root.TagName(), "C");
}

TEST(Parse, ParseElementStartsAtAPositionAndLeavesItJustAfterTheElement) {
    const std::string text = "<A/> xx <B k=v>t</B> <C/>";
    TNoxPigger first, second;
    int32_t p = 1;
    first.ParseElement(text, p);
    EXPECT_EQ(first.TagName(), "A");
    EXPECT_EQ(p, 5);
    second.ParseElement(text, p);
    EXPECT_EQ(second.TagName(), "B");
    EXPECT_EQ(second.Text, "t");
    EXPECT_EQ(p, 21);
}

TEST(Parse, ControlCharactersAndHighBytesPassThroughNamesValuesAndTextUnchanged) {
    TNoxPigger root;
    const std::string text = std::string("<A\x01\xe4 V=\"\x7f\xff\x00z\">\xc3\xa9\x02t</A\x01\xe4>", 24);
    root.SetText(text);
    EXPECT_EQ(root.TagName(), "A\x01\xe4");
    EXPECT_EQ(root.GetAttr("V"), std::string("\x7f\xff\x00z", 4));
    EXPECT_EQ(root.Text, "\xc3\xa9\x02t");
}

} // namespace
