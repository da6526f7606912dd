// A loaded document keeps its strings and lists together; these tests edit, move, copy and write such
// documents and check that nothing depends on storage that is gone or too small.
#include "MarkupTestSupport.h"
#include "markup/NoxPigger.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using markup_test::CrLfLines;

namespace {

std::unique_ptr<TNoxPigger> Loaded(const std::string& text) {
    auto root = std::make_unique<TNoxPigger>();
    root->SetText(text);
    return root;
}

// Every byte of it needs escaping, so a value takes three times its length when written.
std::string AllEscaped(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += "<>\"%\x01"[i % 5];
    return s;
}

} // namespace

TEST(DocumentStorage, ElementsMovedOrCopiedOutOfADocumentOutliveIt) {
    auto source = Loaded("<A><B X=\"1\">bee<C Y=\"%25\">see</C></B><D>dee</D></A>");
    auto target = Loaded("<T><U>you</U></T>");
    TNoxPigger* b = source->Child(0);
    b->SetParent(target.get());
    TNoxPigger copy;
    copy.Assign(*source->Child(0)); // D, after B left
    const TMarkupString kept = b->Child(0)->AttrValue(0);
    source.reset();

    EXPECT_EQ(target->GetText(), CrLfLines({"", "<T>", "\t<U>you", "\t</U>", "\t<B X=\"1\">bee",
                                            "\t\t<C Y=\"%25\">see", "\t\t</C>", "\t</B>", "</T>"}));
    EXPECT_EQ(copy.GetText(), CrLfLines({"", "<D>dee", "</D>"}));
    EXPECT_EQ(kept, "%");

    // And the other way round: the target goes first, the moved subtree stays usable on its own.
    b->SetParent(nullptr);
    target.reset();
    EXPECT_EQ(b->Child(0)->Text, "see");
    delete b;
}

TEST(DocumentStorage, EditsOfALoadedDocumentAreWrittenAsMade) {
    auto root = Loaded("<A P=\"1\" Q=\"2\">one<B/><C>three</C></A>");
    root->SetAttr("P", "a longer value than before");
    root->DeleteAttr("Q");
    for (const char* name : {"R", "S", "T", "U", "V"})
        root->SetAttr(name, name);
    root->Text += " and more";
    for (int i = 0; i < 5; ++i)
        root->AddChild("N")->Text = std::to_string(i);
    root->Child(1)->Text = "replaced";
    root->Child(0)->SetAttr("X", "y");
    delete root->Child(2);
    root->MoveChild(0, 1);

    const std::string text = root->GetText();
    EXPECT_EQ(
        text,
        CrLfLines({"",
                   "<A P=\"a longer value than before\" R=\"R\" S=\"S\" T=\"T\" U=\"U\" V=\"V\">one and more",
                   "\t<C>replaced", "\t</C>", "\t<B X=\"y\"/>", "\t<N>1", "\t</N>", "\t<N>2", "\t</N>",
                   "\t<N>3", "\t</N>", "\t<N>4", "\t</N>", "</A>"}));
    EXPECT_EQ(Loaded(text)->GetText(), text);
}

TEST(DocumentStorage, TextsAreWrittenWholeHoweverFarTheRoomWasGuessedWrong) {
    // Built by hand, with no earlier size to go by, and each value three times its length when written.
    TNoxPigger root;
    root.SetTagName("R");
    for (size_t i = 0; i < 3000; ++i) {
        TNoxPigger* c = root.AddChild("C");
        c->SetAttr("V", AllEscaped(i % 41 + 1));
        c->Text = AllEscaped(i % 37);
    }
    const std::string built = root.GetText();
    ASSERT_EQ(built.size(), root.TextSize());

    // Loaded, then grown to several times the size it was loaded from, then written in parts.
    auto loaded = Loaded(built);
    EXPECT_EQ(loaded->GetText(), built);
    for (int round = 0; round < 3; ++round) {
        TNoxPigger copy;
        copy.Assign(*loaded);
        while (copy.ChildCount() > 0)
            copy.Child(0)->SetParent(loaded.get());
    }
    const std::string grown = loaded->GetText();
    EXPECT_EQ(grown.size(), loaded->TextSize());
    auto again = Loaded(grown);
    ASSERT_EQ(again->ChildCount(), 8 * 3000);
    for (int i : {0, 2999, 3000, 23999}) {
        const TNoxPigger* c = again->Child(i);
        EXPECT_EQ(c->GetAttr("V"), AllEscaped(static_cast<size_t>(i % 3000) % 41 + 1)) << i;
        EXPECT_EQ(c->Text, AllEscaped(static_cast<size_t>(i % 3000) % 37)) << i;
        EXPECT_EQ(c->GetText(),
                  CrLfLines({"", "\t<C V=\"" + MarkupEncode(c->GetAttr("V")) + "\"" +
                                     (c->Text.empty() ? "/>" : ">" + MarkupEncode(c->Text) + "\r\n\t</C>")}))
            << i;
    }
}
