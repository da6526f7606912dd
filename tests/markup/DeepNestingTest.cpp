// Deeply nested documents: nothing may recurse once per level, so they load, save, copy and free
// without exhausting the machine stack.
#include "MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// <A><A>...</A></A> without indentation: 7 bytes a level. Never written back: with its indentation it
// would be some 10 GB.
std::string Unindented(int levels, const std::string& lineBreak = "") {
    std::string text;
    text.reserve(static_cast<size_t>(levels) * (7 + 2 * lineBreak.size()));
    for (int i = 0; i < levels; ++i)
        text += "<A>" + lineBreak;
    for (int i = 0; i < levels; ++i)
        text += "</A>" + lineBreak;
    return text;
}

TEST(DeepNesting, TenThousandLevelsLoadAndSaveByteIdenticallyAndAreFreed) {
    constexpr int kLevels = 10000;
    auto built = std::make_unique<TNoxPigger>();
    built->SetTagName("A");
    TNoxPigger* e = built.get();
    for (int i = 1; i < kLevels; ++i)
        e = e->AddChild(i % 2 ? "B" : "A");
    e->SetAttr("LEAF", "yes");
    e->Text = "deepest";
    ASSERT_EQ(e->Indent().size(), static_cast<size_t>(kLevels + 1));

    const fs::path dir = fs::temp_directory_path() / ("qm_deep_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string first = (dir / "first.dat").string(), second = (dir / "second.dat").string();
    built->SaveToFile(first);
    const std::string text = built->GetText();
    built.reset();

    auto loaded = std::make_unique<TNoxPigger>();
    loaded->LoadFromFile(first);
    EXPECT_EQ(TreeHeight(*loaded), kLevels - 1);
    loaded->SaveToFile(second);
    loaded.reset();
    {
        std::ifstream in(second, std::ios::binary);
        const std::string again{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_TRUE(again == text) << "second save differs (" << again.size() << " vs " << text.size()
                                   << " bytes)";
    }
    fs::remove_all(dir);
}

TEST(DeepNesting, AHundredThousandLevelsLoadCopyMoveAndAreFreedWithoutCrashing) {
    constexpr int kLevels = 100000;
    auto root = std::make_unique<TNoxPigger>();
    root->SetText(Unindented(kLevels));
    ASSERT_EQ(TreeHeight(*root), kLevels - 1);

    // Written out, every level would carry its indent: some 20 GB. The save refuses at once, writing
    // nothing, instead of running out of memory half an hour later.
    EXPECT_GT(root->TextSize(), kMaxTextSize);
    const fs::path dir = fs::temp_directory_path() / ("qm-deep-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "deep.dat").string();
    try {
        root->SaveToFile(file);
        ADD_FAILURE() << "a 20 GB text was written";
    } catch (const EStreamError& e) {
        EXPECT_NE(std::string(e.what()).find("more than the 1 GiB"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(fs::is_empty(dir)) << "no temporary file left";
    fs::remove_all(dir);

    TNoxPigger copy;
    copy.Assign(*root);
    EXPECT_EQ(TreeHeight(copy), kLevels - 1);

    // Hang the copy's subtree below the original's deepest element, then free parts on their own.
    TNoxPigger* deepest = root.get();
    while (deepest->ChildCount() > 0)
        deepest = deepest->Child(0);
    copy.Child(0)->SetParent(deepest);
    EXPECT_EQ(TreeHeight(*root), 2 * kLevels - 2);
    EXPECT_EQ(copy.ChildCount(), 0);
    delete root->Child(0);
    EXPECT_EQ(root->ChildCount(), 0);

    std::istringstream withLineBreaks(Unindented(kLevels, "\n"));
    root->LoadFromStream(withLineBreaks);
    EXPECT_EQ(TreeHeight(*root), kLevels - 1);
    root->Clear();
    root->SetText(Unindented(kLevels));
    root.reset();
}

TEST(DeepNesting, ADeepTextCutShortIsAnErrorAndWhatWasReadIsFreed) {
    constexpr int kLevels = 100000;
    std::string text = Unindented(kLevels);
    text.resize(3 * kLevels + 4 * 10); // all start tags and ten end tags
    auto root = std::make_unique<TNoxPigger>();
    try {
        root->SetText(text);
        FAIL() << "no error";
    } catch (const ENoxPiggerError& e) {
        EXPECT_STREQ(e.what(), "Syntax error");
        EXPECT_EQ(e.Position, static_cast<int32_t>(text.size()) + 1);
    }
    EXPECT_EQ(TreeHeight(*root), kLevels - 1);
    root.reset();
}

} // namespace
