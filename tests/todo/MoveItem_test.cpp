// Moving or copying an item to another date: the move dialog's rule for "OK" and the choices it keeps,
// and the main window's Move command from the question to the day shown afterwards.
#include "AnswerInTurn.h"
#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "todo/DayListWidget.h"
#include "todo/TD_select_date_move.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"
#include "ui/TRadioGroup.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

using Move = TD_select_date_move;

QAbstractItemView* view_of(Move& m) {
    return m.Calendar1->findChild<QAbstractItemView*>();
}

// The mouse on a day of the page shown (days 13 to 22 stand there only once).
void click_day(QCalendarWidget* calendar, int day, bool twice = false) {
    auto* view = calendar->findChild<QAbstractItemView*>();
    for (int cell = 7; cell < 7 * view->model()->rowCount(); ++cell) {
        const QModelIndex index = view->model()->index(cell / 7, cell % 7);
        if (index.data().toInt() != day) continue;
        const QPoint at = view->visualRect(index).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        return;
    }
    ADD_FAILURE() << "no day " << day;
}

QString label_text(QWidget* d, const char* name) {
    auto* label = d->findChild<QLabel*>(name);
    return label ? label->text().remove(QChar(0x200b)) : QString("no label in " + d->windowTitle());
}

class MoveItem : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Start();
        dialog = reg().selectDateMove;
    }
    // The day of the key with a new item, shown with that item selected.
    TNoxPigger* Show(const std::string& key, const std::string& caption) {
        TNoxPigger* day = todo::find_or_create_day(*main->TodoDoc(), key);
        day->AddChild("TASK")->SetAttr("CAPTION", caption);
        main->go_to_day(key);
        main->LV1->setCurrentRow(main->LV1->count() - 1);
        return day;
    }
    Move* dialog = nullptr;
};

TEST_F(MoveItem, OkIsOfferedOnlyForAnotherDayAndTheDialogKeepsItsChoices) {
    ExpectControls(*dialog, {{"RB_date_on", "Move to data:", {}, {}, {}, {}, true},
                             {"RB_date_off", "Move to data independed items list", {}, {}, {}, {}, false},
                             {"RadioGroup1", "Move the item:"},
                             {"RadioGroup1_0", "Making a copy", {}, {}, {}, {}, true},
                             {"RadioGroup1_1", "Moving"},
                             {"Btn_ok", "OK", {}, {}, {}, true},
                             {"Btn_cancel", "Cancel"},
                             {"Btn_help", "Help"}});
    EXPECT_EQ(dialog->windowTitle(), "Select date");
    struct Step {
        const char* what;
        void (*act)(Move&);
        bool ok;
    };
    const auto run = [&](const std::string& source, std::initializer_list<Step> steps, void (*close)(Move&)) {
        AnswerInTurn answer({[&](QWidget*) {
            for (const Step& s : steps) {
                s.act(*dialog);
                EXPECT_EQ(dialog->Btn_ok->isEnabled(), s.ok) << source << ": " << s.what;
                EXPECT_EQ(dialog->Calendar1->isEnabled(), dialog->RB_date_on->isChecked()) << s.what;
            }
            close(*dialog);
        }});
        return dialog->select_move_target(source);
    };
    auto target = run("5/10/2026",
                      {{"on the item's own date", [](Move&) {}, false},
                       {"another date", [](Move& m) { click_day(m.Calendar1, 15); }, true},
                       {"back on its date", [](Move& m) { click_day(m.Calendar1, 10); }, false},
                       {"the date-independent list", [](Move& m) { m.RB_date_off->click(); }, true}},
                      [](Move& m) {
                          m.RadioGroup1->Button(Move::Move)->click();
                          m.Btn_ok->click();
                      });
    EXPECT_EQ(target.key, "N/A");
    EXPECT_EQ(target.action, Move::Move);
    target =
        run("N/A",
            {{"the list kept, and moving", [](Move& m) { EXPECT_EQ(m.RadioGroup1->ItemIndex(), 1); }, false},
             {"to a date: today", [](Move& m) { m.RB_date_on->click(); }, true}},
            [](Move& m) { click_day(m.Calendar1, 20, true); });
    EXPECT_EQ(target.key, render_day_key(QDate::currentDate().addDays(20 - QDate::currentDate().day())));
    EXPECT_EQ(target.action, Move::Move) << "a double click acts as OK";
    EXPECT_EQ(run("5/20/2026", {}, [](Move& m) { click_day(m.Calendar1, 20, true); }).action, Move::Cancelled)
        << "a double click where OK is not offered cancels";
    target = run(
        "5/10/2026",
        {{"a day picked with the arrows", [](Move& m) { QTest::keyClick(view_of(m), Qt::Key_Right); }, true}},
        [](Move& m) {
            // Typed into the calendar: the month, over to the day, the day.
            QTest::keyClick(view_of(m), Qt::Key_5);
            QTest::keyClick(view_of(m), Qt::Key_Right);
            QTest::keyClicks(view_of(m), "20");
            // The release comes when the dialog is gone.
            QTest::keyPress(view_of(m), Qt::Key_Return);
        });
    EXPECT_EQ(target.key, "5/20/2026") << "Enter takes the date being typed";
    EXPECT_EQ(target.action, Move::Move);
}

TEST_F(MoveItem, ADoneItemIsAskedAboutFirstAndItsCopyIsDoneToo) {
    for (const bool yes : {false, true}) {
        TNoxPigger* day = Show("5/10/2026", "water plants");
        main->selected_row()->setCheckState(Qt::Checked);
        const std::string before = main->TodoDoc()->GetText();
        QString question, message;
        std::vector<AnswerInTurn::Action> answers{[&](QWidget* d) {
            question = label_text(d, "Label_question");
            click_button(d, yes ? "Yes" : "No");
        }};
        if (yes)
            answers.insert(answers.end(), {[](QWidget* d) {
                                               static_cast<Move*>(d)->RB_date_off->click();
                                               click_button(d, "OK");
                                           },
                                           [&](QWidget* d) {
                                               message = label_text(d, "Label_message");
                                               click_button(d, "OK");
                                           }});
        {
            AnswerInTurn answer(answers);
            main->N_MovetootherdateClick();
        }
        EXPECT_EQ(question, "The item \"water plants\" is marked as done.\nDo you wish to move it?");
        if (!yes) {
            EXPECT_EQ(main->TodoDoc()->GetText(), before) << "No changes nothing and asks no target";
            continue;
        }
        EXPECT_EQ(message, "The item \"water plants\"\nhas been copied to date N/A.");
        EXPECT_EQ(main->TodoDoc()->FindChildByAttr("DATE", "N/A")->Child(0)->GetAttr("D"), "Y");
        EXPECT_EQ(main->current_day, day) << "the main window stays on its day";
        EXPECT_NE(main->selected_row(), nullptr);
    }
}

TEST_F(MoveItem, KeysAloneMoveOrCopyToAnyDayAndTheSavedFileHoldsTheItemThere) {
    struct Case {
        int action;
        QDate target; // none: picked with the arrow keys, a day to the right and a week down
        const char* key;
    };
    main->show();
    for (const Case& c : {Case{Move::Copy, {}, "5/18/2026"}, Case{Move::Move, {}, "5/18/2026"},
                          Case{Move::Move, QDate(100, 1, 1), "1/1/0100"},
                          Case{Move::Move, QDate(9999, 12, 31), "12/31/9999"}}) {
        SCOPED_TRACE(c.key);
        const std::string caption = "item " + std::to_string(c.action) + c.key;
        TNoxPigger* source = Show("5/10/2026", caption);
        TNoxPigger* item = source->Child(source->ChildCount() - 1);
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        bool calendarFocused = false;
        std::vector<AnswerInTurn::Action> answers{[&](QWidget* d) {
            dialog->RadioGroup1->SetItemIndex(c.action);
            QWidget* focus = d->focusWidget();
            calendarFocused = focus && dialog->Calendar1->isAncestorOf(focus);
            if (c.target.isValid()) dialog->Calendar1->setSelectedDate(c.target);
            for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Return})
                if (!c.target.isValid() || key == Qt::Key_Return) QTest::keyClick(focus, key);
        }};
        if (c.action == Move::Copy) answers.push_back([](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); });
        {
            AnswerInTurn answer(answers);
            QTest::keyClick(main->LV1, Qt::Key_F6);
        }
        EXPECT_TRUE(calendarFocused);
        ASSERT_TRUE(main->N_SaveClick());
        const std::string saved = ReadBytes(DataFile());
        const size_t day = saved.find(std::string("<DAY_DATA DATE=\"") + c.key + "\">");
        ASSERT_NE(day, std::string::npos);
        EXPECT_LT(saved.find(caption, day), saved.find("</DAY_DATA>", day));
        if (c.action == Move::Move) {
            EXPECT_EQ(main->current_day->GetAttr("DATE"), c.key) << "the target day is shown";
            EXPECT_EQ(main->item_of_row(main->LV1->item(main->LV1->count() - 1)), item) << "last";
            EXPECT_EQ(main->selected_row(), nullptr);
            EXPECT_EQ(source->IndexOfChild(item), -1);
        }
    }
}

} // namespace
