// The TV show dialog and the reminder the main window files from it.
#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "dialogs/TF_about.h"
#include "todo/DayListWidget.h"
#include "todo/ItemRows.h"
#include "todo/TD_add_TV_show.h"
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

// Stands in for the desktop's browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class TvShow : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Start();
        dialog = reg().addTvShow;
    }
    TD_add_TV_show* dialog = nullptr;
};

TEST_F(TvShow, TheDialogShowsItsControlsAndMoreInfoOpensTheMakersPage) {
    EXPECT_EQ(dialog->windowTitle(), "TV show");
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "the dialog is of fixed size";
    EXPECT_GE(dialog->width(), 511);
    EXPECT_GE(dialog->height(), 380);
    ExpectControls(
        *dialog, {{"Shape1"},
                  {"Image1"},
                  {"Label1", "Must be seen:"},
                  {"Label2", "Show name:"},
                  {"Edit_name", ""},
                  {"Label3", "Show date:"},
                  {"DTP_date"},
                  {"Label4", "Show time:"},
                  {"DTP_time"},
                  {"GroupBox1", "SATELLITE TV SYSTEM"},
                  {"Label5", "Get FREE INSTALLATION of a SATELLITE TV SYSTEM\nThere is no equipment to buy."},
                  {"btn_more_info", "More info..."},
                  {"BTN_OK", "Ok", false, {}, {}, true},
                  {"BTN_CANCEL", "Cancel", true}});
    const QFont heading = dialog->Label1->font();
    EXPECT_TRUE(heading.bold() && heading.italic() && heading.pointSizeF() > dialog->font().pointSizeF());
    EXPECT_EQ(dialog->Label1->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_TRUE(dialog->Label5->font().bold());
    EXPECT_TRUE(dialog->DTP_date->calendarPopup());
    EXPECT_EQ(dialog->DTP_date->displayFormat(), day_key_format());
    EXPECT_EQ(dialog->Label2->buddy(), dialog->Edit_name);

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    dialog->btn_more_info->click();
    QDesktopServices::unsetUrlHandler("https");
    EXPECT_EQ(catcher.opened, QList<QUrl>{TF_about::MakerPage()});
}

TEST_F(TvShow, OkIsOfferedOnlyForANameThatIsNotBlank) {
    struct Case {
        const char* name;
        bool ok;
    };
    for (const Case& c : {Case{"", false}, Case{"   ", false}, Case{"\t \x01", false},
                          Case{"\u00a0\u2003", false}, Case{" x ", true}, Case{"News", true}}) {
        dialog->Edit_name->setText(QString::fromUtf8(c.name));
        EXPECT_EQ(dialog->BTN_OK->isEnabled(), c.ok) << c.name;
    }
}

TEST_F(TvShow, AReminderIsTheLastRowOfTheShowsDaySelectedTimedAndWithTheTelevision) {
    struct Case {
        QString name;
        QDate date;
        QTime time;
        const char* hour;
        const char* minute;
    };
    main->RB_date_off->click(); // filed from the date-independent list, too
    for (const Case& c : {Case{"Evening news", QDate(2026, 7, 4), QTime(20, 5, 59), "20", "05"},
                          Case{"  Early show", QDate(2026, 7, 4), QTime(7, 30), "07", "30"},
                          Case{"Far ahead", QDate(9999, 12, 31), QTime(0, 0), "00", "00"}}) {
        SCOPED_TRACE(c.name.toStdString());
        QDate shownInDialog;
        {
            ModalAnswer answer([&](QWidget*) {
                shownInDialog = dialog->DTP_date->date();
                QTest::keyClicks(dialog->Edit_name, c.name);
                dialog->DTP_date->setDate(c.date);
                dialog->DTP_time->setTime(c.time);
                QTest::keyClick(dialog->Edit_name, Qt::Key_Return);
            });
            main->TB_tvshowClick();
        }
        EXPECT_EQ(shownInDialog, QDate::currentDate());
        EXPECT_TRUE(main->RB_date_on->isChecked());
        EXPECT_EQ(main->DatePicker1->date(), c.date);
        EXPECT_EQ(main->current_day->GetAttr("DATE"), render_day_key(c.date));
        QListWidgetItem* row = main->selected_row();
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row, main->LV1->item(main->LV1->count() - 1));
        EXPECT_EQ(item_rows::picture(row), 35);
        const TNoxPigger* item = main->item_of_row(row);
        EXPECT_EQ(
            item->Attributes(),
            (std::vector<TNoxPigger::Attribute>{
                {"CAPTION", c.name.toStdString()}, {"HOUR", c.hour}, {"MINUTE", c.minute}, {"INDEX", "35"}}));
    }
}

TEST_F(TvShow, CancelChangesNothingNotEvenTheDayShown) {
    main->go_to_date(QDate(2026, 3, 3));
    main->add_item(main->current_day, "ticked before");
    main->LV1->item(0)->setCheckState(Qt::Checked);
    const std::string before = main->TodoDoc()->GetText();
    using Answer = std::function<void(QWidget*)>;
    for (const Answer& answer : {Answer([](QWidget* d) { click_button(d, "Cancel"); }),
                                 Answer([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); })}) {
        {
            ModalAnswer modal([&](QWidget* d) {
                QTest::keyClicks(dialog->Edit_name, "Not filed");
                answer(d);
            });
            main->TB_tvshowClick();
        }
        EXPECT_FALSE(dialog->accepted);
        EXPECT_EQ(main->TodoDoc()->GetText(), before);
        EXPECT_EQ(main->DatePicker1->date(), QDate(2026, 3, 3));
        EXPECT_EQ(main->LV1->count(), 1);
    }
}

} // namespace

#include "TD_add_TV_show_test.moc"
