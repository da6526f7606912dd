// Moving and copying an item to another day: all or nothing, and a copy is what a save and a load give.
#include "todo/rules/ItemTransfer.h"
#include "todo/rules/TodoRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Document {
    TNoxPigger root;
    TNoxPigger* day;
    TNoxPigger* item;
    explicit Document(void (*fill)(TNoxPigger&)) {
        root.SetTagName(todo::kRootTag);
        day = todo::find_or_create_day(root, "5/10/2026");
        day->AddChild(todo::kItemTag)->SetAttr(todo::kCaptionAttr, "before");
        item = day->AddChild(todo::kItemTag);
        fill(*item);
    }
    // The item as the data file gives it back: the whole document written, then read as a load reads it.
    std::string ReloadedItem() const {
        TNoxPigger reloaded;
        reloaded.SetText(NormalizeLineBreaks(root.GetText()));
        return reloaded.FindChildByAttr(todo::kDateAttr, "5/10/2026")->Child(1)->GetText();
    }
};

TEST(ItemTransfer, ACopyIsTheItemAsSavingAndLoadingGiveItBack) {
    struct Case {
        const char* what;
        void (*fill)(TNoxPigger&);
        std::string description; // the copy's, where the case is about it
    };
    const Case cases[] = {
        {"every attribute and child",
         [](TNoxPigger& t) {
             t.SetAttr("CAPTION", "Dentist");
             t.SetAttr("D", "Y");
             t.SetAttr("INDEX", "12");
             todo::set_item_time(t, 9, 5);
             todo::description_of(t)->Text = "first line\r\nsecond line\r\n\tindented third";
             todo::remarks_of(t)->Text = "remark";
             t.AddChild("FILE")->SetAttr("FILE_NAME", "/home/u/a.txt");
             t.AddChild("FILE")->SetAttr("FILE_NAME", "/home/u/b.txt");
         },
         "first line\r\nsecond line\r\n\tindented third"},
        {"escapes",
         [](TNoxPigger& t) {
             t.SetAttr("CAPTION", "100% <sure> \"quoted\" %41");
             todo::description_of(t)->Text = "a % b %25 <c>";
         },
         "a % b %25 <c>"},
        {"bytes that are not UTF-8",
         [](TNoxPigger& t) {
             t.SetAttr("CAPTION", "caf\xe9 \xff\xfe");
             todo::description_of(t)->Text = "\xc3\x28\r\n\x80";
         },
         "\xc3\x28\r\n\x80"},
        {"line breaks as a load reads them",
         [](TNoxPigger& t) { todo::description_of(t)->Text = "lf\nonly\rcr  "; }, "lf\r\nonly\r\ncr"},
    };
    for (const Case& c : cases) {
        Document doc(c.fill);
        const std::string original = doc.item->GetText();
        TNoxPigger* copy = todo::copy_item(doc.root, *doc.item, "N/A");
        ASSERT_NE(copy, nullptr) << c.what;
        EXPECT_EQ(copy->GetText(), doc.ReloadedItem()) << c.what;
        EXPECT_EQ(copy->FindChild("DSC")->Text, c.description) << c.what;
        EXPECT_EQ(doc.item->GetText(), original) << c.what << ": the source stays as it was";
        EXPECT_EQ(copy->Parent(), doc.root.FindChildByAttr("DATE", "N/A"));
    }
}

TEST(ItemTransfer, MovingTakesTheSubtreeToTheEndOfTheDayAndAFailedCopyChangesNothing) {
    Document doc([](TNoxPigger& t) {
        t.SetAttr("CAPTION", "moved");
        todo::description_of(t)->Text = "kept";
    });
    TNoxPigger* target = todo::find_or_create_day(doc.root, "1/1/0100");
    target->AddChild("TASK")->SetAttr("CAPTION", "there already");
    EXPECT_EQ(todo::move_item(doc.root, *doc.item, "1/1/0100"), target);
    EXPECT_EQ(target->ChildCount(), 2);
    EXPECT_EQ(target->Child(1), doc.item);
    EXPECT_EQ(doc.item->FindChild("DSC")->Text, "kept");
    EXPECT_EQ(doc.day->ChildCount(), 1);

    // A day created for a move that is still missing goes to the end of the document.
    todo::move_item(doc.root, *doc.item, "12/31/9999");
    EXPECT_EQ(doc.root.Child(doc.root.ChildCount() - 1)->Child(0), doc.item);

    // An attribute name the text form cannot carry: no copy, no new day.
    doc.item->SetAttr("A/B", "x");
    const std::string before = doc.root.GetText();
    EXPECT_THROW(todo::copy_item(doc.root, *doc.item, "2/2/2222"), ENoxPiggerError);
    EXPECT_EQ(doc.root.GetText(), before);
}

} // namespace
