// The writer's exact bytes and the value escaping.
#include "MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using markup_test::CrLfLines;

namespace {

TEST(Write, ATreeIsWrittenLineByLineWithTabIndentAndNoFinalLineBreak) {
    TNoxPigger root;
    root.SetTagName("ROOT");
    root.SetAttr("NAME", "YES");
    root.AddChild("ITEM")->Text = "x<y";
    root.AddChild("EMPTY");
    EXPECT_EQ(root.GetText(),
              CrLfLines({"", "<ROOT NAME=\"YES\">", "\t<ITEM>x%3Cy", "\t</ITEM>", "\t<EMPTY/>", "</ROOT>"}));
}

TEST(Write, TextComesRightAfterTheStartTagAndBeforeTheChildren) {
    TNoxPigger root;
    root.SetTagName("A");
    root.Text = "two\r\nlines";
    TNoxPigger* b = root.AddChild("B");
    b->SetAttr("K", "v");
    b->AddChild("C")->Text = "c";
    EXPECT_EQ(root.GetText(),
              CrLfLines({"", "<A>two", "lines", "\t<B K=\"v\">", "\t\t<C>c", "\t\t</C>", "\t</B>", "</A>"}));
}

TEST(Write, AnElementWithoutTagIsLeftOutWithItsWholeSubtree) {
    TNoxPigger root;
    root.SetTagName("A");
    TNoxPigger* nameless = root.AddChild("  ");
    nameless->AddChild("HIDDEN")->Text = "h";
    root.AddChild("SHOWN");
    EXPECT_EQ(root.GetText(), CrLfLines({"", "<A>", "\t<SHOWN/>", "</A>"}));

    // Only empty children: the element still has children, so it is not self-closing.
    delete root.Child(1);
    EXPECT_EQ(root.GetText(), CrLfLines({"", "<A>", "</A>"}));

    root.SetTagName("");
    EXPECT_EQ(root.GetText(), "");
}

TEST(Write, ABareRootIsOneSelfClosingTagAfterALineBreak) {
    TNoxPigger root;
    root.SetTagName("todo_data");
    EXPECT_EQ(root.GetText(), "\r\n<TODO_DATA/>");
}

TEST(Write, AChildWrittenOnItsOwnStartsWithItsOwnIndent) {
    TNoxPigger root;
    root.SetTagName("A");
    TNoxPigger* c = root.AddChild("B")->AddChild("C");
    c->AddChild("D");
    EXPECT_EQ(c->GetText(), "\r\n\t\t<C>\r\n\t\t\t<D/>\r\n\t\t</C>");
}

TEST(Write, EveryValueIsQuotedAndEscapedAndNamesAreWrittenAsStored) {
    TNoxPigger root;
    root.SetText("<A EMPTY QUOTE=\"%22\" MIX=\"a&b'c=d/e\tf\r\ng h\xe9\"/>");
    root.AppendAttr("DUP", "1");
    root.AppendAttr("DUP", "2");
    EXPECT_EQ(root.GetText(),
              "\r\n<A EMPTY=\"\" QUOTE=\"%22\" MIX=\"a&b'c=d/e\tf\r\ng h\xe9\" DUP=\"1\" DUP=\"2\"/>");
}

TEST(Write, SaveToStreamWritesExactlyTheTextAndNothingForAClearedElement) {
    TNoxPigger root;
    std::ostringstream empty;
    root.SaveToStream(empty);
    EXPECT_EQ(empty.str(), "");

    root.SetText("<A B=\"1\"><C/></A>");
    std::ostringstream out;
    out << "prefix";
    root.SaveToStream(out);
    EXPECT_EQ(out.str(), "prefix" + root.GetText());
}

TEST(Escaping, EncodeEscapesControlCharactersQuotePercentAndAngleBracketsOnly) {
    for (int c = 0; c < 256; ++c) {
        const bool escaped = c <= 8 || c == 11 || c == 12 || (c >= 14 && c <= 31) || c == '"' || c == '%' ||
                             c == '<' || c == '>';
        const std::string in(1, static_cast<char>(c));
        const std::string out = MarkupEncode(in);
        if (escaped) {
            static const char hex[] = "0123456789ABCDEF";
            EXPECT_EQ(out, (std::string{'%', hex[c >> 4], hex[c & 15]})) << "code " << c;
        } else {
            EXPECT_EQ(out, in) << "code " << c;
        }
        EXPECT_EQ(MarkupDecode(out), in) << "code " << c;
    }
    EXPECT_EQ(MarkupEncode("a<b>\"c\"%d"), "a%3Cb%3E%22c%22%25d");

    // Texts are escaped sixteen bytes at a time: every length around that, with the sign anywhere.
    for (size_t n = 1; n <= 50; ++n)
        for (size_t at = 0; at < n; ++at) {
            std::string in(n, 'a'), expected(n, 'a');
            in[at] = '<';
            expected.replace(at, 1, "%3C");
            ASSERT_EQ(MarkupEncode(in), expected) << n << " bytes, sign at " << at;
            ASSERT_EQ(MarkupEncode(std::string(n, '\t')), std::string(n, '\t')) << n;
        }
}

TEST(Escaping, DecodeTakesAnyTwoCharactersAfterAPercentSignByTheSameArithmetic) {
    EXPECT_EQ(MarkupDecode("%41%42c"), "ABc");
    EXPECT_EQ(MarkupDecode("%4a"), std::string(1, static_cast<char>(106)));
    EXPECT_EQ(MarkupDecode("%zz"), std::string(1, static_cast<char>((16 * 67 + 67) % 256)));
    EXPECT_EQ(MarkupDecode("%!!"), std::string(1, '\x01')); // 16 * -15 - 15 = -255, which is 1 modulo 256
    EXPECT_EQ(MarkupDecode("%\xff\xff"), std::string(1, static_cast<char>((16 * 200 + 200) % 256)));
    EXPECT_EQ(MarkupDecode("%%41"), std::string(1, static_cast<char>(16 * -11 + 4 + 256)) + "1");
    EXPECT_EQ(MarkupDecode(std::string("%00x", 4)), std::string("\0x", 2));
}

TEST(Escaping, ATruncatedEscapeAtTheEndIsCopiedAsItStands) {
    EXPECT_EQ(MarkupDecode("%"), "%");
    EXPECT_EQ(MarkupDecode("ab%4"), "ab%4");
    EXPECT_EQ(MarkupDecode("%41%"), "A%");
    TNoxPigger root;
    root.SetText("<A V=\"x%4\">text%</A>");
    EXPECT_EQ(root.GetAttr("V"), "x%4");
    EXPECT_EQ(root.Text, "text%");
}

} // namespace
