// Generated documents written and read back: through text, through files, and copied both ways.
#include "MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Generator {
public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    // A random tree whose every value the text form keeps: texts do not begin or end with a TAB,
    // line break or space, and, for trees that go through files, hold no lone CR or LF.
    void Fill(TNoxPigger& root, bool forFiles) {
        forFiles_ = forFiles;
        root.Clear();
        root.SetTagName(Name());
        std::vector<std::pair<TNoxPigger*, int>> work{{&root, 0}};
        while (!work.empty()) {
            auto [e, depth] = work.back();
            work.pop_back();
            const int attrs = Below(4);
            for (int i = 0; i < attrs; ++i)
                e->SetAttr(Name(), Bytes(1 + Below(12)));
            if (Below(3) == 0) e->Text = Text();
            const int children = depth < 6 ? Below(5) : 0;
            for (int i = 0; i < children; ++i)
                work.emplace_back(e->AddChild(Name()), depth + 1);
        }
    }

private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::string Name() {
        static const std::string chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789-.:\xc4\xe9";
        std::string s;
        const int n = 1 + Below(8);
        for (int i = 0; i < n; ++i)
            s += chars[static_cast<size_t>(Below(static_cast<int>(chars.size())))];
        return s;
    }

    // Any bytes, with CR LF pairs and, outside files, lone CR and LF too.
    std::string Bytes(int n) {
        std::string s;
        for (int i = 0; i < n; ++i) {
            char c = static_cast<char>(Below(256));
            if (forFiles_ && (c == '\r' || c == '\n'))
                s += "\r\n";
            else
                s += c;
        }
        return s;
    }

    std::string Text() {
        static const std::string ends = "ax%<>\"&\x01\x1f\xff";
        std::string s(1, ends[static_cast<size_t>(Below(static_cast<int>(ends.size())))]);
        s += Bytes(Below(20));
        s += ends[static_cast<size_t>(Below(static_cast<int>(ends.size())))];
        return s;
    }

    std::mt19937 rng_;
    bool forFiles_ = false;
};

// Same tags, attributes (in order), texts and children, compared without recursion.
::testing::AssertionResult SameTree(const TNoxPigger& a, const TNoxPigger& b) {
    std::vector<std::pair<const TNoxPigger*, const TNoxPigger*>> work{{&a, &b}};
    while (!work.empty()) {
        auto [x, y] = work.back();
        work.pop_back();
        if (x->TagName() != y->TagName() || x->Text != y->Text || x->Attributes() != y->Attributes() ||
            x->ChildCount() != y->ChildCount())
            return ::testing::AssertionFailure()
                   << "differs at <" << x->TagName() << "> vs <" << y->TagName() << ">";
        for (int i = 0; i < x->ChildCount(); ++i)
            work.emplace_back(x->Child(i), y->Child(i));
    }
    return ::testing::AssertionSuccess();
}

TEST(RoundTrip, GeneratedTreesReadBackFromTheirTextUnchanged) {
    Generator gen(20260612);
    for (int doc = 0; doc < 300; ++doc) {
        TNoxPigger original;
        gen.Fill(original, false);
        const std::string text = original.GetText();
        ASSERT_EQ(original.TextSize(), text.size()) << "document " << doc;
        if (original.ChildCount() > 0) {
            ASSERT_EQ(original.Child(0)->TextSize(), original.Child(0)->GetText().size())
                << "document " << doc;
        }
        TNoxPigger back;
        back.SetText(text);
        ASSERT_TRUE(SameTree(original, back)) << "document " << doc;
        ASSERT_EQ(back.GetText(), text) << "document " << doc;
    }
}

TEST(RoundTrip, GeneratedTreesReadBackFromTheirFilesUnchanged) {
    const fs::path file = fs::temp_directory_path() / ("qm_roundtrip_" + std::to_string(::getpid()) + ".dat");
    Generator gen(7);
    for (int doc = 0; doc < 100; ++doc) {
        TNoxPigger original;
        gen.Fill(original, true);
        original.SaveToFile(file.string());
        TNoxPigger back;
        back.LoadFromFile(file.string());
        ASSERT_TRUE(SameTree(original, back)) << "document " << doc;
    }
    fs::remove(file);
}

TEST(RoundTrip, CopyingThroughTextGivesTheSameTreeAsAssign) {
    Generator gen(99);
    for (int doc = 0; doc < 50; ++doc) {
        TNoxPigger original;
        gen.Fill(original, false);
        TNoxPigger holder;
        TNoxPigger* viaAssign = holder.AddChild("X");
        viaAssign->Assign(original);
        TNoxPigger* viaText = holder.AddChild("Y");
        viaText->SetText(original.GetText());
        ASSERT_TRUE(SameTree(*viaAssign, *viaText)) << "document " << doc;
        ASSERT_TRUE(SameTree(original, *viaText)) << "document " << doc;
    }
}

TEST(RoundTrip, TextThatCannotSurviveLosesOnlyItsOuterWhiteSpaceAndThenStaysStable) {
    TNoxPigger root;
    root.SetTagName("A");
    root.Text = " \r\n\tpadded\t \r\n";
    root.AddChild("B")->Text = " ";
    root.SetAttr("V", " padded ");
    TNoxPigger back;
    back.SetText(root.GetText());
    EXPECT_EQ(back.Text, "padded");
    EXPECT_EQ(back.Child(0)->Text, "");
    EXPECT_EQ(back.GetAttr("V"), " padded ");
    const std::string stable = back.GetText();
    back.SetText(stable);
    EXPECT_EQ(back.GetText(), stable);
}

} // namespace
