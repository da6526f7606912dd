// The element tree on its own: attributes, children, lookups, moving, copying and freeing.
#include "MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using markup_test::ChildTags;
using markup_test::CrLfLines;

namespace {

// Counts live instances, so a test can see that freeing reaches every element.
class TCounted : public TNoxPigger {
public:
    explicit TCounted(TNoxPigger* parent = nullptr) : TNoxPigger(parent) { ++alive; }
    ~TCounted() override { --alive; }
    TNoxPigger* CreateChildFor(const std::string&) override { return new TCounted(this); }
    static inline int alive = 0;

protected:
    TNoxPigger* NewInstance(TNoxPigger* parent) const override { return new TCounted(parent); }
};

TEST(TreeAttributes, NamesAreUpperCasedButNotTrimmedAndValuesKeepTheirOrderOfFirstSetting) {
    TNoxPigger e;
    e.SetAttr("Caption", "first");
    e.SetAttr("d", "Y");
    EXPECT_EQ(e.GetAttr("CAPTION"), "first");
    EXPECT_EQ(e.GetAttr("caption"), "first");
    EXPECT_EQ(e.AttrName(0), "CAPTION");
    EXPECT_EQ(e.GetAttr(" CAPTION"), "");
    EXPECT_EQ(e.GetAttr("MISSING"), "");

    e.SetAttr("CAPTION", "second"); // replaced in place
    ASSERT_EQ(e.AttrCount(), 2);
    EXPECT_EQ(e.AttrName(0), "CAPTION");
    EXPECT_EQ(e.AttrValue(0), "second");

    // Only a to z are upper-cased; bytes of other letters stay as they are.
    e.SetAttr("na\xe4me", "v");
    EXPECT_EQ(e.AttrName(2), "NA\xe4ME");
}

TEST(TreeAttributes, AnEmptyValueDeletesAndAMissingAttributeIsLeftAlone) {
    TNoxPigger e;
    e.SetAttr("A", "1");
    e.SetAttr("B", "2");
    e.SetAttr("C", "3");
    e.SetAttr("B", "");
    EXPECT_EQ(e.AttrCount(), 2);
    EXPECT_EQ(e.AttrName(1), "C");
    e.SetAttr("MISSING", "");
    e.DeleteAttr("ALSO_MISSING");
    EXPECT_EQ(e.AttrCount(), 2);

    // Duplicates (as the parser makes them): lookups and deletion take the first.
    e.AppendAttr("a", "again");
    EXPECT_EQ(e.GetAttr("A"), "1");
    e.DeleteAttr("A");
    EXPECT_EQ(e.GetAttr("A"), "again");
    e.SetAttr("A", "changed");
    EXPECT_EQ(e.AttrValue(1), "changed");
}

TEST(TreeAttributes, AValueTakenFromTheSameElementIsCopiedSafely) {
    TNoxPigger e;
    e.SetAttr("A", std::string(100, 'x'));
    for (int i = 0; i < 20; ++i) // each append may move the list that holds the value being copied
        e.SetAttr("N" + std::to_string(i), e.AttrValue(0));
    EXPECT_EQ(e.GetAttr("N19"), std::string(100, 'x'));
}

TEST(TreeChildren, TagNamesAreTrimmedAndUpperCasedAndLookupsDoNotTrimTheirKey) {
    TNoxPigger root;
    root.SetTagName("root");
    TNoxPigger* task = root.AddChild("  task ");
    EXPECT_EQ(task->TagName(), "TASK");
    EXPECT_EQ(task->Parent(), &root);
    EXPECT_EQ(root.FindChild("task"), task);
    EXPECT_EQ(root.FindChild(" task"), nullptr);
    TNoxPigger* control = root.AddChild(std::string("\x01x\x1f", 3));
    EXPECT_EQ(control->TagName(), "X");
}

TEST(TreeChildren, IndexAccessNeverFailsAndReportsForeignElementsAsMinusOne) {
    TNoxPigger root;
    TNoxPigger* a = root.AddChild("A");
    TNoxPigger* b = root.AddChild("B");
    EXPECT_EQ(root.ChildCount(), 2);
    EXPECT_EQ(root.Child(0), a);
    EXPECT_EQ(root.Child(1), b);
    EXPECT_EQ(root.Child(-1), nullptr);
    EXPECT_EQ(root.Child(2), nullptr);
    EXPECT_EQ(root.IndexOfChild(b), 1);
    TNoxPigger stranger;
    EXPECT_EQ(root.IndexOfChild(&stranger), -1);
    EXPECT_EQ(root.IndexOfChild(nullptr), -1);
}

TEST(TreeChildren, FindChildByAttrComparesCaseInsensitivelyAndAnEmptyValueMatchesAMissingAttribute) {
    TNoxPigger root;
    TNoxPigger* done = root.AddChild("TASK");
    done->SetAttr("D", "Y");
    TNoxPigger* open = root.AddChild("TASK");
    TNoxPigger* day = root.AddChild("DAY_DATA");
    day->SetAttr("DATE", "N/A");
    TNoxPigger* twin = root.AddChild("DAY_DATA");
    twin->SetAttr("DATE", "n/a");

    EXPECT_EQ(root.FindChildByAttr("D", ""), open);
    EXPECT_EQ(root.FindChildByAttr("d", "y"), done);
    EXPECT_EQ(root.FindChildByAttr("DATE", "n/A"), day); // first match wins, the tag is not tested
    EXPECT_EQ(root.FindChildByAttr("DATE", "N/A "), nullptr);
    // Letters beyond ASCII are compared byte for byte.
    day->SetAttr("DATE", "\xc4");
    EXPECT_EQ(root.FindChildByAttr("DATE", "\xe4"), nullptr);
}

TEST(TreeChildren, FindNextSiblingEnumeratesOneTagInOrder) {
    TNoxPigger root;
    TNoxPigger* f1 = root.AddChild("FILE");
    root.AddChild("DSC");
    TNoxPigger* f2 = root.AddChild("FILE");
    root.AddChild("REM");
    TNoxPigger* f3 = root.AddChild("file");

    std::vector<TNoxPigger*> found;
    for (TNoxPigger* f = root.FindChild("FILE"); f; f = root.FindNextSibling(f))
        found.push_back(f);
    EXPECT_EQ(found, (std::vector<TNoxPigger*>{f1, f2, f3}));
    EXPECT_EQ(root.FindNextSibling(nullptr), nullptr);

    // An element that is not a child starts the search at the first child.
    TNoxPigger stranger;
    stranger.SetTagName("FILE");
    EXPECT_EQ(root.FindNextSibling(&stranger), f1);
}

TEST(TreeChildren, MoveChildShiftsTheEntriesBetweenAndRefusesBadIndicesWithoutMoving) {
    TNoxPigger root;
    for (const char* t : {"A", "B", "C", "D"})
        root.AddChild(t);
    root.MoveChild(0, 2);
    EXPECT_EQ(ChildTags(root), (std::vector<std::string>{"B", "C", "A", "D"}));
    root.MoveChild(3, 0);
    EXPECT_EQ(ChildTags(root), (std::vector<std::string>{"D", "B", "C", "A"}));
    root.MoveChild(9, 9); // equal indices do nothing, even outside the list

    try {
        root.MoveChild(1, 4);
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (4)");
    }
    try {
        root.MoveChild(-1, 0);
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
    }
    EXPECT_EQ(ChildTags(root), (std::vector<std::string>{"D", "B", "C", "A"}));
}

TEST(TreeStructure, DestroyingAChildRemovesItFromItsParentAndDestroyingARootFreesEverything) {
    TCounted::alive = 0;
    {
        auto root = std::make_unique<TCounted>();
        root->SetText("<R><A><X/><Y/></A><B/><C/></R>");
        EXPECT_EQ(TCounted::alive, 6);
        delete root->Child(1);
        EXPECT_EQ(ChildTags(*root), (std::vector<std::string>{"A", "C"}));
        delete root->Child(0); // with its own children
        EXPECT_EQ(ChildTags(*root), (std::vector<std::string>{"C"}));
        EXPECT_EQ(TCounted::alive, 2);
    }
    EXPECT_EQ(TCounted::alive, 0);
}

TEST(TreeStructure, ClearEmptiesEverythingButKeepsTheParent) {
    TNoxPigger root;
    TNoxPigger* e = root.AddChild("E");
    e->SetAttr("A", "1");
    e->Text = "text";
    e->AddChild("C")->AddChild("D");
    e->Clear();
    EXPECT_EQ(e->TagName(), "");
    EXPECT_EQ(e->Text, "");
    EXPECT_EQ(e->AttrCount(), 0);
    EXPECT_EQ(e->ChildCount(), 0);
    EXPECT_EQ(e->Parent(), &root);
    EXPECT_EQ(e->GetText(), "");
    EXPECT_EQ(root.ChildCount(), 1);
}

TEST(TreeStructure, SetParentMovesTheWholeSubtreeAndItsIndentFollowsTheNewDepth) {
    TNoxPigger root;
    TNoxPigger* deep = root.AddChild("L1")->AddChild("L2")->AddChild("L3");
    EXPECT_EQ(deep->Indent(), "\r\n\t\t\t");
    TNoxPigger other;
    TNoxPigger* moved = other.AddChild("M");
    moved->AddChild("K");
    other.AddChild("LAST");

    moved->SetParent(deep);
    EXPECT_EQ(other.ChildCount(), 1);
    EXPECT_EQ(deep->Child(0), moved);
    EXPECT_EQ(moved->Indent(), "\r\n\t\t\t\t");
    EXPECT_EQ(moved->Child(0)->Indent(), "\r\n\t\t\t\t\t");

    moved->SetParent(nullptr);
    EXPECT_EQ(deep->ChildCount(), 0);
    EXPECT_EQ(moved->Indent(), "\r\n");
    EXPECT_EQ(moved->Child(0)->Indent(), "\r\n\t");
    delete moved; // detached: nobody owns it now
}

TEST(TreeStructure, SetParentToTheSameParentKeepsThePlaceAndOntoItsOwnSubtreeIsRefused) {
    TNoxPigger root;
    TNoxPigger* a = root.AddChild("A");
    root.AddChild("B");
    a->SetParent(&root);
    EXPECT_EQ(ChildTags(root), (std::vector<std::string>{"A", "B"}));

    TNoxPigger* below = a->AddChild("C")->AddChild("D");
    EXPECT_THROW(a->SetParent(below), std::logic_error);
    EXPECT_THROW(a->SetParent(a), std::logic_error);
    EXPECT_EQ(a->Parent(), &root);
    EXPECT_EQ(below->ChildCount(), 0);
    EXPECT_EQ(ChildTags(root), (std::vector<std::string>{"A", "B"}));
}

TEST(TreeCopy, AssignKeepsOrderAndDuplicatesAndLeavesTheTargetsParent) {
    TNoxPigger source;
    source.SetText("<T Z=\"1\" A=\"2\" Z=\"3\">text<C2/><C1 K=\"v\"><G/></C1></T>");
    TNoxPigger holder;
    TNoxPigger* target = holder.AddChild("OLD");
    target->AddChild("GONE");
    target->SetAttr("OLD", "x");

    target->Assign(source);
    EXPECT_EQ(target->Parent(), &holder);
    EXPECT_EQ(target->TagName(), "T");
    EXPECT_EQ(target->Text, "text");
    ASSERT_EQ(target->AttrCount(), 3);
    EXPECT_EQ(target->AttrName(2), "Z");
    EXPECT_EQ(target->AttrValue(2), "3");
    EXPECT_EQ(ChildTags(*target), (std::vector<std::string>{"C2", "C1"}));
    EXPECT_EQ(target->Child(1)->Child(0)->Indent(), "\r\n\t\t\t");
    // Same tree, only one level deeper.
    TNoxPigger back;
    back.Assign(*target);
    EXPECT_EQ(back.GetText(), source.GetText());
}

TEST(TreeCopy, AssignBuildsEachCopyWithTheClassOfTheElementItCopies) {
    TCounted::alive = 0;
    TCounted source;
    source.SetText("<A><B><C/></B></A>");
    ASSERT_EQ(TCounted::alive, 3);
    TNoxPigger plain;
    plain.Assign(source);
    EXPECT_EQ(TCounted::alive, 5);
    EXPECT_NE(dynamic_cast<TCounted*>(plain.Child(0)->Child(0)), nullptr);
}

TEST(TreeCopy, AssignFromItsOwnDescendantOrAncestorCopiesTheSourceAsItWasBefore) {
    TNoxPigger root;
    root.SetText("<R A=\"1\"><KEEP X=\"y\"><LEAF/></KEEP><OTHER/></R>");
    root.Assign(*root.Child(0));
    EXPECT_EQ(root.GetText(), CrLfLines({"", "<KEEP X=\"y\">", "\t<LEAF/>", "</KEEP>"}));

    // The copy of an ancestor holds the target as it was, not the copy being built into it.
    TNoxPigger tree;
    tree.SetText("<R><A><B/></A></R>");
    TNoxPigger* a = tree.Child(0);
    a->Assign(tree);
    EXPECT_EQ(tree.GetText(),
              CrLfLines({"", "<R>", "\t<R>", "\t\t<A>", "\t\t\t<B/>", "\t\t</A>", "\t</R>", "</R>"}));

    a->Assign(*a);
    EXPECT_EQ(a->TagName(), "R");
}

// Hooks: a parent that skips some children, filters text and hears of each child that is done.
class TPicky : public TNoxPigger {
public:
    using TNoxPigger::TNoxPigger;
    std::vector<std::string> parsed;
    TNoxPigger* CreateChildFor(const std::string& tagName) override {
        if (AsciiUpper(tagName) == "SKIP") return nullptr;
        return TNoxPigger::CreateChildFor(tagName);
    }
    void ChildParsed(TNoxPigger* child) override { parsed.push_back(child->TagName() + ":" + child->Text); }
    bool AcceptText(const std::string& text) override { return text != "drop"; }
};

TEST(TreeHooks, TheParserAsksForEachChildHearsWhenItIsDoneAndOffersEachTextRun) {
    TPicky root;
    root.SetText("<R>keep<A>a<X/></A>drop<SKIP Q=\"1\"><Y>y</Y></SKIP><b/>more</R>");
    EXPECT_EQ(ChildTags(root), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(root.Text, "keepmore");
    EXPECT_EQ(root.parsed, (std::vector<std::string>{"A:a", "B:"}));
}

} // namespace
