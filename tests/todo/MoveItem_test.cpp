// Moving or copying an item to another date: the move dialog's rule for "OK", the state it keeps, and the
// main window's Move command from the question to the day shown afterwards.
#include "AnswerInTurn.h"
#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "dialogs/TDmsg.h"
#include "todo/DayListWidget.h"
#include "todo/TD_select_date_move.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"
#include "ui/TRadioGroup.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// Stands in for the desktop's browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TD_select_date_move* move_dialog(QWidget* d) {
    auto* dialog = qobject_cast<TD_select_date_move*>(d);
    EXPECT_NE(dialog, nullptr) << d->windowTitle().toStdString();
    return dialog;
}

// The mouse on the cell of a day of the month shown (a day from 13 to 22 stands there only once).
void click_day(QCalendarWidget* calendar, int day, bool twice) {
    auto* view = calendar->findChild<QAbstractItemView*>();
    for (int row = 1; row < view->model()->rowCount(); ++row)
        for (int column = 0; column < view->model()->columnCount(); ++column) {
            const QModelIndex cell = view->model()->index(row, column);
            if (cell.data().toInt() != day) continue;
            const QPoint at = view->visualRect(cell).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
            if (twice) {
                QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
            }
            return;
        }
    ADD_FAILURE() << "no day " << day;
}

class MoveItem : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Start();
        dialog = reg().selectDateMove;
    }
    // The day of the key shown with items of the captions added, the last one selected.
    TNoxPigger* ShowDay(const std::string& key, const std::vector<std::string>& captions) {
        TNoxPigger* day = todo::find_or_create_day(*main->TodoDoc(), key);
        for (const auto& c : captions)
            day->AddChild("TASK")->SetAttr("CAPTION", c);
        main->go_to_day(key);
        main->LV1->setCurrentRow(main->LV1->count() - 1);
        return day;
    }
    // Answers the move dialog: the target, the action, OK.
    static AnswerInTurn::Action Choose(bool toDate, const QDate& date, int action) {
        return [=](QWidget* d) {
            TD_select_date_move* m = move_dialog(d);
            (toDate ? m->RB_date_on : m->RB_date_off)->click();
            if (toDate) m->Calendar1->setSelectedDate(date);
            m->RadioGroup1->Button(action)->click();
            click_button(d, "OK");
        };
    }

    TD_select_date_move* dialog = nullptr;
};

TEST_F(MoveItem, TheDialogShowsItsControlsAndItsHelpTopic) {
    EXPECT_EQ(dialog->windowTitle(), "Select date");
    ExpectControls(*dialog, {{"RB_date_on", "Move to data:", {}, {}, {}, {}, true},
                             {"RB_date_off", "Move to data independed items list", {}, {}, {}, {}, false},
                             {"RadioGroup1", "Move the item:"},
                             {"RadioGroup1_0", "Making a copy", {}, {}, {}, {}, true},
                             {"RadioGroup1_1", "Moving", {}, {}, {}, {}, false},
                             {"Btn_ok", "OK", {}, {}, {}, true},
                             {"Btn_cancel", "Cancel"},
                             {"Btn_help", "Help"},
                             {"Calendar1"}});
    EXPECT_EQ(dialog->Calendar1->minimumDate(), QDate(100, 1, 1));
    EXPECT_EQ(dialog->Calendar1->maximumDate(), QDate(9999, 12, 31));
    dialog->adjustSize();
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "the dialog is of fixed size";

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    dialog->Btn_help->click();
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.opened.size(), 1);
    const QUrl opened = catcher.opened[0];
    EXPECT_TRUE(opened.path().endsWith("/Move_item.html")) << opened.toString().toStdString();
}

TEST_F(MoveItem, OkIsOfferedOnlyForAnotherDayThanTheItemsOwn) {
    struct Step {
        const char* what;
        void (*act)(TD_select_date_move&);
        bool ok;
    };
    const auto run = [&](const std::string& source, std::initializer_list<Step> steps) {
        ModalAnswer answer([&](QWidget* d) {
            TD_select_date_move& m = *move_dialog(d);
            for (const Step& s : steps) {
                s.act(m);
                EXPECT_EQ(m.Btn_ok->isEnabled(), s.ok) << source << ": " << s.what;
                EXPECT_EQ(m.Calendar1->isEnabled(), m.RB_date_on->isChecked()) << s.what;
            }
            click_button(d, "Cancel");
        });
        EXPECT_EQ(dialog->select_move_target(source).action, TD_select_date_move::Cancelled);
    };
    run("5/10/2026",
        {{"opened on the item's own date", [](TD_select_date_move&) {}, false},
         {"another date", [](TD_select_date_move& m) { click_day(m.Calendar1, 15, false); }, true},
         {"back on its date", [](TD_select_date_move& m) { click_day(m.Calendar1, 10, false); }, false},
         {"the date-independent list", [](TD_select_date_move& m) { m.RB_date_off->click(); }, true}});
    run("N/A", {{"the date-independent list kept", [](TD_select_date_move&) {}, false},
                {"to a date: today",
                 [](TD_select_date_move& m) {
                     m.RB_date_on->click();
                     EXPECT_EQ(m.Calendar1->selectedDate(), QDate::currentDate());
                 },
                 true}});
}

TEST_F(MoveItem, TheDialogKeepsTargetKindAndActionAndADoubleClickActsAsOk) {
    {
        ModalAnswer answer([](QWidget* d) { Choose(false, {}, TD_select_date_move::Move)(d); });
        const auto target = dialog->select_move_target("5/10/2026");
        EXPECT_EQ(target.key, "N/A");
        EXPECT_EQ(target.action, TD_select_date_move::Move);
    }
    bool keptOff = false, keptMoving = false, calendarOff = false;
    {
        // Kept from the last use; a double click while "OK" is not offered closes as cancelled.
        ModalAnswer answer([&](QWidget* d) {
            TD_select_date_move& m = *move_dialog(d);
            keptOff = m.RB_date_off->isChecked();
            keptMoving = m.RadioGroup1->ItemIndex() == TD_select_date_move::Move;
            calendarOff = !m.Calendar1->isEnabled();
            m.RB_date_on->click();
            click_day(m.Calendar1, 20, true);
        });
        EXPECT_EQ(dialog->select_move_target("5/20/2026").action, TD_select_date_move::Cancelled);
    }
    EXPECT_TRUE(keptOff && keptMoving && calendarOff);
    {
        ModalAnswer answer([](QWidget* d) { click_day(move_dialog(d)->Calendar1, 14, true); });
        const auto target = dialog->select_move_target("5/20/2026");
        EXPECT_EQ(target.key, "5/14/2026");
        EXPECT_EQ(target.action, TD_select_date_move::Move);
        EXPECT_FALSE(dialog->isVisible());
    }
}

TEST_F(MoveItem, ADoneItemIsAskedAboutFirstAndNoChangesNothing) {
    TNoxPigger* day = ShowDay("5/10/2026", {"done one"});
    main->LV1->item(0)->setCheckState(Qt::Checked);
    const std::string before = main->TodoDoc()->GetText();
    QString question;
    {
        AnswerInTurn answers({[&](QWidget* d) {
            question = d->findChild<QLabel*>("Label_question")->text();
            click_button(d, "No");
        }});
        main->N_MovetootherdateClick();
        EXPECT_EQ(answers.titles, QStringList{"Confirmation:"}) << "no target dialog after No";
    }
    EXPECT_EQ(question.remove(QChar(0x200b)),
              "The item \"done one\" is marked as done.\nDo you wish to move it?");
    EXPECT_EQ(main->TodoDoc()->GetText(), before);
    EXPECT_EQ(day->ChildCount(), 1);
}

TEST_F(MoveItem, ACopyOfADoneItemIsDoneTooAndTheMessageNamesTheTarget) {
    TNoxPigger* day = ShowDay("5/10/2026", {"water plants"});
    main->LV1->item(0)->setCheckState(Qt::Checked);
    QString message;
    {
        AnswerInTurn answers({[](QWidget* d) { click_button(d, "Yes"); },
                              Choose(false, {}, TD_select_date_move::Copy),
                              [&](QWidget* d) {
                                  message = d->findChild<QLabel*>("Label_message")->text();
                                  click_button(d, "OK");
                              }});
        main->N_MovetootherdateClick();
    }
    EXPECT_EQ(message.remove(QChar(0x200b)), "The item \"water plants\"\nhas been copied to date N/A.");
    const TNoxPigger* copy = main->TodoDoc()->FindChildByAttr("DATE", "N/A")->Child(0);
    EXPECT_EQ(copy->GetAttr("CAPTION"), "water plants");
    EXPECT_EQ(copy->GetAttr("D"), "Y");
    EXPECT_EQ(main->current_day, day) << "the main window stays on its day";
    EXPECT_EQ(day->ChildCount(), 1);
    EXPECT_NE(main->selected_row(), nullptr);
}

TEST_F(MoveItem, AMovedItemGoesLastOnTheTargetDayWhichIsShownWithoutSelection) {
    for (const QDate target : {QDate(2026, 5, 11), QDate(100, 1, 1), QDate(9999, 12, 31)}) {
        SCOPED_TRACE(target.toString(Qt::ISODate).toStdString());
        TNoxPigger* there = todo::find_or_create_day(*main->TodoDoc(), render_day_key(target));
        there->AddChild("TASK")->SetAttr("CAPTION", "there already");
        TNoxPigger* source = ShowDay("5/10/2026", {"to move"});
        TNoxPigger* item = source->Child(0);
        {
            AnswerInTurn answers({Choose(true, target, TD_select_date_move::Move)});
            main->N_MovetootherdateClick();
        }
        EXPECT_EQ(there->ChildCount(), 2);
        EXPECT_EQ(there->Child(1), item);
        EXPECT_EQ(source->ChildCount(), 0);
        EXPECT_EQ(main->current_day, there);
        EXPECT_EQ(main->DatePicker1->date(), target);
        EXPECT_EQ(main->LV1->item(1)->text(), "to move");
        EXPECT_EQ(main->selected_row(), nullptr);
    }
}

TEST_F(MoveItem, TheKeyboardAloneMovesOrCopiesAndTheSavedFileHoldsTheItemThere) {
    main->show();
    for (const int action : {TD_select_date_move::Copy, TD_select_date_move::Move}) {
        SCOPED_TRACE(action);
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        ShowDay("5/10/2026", {action == TD_select_date_move::Copy ? "copied by keys" : "moved by keys"});
        main->LV1->setFocus();
        bool calendarFocused = false;
        std::vector<AnswerInTurn::Action> steps{[&](QWidget* d) {
            TD_select_date_move& m = *move_dialog(d);
            m.RadioGroup1->SetItemIndex(action);
            QWidget* focus = d->focusWidget();
            calendarFocused = focus && m.Calendar1->isAncestorOf(focus);
            QTest::keyClick(focus, Qt::Key_Right);
            QTest::keyClick(focus, Qt::Key_Down);
            QTest::keyClick(focus, Qt::Key_Return);
        }};
        if (action == TD_select_date_move::Copy)
            steps.push_back([](QWidget* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Return); });
        {
            AnswerInTurn answers(steps);
            QTest::keyClick(main->LV1, Qt::Key_F6);
        }
        EXPECT_TRUE(calendarFocused);
        ASSERT_TRUE(main->N_SaveClick());
        const std::string saved = ReadBytes(DataFile());
        const size_t target = saved.find("<DAY_DATA DATE=\"5/18/2026\">");
        ASSERT_NE(target, std::string::npos);
        EXPECT_NE(
            saved.find(action == TD_select_date_move::Copy ? "copied by keys" : "moved by keys", target),
            std::string::npos);
    }
}

} // namespace

#include "MoveItem_test.moc"
