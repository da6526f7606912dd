#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "search/TF_find_context.h"
#include "search/TF_find_uncomplete.h"
#include "todo/DayListWidget.h"
#include "todo/ItemRows.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"
#include "ui/WrapText.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

class SearchWindows : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Create(ProgramWindows::Main | ProgramWindows::Msg | ProgramWindows::FindUncomplete |
               ProgramWindows::FindContext);
        context = dynamic_cast<TF_find_context*>(reg().findContext);
        uncomplete = dynamic_cast<TF_find_uncomplete*>(reg().findUncomplete);
        ASSERT_TRUE(context && uncomplete);
        context->SetRoot(&reg().list.Doc());
        uncomplete->SetRoot(&reg().list.Doc());
    }
    // Items of a day, each "caption" or "caption|D".
    TNoxPigger* Add(const std::string& key, std::initializer_list<std::string> items) {
        TNoxPigger* day = todo::find_or_create_day(reg().list.Doc(), key);
        for (const std::string& text : items) {
            TNoxPigger* item = day->AddChild("TASK");
            item->SetAttr("CAPTION", text.substr(0, text.find('|')));
            if (text.find('|') != std::string::npos) item->SetAttr("D", text.substr(text.find('|') + 1));
        }
        return day;
    }
    void AddFiveDaysBackwards() {
        for (int d = 5; d >= 1; --d)
            Add(render_day_key(QDate(2020, 5, d)), {"x", "y"});
    }
    static std::string Found(const TF_find& w) {
        std::string s;
        for (const FindRow& r : w.Results->Rows())
            s += r.date + " " + r.item + "; ";
        return s;
    }
    static void ExpectNotFound(TF_find& w) {
        QString said;
        {
            ModalAnswer answer([&](QWidget* d) {
                said = without_break_chances(d->findChild<QLabel*>("Label_message")->text());
                click_button(d, "OK");
            });
            w.Btn_startClick();
        }
        EXPECT_EQ(said, "Not found.");
        EXPECT_EQ(w.Results->rowCount(), 0);
        EXPECT_FALSE(w.Btn_go_to->isEnabled());
    }
    static void Select(TF_find& w, int row) {
        w.LV1->selectionModel()->setCurrentIndex(
            w.Results->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    static void Key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

    TF_find_context* context = nullptr;
    TF_find_uncomplete* uncomplete = nullptr;
};

TEST_F(SearchWindows, ShowTheirControlsAndOfferStartAsTheirInputsAllow) {
    EXPECT_EQ(context->windowTitle(), "Find context");
    EXPECT_EQ(uncomplete->windowTitle(), "Find uncompleted");
    for (TF_find* w : {static_cast<TF_find*>(context), static_cast<TF_find*>(uncomplete)}) {
        ExpectControls(*w, {{"Btn_go_to", "Go to", false},
                            {"btn_help", "Help", true},
                            {"Btn_break", "Break search"},
                            {"Btn_close", "Close", true}});
        EXPECT_TRUE(w->Btn_break->isHidden());
        EXPECT_EQ(w->Results->headerData(0, Qt::Horizontal, Qt::DisplayRole), "Date");
        EXPECT_EQ(w->Results->headerData(1, Qt::Horizontal, Qt::DisplayRole), "Item");
        EXPECT_EQ(w->LV1->header()->sectionSize(1), 350);
        // A larger window widens the item column; a smaller one leaves it as made, with a scroll bar.
        w->show();
        w->resize(1400, 600);
        QApplication::processEvents();
        EXPECT_GE(w->LV1->header()->sectionSize(1),
                  w->LV1->viewport()->width() - w->LV1->header()->sectionSize(0));
        EXPECT_GT(w->LV1->header()->sectionSize(1), 350);
        w->resize(200, 200);
        QApplication::processEvents();
        EXPECT_EQ(w->LV1->header()->sectionSize(1), 350);
        w->hide();
    }
    ExpectControls(*context, {{"Label1", "Context to search:"},
                              {"Edit1", ""},
                              {"GroupBox1", "Search area"},
                              {"CB_item", "Item text", true, {}, {}, {}, true},
                              {"CB_dsc", "Description", true, {}, {}, {}, false},
                              {"Btn_start", "Start search", false}});
    ExpectControls(*uncomplete, {{"CB_0", "Lower date limit", true, {}, {}, {}, false},
                                 {"DatePicker0", {}, false},
                                 {"CB_1", "Upper date limit", true, {}, {}, {}, false},
                                 {"DatePicker1", {}, false},
                                 {"Btn_start", "Start search", true}});
    EXPECT_EQ(uncomplete->DatePicker0->date(), QDate::currentDate().addDays(-1));
    EXPECT_EQ(uncomplete->DatePicker1->date(), QDate::currentDate());

    context->Edit1->setText(" milk");
    EXPECT_TRUE(context->Btn_start->isEnabled());
    context->CB_item->click();
    EXPECT_FALSE(context->Btn_start->isEnabled());
    uncomplete->CB_0->click();
    EXPECT_TRUE(uncomplete->DatePicker0->isEnabled());
}

TEST_F(SearchWindows, ListTheMatchesSortedWithTheFirstSelectedOrSayNotFound) {
    Add("5/11/2020", {"Buy milk", "Cheese"})->Child(0)->AddChild("DSC")->Text = "milk, milk";
    Add("5/10/2020", {"Bread"})->Child(0)->AddChild("DSC")->Text = "and MILK";
    context->Edit1->setText("milk");
    context->CB_dsc->setChecked(true);
    context->Btn_startClick();
    EXPECT_EQ(Found(*context), "5/10/2020 Bread; 5/11/2020 Buy milk; ");
    EXPECT_TRUE(context->LV1->selectionModel()->isRowSelected(0, {}));
    EXPECT_TRUE(context->Btn_go_to->isEnabled());
    EXPECT_TRUE(context->Btn_start->isEnabled());

    context->Edit1->setText("butter");
    ExpectNotFound(*context);
}

TEST_F(SearchWindows, BreakKeepsAndSortsTheRowsFoundSoFarOrSaysNotFound) {
    AddFiveDaysBackwards();
    uncomplete->InputIntervalMs = 0;
    const auto breakAfterTwoDays =
        QObject::connect(uncomplete->Results, &QAbstractItemModel::rowsInserted, [this] {
            if (uncomplete->Results->rowCount() >= 4) uncomplete->Btn_break->click();
        });
    uncomplete->Btn_startClick();
    QObject::disconnect(breakAfterTwoDays);
    EXPECT_EQ(Found(*uncomplete), "5/4/2020 x; 5/4/2020 y; 5/5/2020 x; 5/5/2020 y; ");
    EXPECT_TRUE(uncomplete->LV1->selectionModel()->isRowSelected(0, {}));

    QTimer::singleShot(0, uncomplete->Btn_break, &QPushButton::click);
    ExpectNotFound(*uncomplete);
}

TEST_F(SearchWindows, GoToShowsTheDayAndSelectsTheFirstRowWithTheItemsBytes) {
    TNoxPigger* day = Add("5/10/2020", {"dup", "other", "dup"});
    TNoxPigger* undated = Add("N/A", {"Caf\xE9"});
    uncomplete->Btn_startClick();
    const std::string found = Found(*uncomplete);
    ASSERT_EQ(found, "5/10/2020 dup; 5/10/2020 other; 5/10/2020 dup; N/A Caf\xE9; ");

    Select(*uncomplete, 2);
    uncomplete->Btn_go_toClick();
    EXPECT_EQ(main->current_day, day);
    EXPECT_EQ(main->DatePicker1->date(), QDate(2020, 5, 10));
    EXPECT_EQ(main->selected_row(), main->LV1->item(0));

    Select(*uncomplete, 3);
    uncomplete->Btn_go_toClick();
    EXPECT_EQ(main->current_day, undated);
    EXPECT_TRUE(main->RB_date_off->isChecked());
    ASSERT_NE(main->selected_row(), nullptr);
    EXPECT_EQ(item_rows::caption(main->selected_row()), "Caf\xE9");
    EXPECT_EQ(Found(*uncomplete), found) << "the window keeps its results";
}

TEST_F(SearchWindows, KeyboardAloneSearchesGoesThereAndReopensWithTheSameResults) {
    Add("5/10/2020", {"Bread", "Buy milk"});
    Add("5/11/2020", {"Milk shake|Y"});
    Add("N/A", {"Call mum"});
    main->show();
    // Shortcuts reach the main window while it is the active one, also again after each dialog.
    const auto open = [this](Qt::Key key, std::function<void(QWidget*)> inside) {
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        ModalAnswer answer(std::move(inside));
        QTest::keyClick(main, key, Qt::ControlModifier);
    };
    open(Qt::Key_F, [&](QWidget* d) {
        EXPECT_EQ(d, context);
        QTest::keyClicks(QApplication::focusWidget(), "milk");
        Key(Qt::Key_Return);
        EXPECT_EQ(Found(*context), "5/10/2020 Buy milk; 5/11/2020 Milk shake; ");
        EXPECT_EQ(QApplication::focusWidget(), context->LV1);
        EXPECT_EQ(context->LV1->currentIndex().row(), 0);
        Key(Qt::Key_Return);
        EXPECT_EQ(main->selected_row(), main->LV1->item(1));
        Key(Qt::Key_Escape);
    });
    EXPECT_FALSE(context->isVisible());
    open(Qt::Key_F, [&](QWidget*) {
        EXPECT_EQ(context->Edit1->text(), "milk");
        EXPECT_EQ(context->Results->rowCount(), 2);
        Key(Qt::Key_Escape);
    });
    open(Qt::Key_F7, [&](QWidget* d) {
        EXPECT_EQ(d, uncomplete);
        for (QDateEdit* picker : {uncomplete->DatePicker0, uncomplete->DatePicker1})
            picker->setDate(QDate(2020, 5, 10));
        uncomplete->CB_0->setChecked(true);
        uncomplete->CB_1->setChecked(true);
        Key(Qt::Key_Return);
        EXPECT_EQ(Found(*uncomplete), "5/10/2020 Bread; 5/10/2020 Buy milk; N/A Call mum; ");
        Key(Qt::Key_Escape);
    });
}

TEST_F(SearchWindows, TheWalkSurvivesGoToCloseAndAReplacedDocument) {
    uncomplete->InputIntervalMs = 0;
    const struct {
        const char* what;
        std::function<void()> act;
        int rows;
    } cases[] = {
        {"Go to", [&] { Select(*uncomplete, 0), uncomplete->Btn_go_toClick(); }, 10},
        {"Close", [&] { uncomplete->Btn_close->click(); }, 4},
        {"Open", [&] { reg().list.Load(); }, 0},
        {"New", [&] { reg().list.NewDocument(); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reg().list.Load();
        AddFiveDaysBackwards();
        uncomplete->SetRoot(&reg().list.Doc());
        // Acts from within the walk's handling of input, once two days are listed.
        const auto midWalk = QObject::connect(uncomplete->Results, &QAbstractItemModel::rowsInserted, [&] {
            if (uncomplete->Results->rowCount() == 4) QTimer::singleShot(0, c.act);
        });
        uncomplete->Btn_startClick();
        QObject::disconnect(midWalk);
        EXPECT_EQ(uncomplete->Results->rowCount(), c.rows);
        EXPECT_TRUE(uncomplete->Btn_break->isHidden());
    }
}

} // namespace
