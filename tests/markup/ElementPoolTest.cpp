// Elements come from a pool: trees built and freed on different threads, and subclasses of another
// size, must all come and go without harm.
#include "MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string Document(int items) {
    std::string text = "<ROOT>";
    for (int i = 0; i < items; ++i)
        text += "<ITEM N=\"" + std::to_string(i) + "\"><SUB>text " + std::to_string(i) + "</SUB></ITEM>";
    return text + "</ROOT>";
}

TEST(ElementPool, TreesBuiltOnSeveralThreadsAtOnceCanBeFreedOnAnotherOneAndTheirBlocksReused) {
    const std::string text = Document(2000);
    std::vector<std::unique_ptr<TNoxPigger>> trees(4);
    std::vector<std::thread> builders;
    for (auto& tree : trees)
        builders.emplace_back([&tree, &text] {
            tree = std::make_unique<TNoxPigger>();
            tree->SetText(text);
            // Freed here: these blocks stay with a thread that is about to end.
            TNoxPigger scrap;
            scrap.SetText(text);
        });
    for (auto& t : builders)
        t.join();
    for (auto& tree : trees) {
        ASSERT_EQ(tree->ChildCount(), 2000);
        EXPECT_EQ(tree->Child(1999)->GetAttr("N"), "1999");
        EXPECT_EQ(tree->Child(1999)->Child(0)->Text, "text 1999");
        tree.reset(); // freed on another thread than the one that built it
    }
    // Blocks of the threads that ended are taken up again.
    std::thread again([&text] {
        TNoxPigger tree;
        tree.SetText(text);
        EXPECT_EQ(tree.ChildCount(), 2000);
        EXPECT_EQ(tree.Child(0)->Child(0)->Text, "text 0");
    });
    again.join();
}

// A subclass with state of its own, so its elements do not fit the pool's blocks.
class TTagged : public TNoxPigger {
public:
    explicit TTagged(TNoxPigger* parent = nullptr) : TNoxPigger(parent) {}
    TNoxPigger* CreateChildFor(const std::string&) override { return new TTagged(this); }
    std::string Note = std::string(100, 'n');
    char Padding[200] = {};

protected:
    TNoxPigger* NewInstance(TNoxPigger* parent) const override { return new TTagged(parent); }
};

TEST(ElementPool, SubclassesOfAnotherSizeMixWithPlainElementsInOneTree) {
    TNoxPigger root;
    root.SetText("<ROOT><PLAIN/></ROOT>");
    auto* tagged = new TTagged(&root);
    tagged->SetText("<T><A/><B><C/></B></T>");
    ASSERT_NE(dynamic_cast<TTagged*>(tagged->Child(1)->Child(0)), nullptr);
    TNoxPigger copy;
    copy.Assign(root);
    ASSERT_NE(dynamic_cast<TTagged*>(copy.Child(1)), nullptr);
    EXPECT_EQ(copy.GetText(), root.GetText());
    delete tagged->Child(0); // a subclass element freed on its own
    EXPECT_EQ(markup_test::ChildTags(*tagged), std::vector<std::string>{"B"});
    root.Clear();
    EXPECT_EQ(root.ChildCount(), 0);
}

} // namespace
