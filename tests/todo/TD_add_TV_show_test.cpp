// The TV show dialog and the reminder the main window files from it.
#include "AnswerInTurn.h"
#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "UrlCatcher.h"
#include "dialogs/TF_about.h"
#include "todo/DayListWidget.h"
#include "todo/ItemRows.h"
#include "todo/TD_add_TV_show.h"
#include "todo/TD_select_date_move.h"
#include "todo/rules/DayKeys.h"

#include <QDateEdit>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>

namespace {

class TvShow : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Start();
        dialog = reg().addTvShow;
    }
    TD_add_TV_show* dialog = nullptr;
};

TEST_F(TvShow, ControlsBlankNamesAndTheButtonsThatOpenPages) {
    EXPECT_EQ(dialog->windowTitle(), "TV show");
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "the dialog is of fixed size";
    ExpectControls(
        *dialog, {{"Shape1"},
                  {"Image1"},
                  {"Label1", "Must be seen:"},
                  {"Label2", "Show name:"},
                  {"Label3", "Show date:"},
                  {"Label4", "Show time:"},
                  {"GroupBox1", "SATELLITE TV SYSTEM"},
                  {"Label5", "Get FREE INSTALLATION of a SATELLITE TV SYSTEM\nThere is no equipment to buy."},
                  {"btn_more_info", "More info..."},
                  {"BTN_OK", "Ok", false, {}, {}, true},
                  {"BTN_CANCEL", "Cancel", true}});
    const QFont heading = dialog->Label1->font();
    EXPECT_TRUE(heading.bold() && heading.italic() && heading.pointSizeF() > dialog->font().pointSizeF());
    EXPECT_EQ(dialog->Label1->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_TRUE(dialog->DTP_date->calendarPopup());
    EXPECT_EQ(dialog->DTP_date->displayFormat(), day_key_format());
    EXPECT_EQ(dialog->Label2->buddy(), dialog->Edit_name);
    for (const auto& [name, ok] : {std::pair{"", false},
                                   {"  \t\x01", false},
                                   {"\u00a0\u2003", false},
                                   {" x ", true},
                                   {"News", true}}) {
        dialog->Edit_name->setText(QString::fromUtf8(name));
        EXPECT_EQ(dialog->BTN_OK->isEnabled(), ok) << name;
    }

    UrlCatcher catcher({"https", "file"});
    dialog->btn_more_info->click();
    reg().selectDateMove->Btn_help->click();
    ASSERT_EQ(catcher.opened.size(), 2);
    EXPECT_EQ(catcher.opened[0], TF_about::MakerPage());
    EXPECT_TRUE(catcher.opened[1].path().endsWith("/Move_item.html"));
}

TEST_F(TvShow, AReminderIsTheSelectedLastRowOfItsDayWithTimeAndTelevisionAndCancelChangesNothing) {
    struct Case {
        QString name;
        QDate date;
        QTime time;
        const char* hour; // none: cancelled
        const char* minute;
    };
    main->RB_date_off->click(); // filed from the date-independent list, too
    main->add_item(main->current_day, "first");
    for (const Case& c : {Case{"Evening news", QDate(2026, 7, 4), QTime(20, 5, 59), "20", "05"},
                          Case{"  Early show", QDate(2026, 7, 4), QTime(7, 30), "07", "30"},
                          Case{"Never filed", QDate(2026, 1, 1), QTime(1, 1), nullptr, nullptr},
                          Case{"Far ahead", QDate(9999, 12, 31), QTime(0, 0), "00", "00"}}) {
        SCOPED_TRACE(c.name.toStdString());
        QListWidgetItem* last = main->LV1->item(main->LV1->count() - 1);
        last->setCheckState(Qt::Checked); // a tick only the list knows of so far
        TNoxPigger* ticked = main->item_of_row(last);
        const std::string before = main->TodoDoc()->GetText();
        const std::string shownBefore = main->current_day->GetAttr("DATE");
        QDate offered;
        {
            AnswerInTurn answer({[&](QWidget* d) {
                offered = dialog->DTP_date->date();
                QTest::keyClicks(dialog->Edit_name, c.name);
                dialog->DTP_date->setDate(c.date);
                dialog->DTP_time->setTime(c.time);
                QTest::keyClick(c.hour ? dialog->Edit_name : d, c.hour ? Qt::Key_Return : Qt::Key_Escape);
            }});
            main->TB_tvshowClick();
        }
        EXPECT_EQ(offered, QDate::currentDate());
        if (!c.hour) {
            EXPECT_EQ(main->TodoDoc()->GetText(), before);
            EXPECT_EQ(main->current_day->GetAttr("DATE"), shownBefore);
            continue;
        }
        EXPECT_EQ(ticked->GetAttr("D"), "Y");
        EXPECT_EQ(main->current_day->GetAttr("DATE"), render_day_key(c.date));
        EXPECT_TRUE(main->RB_date_on->isChecked());
        QListWidgetItem* row = main->selected_row();
        ASSERT_EQ(row, main->LV1->item(main->LV1->count() - 1));
        EXPECT_EQ(item_rows::picture(row), 35);
        EXPECT_EQ(
            main->item_of_row(row)->Attributes(),
            (std::vector<TNoxPigger::Attribute>{
                {"CAPTION", c.name.toStdString()}, {"HOUR", c.hour}, {"MINUTE", c.minute}, {"INDEX", "35"}}));
    }
}

} // namespace
