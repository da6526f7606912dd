// Every parse error with its message and position, and what stays in the tree afterwards.
#include "MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using markup_test::ChildTags;

namespace {

struct Failure {
    std::string message;
    int32_t position = 0;
    bool operator==(const Failure&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Failure& f) {
    return os << '"' << f.message << "\" at " << f.position;
}

// The error SetText raises for a text; a text that parses gives "no error" at 0.
Failure ParseFailure(const std::string& text) {
    TNoxPigger root;
    try {
        root.SetText(text);
    } catch (const ENoxPiggerError& e) {
        return {e.what(), e.Position};
    }
    return {"no error", 0};
}

Failure Syntax(int32_t position) {
    return {"Syntax error", position};
}

TEST(ParseErrors, AMissingElementOrTagNameEndIsASyntaxErrorWhereTheSearchBegan) {
    EXPECT_EQ(ParseFailure(""), (Failure{"no error", 0}));
    EXPECT_EQ(ParseFailure("hello"), Syntax(1));
    EXPECT_EQ(ParseFailure("  \r\n "), Syntax(5)); // white space is never skipped past the last character
    EXPECT_EQ(ParseFailure("<ABC"), Syntax(1));
    EXPECT_EQ(ParseFailure("  x <ABC"), Syntax(3));
    EXPECT_EQ(ParseFailure("<A><B"), Syntax(4)); // a child's tag name with no end
}

TEST(ParseErrors, AnUnclosedValueIsASyntaxErrorAtItsQuoteOrFirstCharacter) {
    EXPECT_EQ(ParseFailure("<A B=\"xyz>"), Syntax(6));
    EXPECT_EQ(ParseFailure("<A B= \r\n\"xyz>"), Syntax(9));
    EXPECT_EQ(ParseFailure("<A B=xyz"), Syntax(6));
}

TEST(ParseErrors, ASlashNotFollowedByABracketIsASyntaxErrorOnePastTheSlash) {
    EXPECT_EQ(ParseFailure("<A/x>"), Syntax(4));
    EXPECT_EQ(ParseFailure("<A B=1 / >"), Syntax(9));
    EXPECT_EQ(ParseFailure("<A B=\"1\"/"), Syntax(10));
}

TEST(ParseErrors, ContentWithoutAFurtherTagIsASyntaxErrorAfterTheSkippedWhiteSpace) {
    EXPECT_EQ(ParseFailure("<A>hello"), Syntax(4));
    EXPECT_EQ(ParseFailure("<A>\r\n\t hello world"), Syntax(8));
    EXPECT_EQ(ParseFailure("<A><B/>"), Syntax(8)); // beyond the end: the text ran out
}

TEST(ParseErrors, AWrongOrMalformedEndTagNamesTheOpenElementAtTheEndTagsBracket) {
    EXPECT_EQ(ParseFailure("<A><B></A>"), (Failure{"Unclosed tag: B", 7}));
    EXPECT_EQ(ParseFailure("<A>text</B>"), (Failure{"Unclosed tag: A", 8}));
    EXPECT_EQ(ParseFailure("<A>  </A x>"), (Failure{"Unclosed tag: A", 6}));
    EXPECT_EQ(ParseFailure("<A></ A>"), (Failure{"Unclosed tag: A", 4})); // no white space before the name
    EXPECT_EQ(ParseFailure("<A></A"), (Failure{"Unclosed tag: A", 4}));
    EXPECT_EQ(ParseFailure("<A></AB>"), (Failure{"Unclosed tag: A", 4}));
    // A start tag name may hold "=", an end tag name may not, so such an element can only close itself.
    EXPECT_EQ(ParseFailure("<A=B></A=B>"), (Failure{"Unclosed tag: A=B", 6}));
    EXPECT_EQ(ParseFailure("<A=B/>"), (Failure{"no error", 0}));
}

TEST(ParseErrors, ATextEndingInsideAStartTagStopsWithASyntaxErrorInsteadOfLooping) {
    for (const std::string& text :
         std::vector<std::string>{"<A B", "<A B=\"x\"", "<A B=\"x\"\r\n", "<A \r\n", "<A><B C D\r\n",
                                  std::string("<A B\0", 5), std::string("<A\x01", 3)}) {
        const Failure f = ParseFailure(text);
        EXPECT_EQ(f.message, "Syntax error") << text;
        EXPECT_GE(f.position, 1) << text;
        EXPECT_LE(f.position, static_cast<int32_t>(text.size()) + 1) << text;
    }
}

TEST(ParseErrors, WhatWasReadBeforeTheErrorStaysInTheTree) {
    TNoxPigger root;
    EXPECT_THROW(root.SetText("<A X=\"1\">text<B/><C Y=\"2\">inner<D>"), ENoxPiggerError);
    EXPECT_EQ(root.TagName(), "A");
    EXPECT_EQ(root.Text, "text");
    EXPECT_EQ(ChildTags(root), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(root.Child(1)->Text, "inner");
    EXPECT_EQ(ChildTags(*root.Child(1)), (std::vector<std::string>{"D"}));
}

// Records every error raised through it; the parse stops all the same.
class TRecorder : public TNoxPigger {
public:
    using TNoxPigger::TNoxPigger;
    static inline std::vector<std::string> log;
    TNoxPigger* CreateChildFor(const std::string& tag) override {
        if (tag == "SKIP") return nullptr;
        return new TRecorder(this);
    }
    void Error(const std::string& message, int32_t position) override {
        log.push_back(TagName() + " " + message + " " + std::to_string(position));
    }
};

TEST(ParseErrors, EachErrorIsRaisedThroughTheErrorOfTheElementBeingReadAndStopsTheParse) {
    TRecorder::log.clear();
    TRecorder root;
    try {
        root.SetText("<R><A></B></R>");
        FAIL() << "no error";
    } catch (const ENoxPiggerError& e) {
        EXPECT_STREQ(e.what(), "Unclosed tag: A");
        EXPECT_EQ(e.Position, 7);
    }
    EXPECT_EQ(TRecorder::log, (std::vector<std::string>{"A Unclosed tag: A 7"}));

    // A child the parent refused is read into a plain element, whose errors go the plain way.
    TRecorder::log.clear();
    EXPECT_THROW(root.SetText("<R><SKIP><X></Y></SKIP></R>"), ENoxPiggerError);
    EXPECT_TRUE(TRecorder::log.empty());
    EXPECT_EQ(root.ChildCount(), 0);
}

} // namespace
