#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "app/TD_settings_user.h"
#include "todo/rules/Settings.h"
#include "ui/TRadioGroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

namespace {

// Runs the action and fails when a modal dialog appears meanwhile, closing it so the test goes on.
void WithoutDialog(const std::function<void()>& action) {
    bool appeared = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&appeared] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            appeared = true;
            modal->close();
        }
    });
    watch.start(20);
    action();
    EXPECT_FALSE(appeared) << "a dialog appeared";
}

QStringList items(const QComboBox* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

QStringList hours(int first) {
    QStringList out;
    for (int h = first; h <= 23; ++h)
        out << QString::asprintf("%02d", h);
    return out;
}

class SettingsDialog : public ProgramFixture {
protected:
    // The program with the settings dialog and the message dialog it talks through.
    TD_settings_user& Open(const std::string& settingsFile = {}) {
        if (!settingsFile.empty()) WriteBytes(SettingsFile(), settingsFile);
        Create(ProgramWindows::SettingsDialog | ProgramWindows::Msg);
        return *reg().settingsDialog;
    }
    std::string Attr(const char* name) { return reg().settings.Doc().GetAttr(name); }
    // The attributes of the settings root in their order, as "NAME=value NAME=value".
    std::string Attrs() {
        std::string out;
        for (const auto& [name, value] : reg().settings.Doc().Attributes())
            out += (out.empty() ? "" : " ") + name + "=" + value;
        return out;
    }
    TRadioGroup* Group(const char* name) { return reg().settingsDialog->findChild<TRadioGroup*>(name); }
    template <class T> T* Child(const char* name) { return reg().settingsDialog->findChild<T*>(name); }
    // The user picks an entry of a drop-down list.
    static void Choose(QComboBox* list, const QString& text) {
        const int i = list->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        list->setCurrentIndex(i);
        emit list->activated(i);
    }
};

TEST_F(SettingsDialog, ShowsItsPagesButtonsAndControlsWithTheirTextsInitialStatesAndTabOrder) {
    TD_settings_user& s = Open();
    EXPECT_EQ(s.windowTitle(), "Settings");
    EXPECT_EQ(s.layout()->sizeConstraint(), QLayout::SetFixedSize);
    auto* pages = Child<QTabWidget>("PageControl1");
    ASSERT_TRUE(pages);
    QStringList tabs;
    for (int i = 0; i < pages->count(); ++i)
        tabs << pages->tabText(i) + "=" + pages->widget(i)->objectName();
    EXPECT_EQ(tabs, QStringList({"Main=TabSheet1", "Print=TabSheet_print", "Hour grid=TabSheet_hour_grid",
                                 "Plugins=TabSheet_PI"}));
    EXPECT_EQ(pages->currentIndex(), 0);

    ExpectControls(s, {{"OKBtn", "Close", {}, {}, {}, true},
                       {"btn_help", "Help"},
                       {"GB_autosave", "Auto save"},
                       {"CB_autosave", "Auto save on", true, {}, {}, {}, false},
                       {"SE_autosave", {}, false},
                       {"Label_autosave_interval", "Auto save interval"},
                       {"Label_autosave_sec", "sec."},
                       {"Label_hour0", "First grid hour:"},
                       {"Label_hour1", "Last grid hour:"},
                       {"RG_backup", "Make backup file"},
                       {"RG_backup_0", "Never", {}, {}, {}, {}, true},
                       {"RG_backup_1", "On exit"},
                       {"RG_backup_2", "On each save"},
                       {"CB_remind", "Remind me of timed items", true, {}, {}, {}, true},
                       {"RBG_mode", "View mode:"},
                       {"RBG_mode_0", "24 hour", {}, {}, {}, {}, true},
                       {"RBG_mode_1", "AM / PM"},
                       {"RBG_resolution", "Resolution:"},
                       {"RBG_resolution_0", "1 hour", {}, {}, {}, {}, true},
                       {"RBG_resolution_1", "30 min"},
                       {"RBG_resolution_2", "15 min"}});
    EXPECT_TRUE(Child<QPushButton>("CancelBtn")->isHidden());
    auto* interval = Child<QSpinBox>("SE_autosave");
    EXPECT_EQ(
        (std::tuple{interval->minimum(), interval->maximum(), interval->singleStep(), interval->value()}),
        (std::tuple{60, 600, 60, 240}));
    EXPECT_EQ(Child<QLabel>("Label_autosave_interval")->buddy(), interval);

    EXPECT_EQ(Child<QFrame>("O_settings_print1")->parentWidget(), pages->widget(1));
    auto* first = Child<QComboBox>("CB_hour0");
    auto* last = Child<QComboBox>("CB_hour1");
    EXPECT_FALSE(first->isEditable());
    EXPECT_EQ(items(first), hours(0));
    EXPECT_EQ(items(last), hours(1));
    EXPECT_EQ(first->currentText(), "07");
    EXPECT_EQ(last->currentText(), "22");
    EXPECT_EQ(Child<QWidget>("Image_hour_grid")->parentWidget(), pages->widget(2));
    EXPECT_TRUE(pages->widget(3)->findChildren<QWidget*>().isEmpty()) << "the Plugins page stays empty";
    auto* plugins = s.findChild<QDialog*>("TF_plugins");
    ASSERT_TRUE(plugins);
    EXPECT_FALSE(plugins->isVisible());

    // Tab moves through the controls in reading order.
    const QStringList order{
        "CB_autosave",      "SE_autosave",      "RG_backup_0",      "RG_backup_1", "RG_backup_2",
        "CB_remind",        "CB_hour0",         "CB_hour1",         "RBG_mode_0",  "RBG_mode_1",
        "RBG_resolution_0", "RBG_resolution_1", "RBG_resolution_2", "btn_help",    "OKBtn"};
    EXPECT_EQ(tab_chain(Child<QWidget>("CB_autosave"), order), order);
}

TEST_F(SettingsDialog, ShowsTheStoredSettingsWithoutWritingAnything) {
    const std::string stored = "\r\n<SETTINGS AUTO_SAVE_TIME=\"300\" H0=\"05\" H1=\"20\" AMPM=\"Y\" "
                               "TIME_RESOLUTION=\"15\" BACKUP_MODE=\"3\" REMIND=\"N\"/>";
    Open(stored);
    EXPECT_FALSE(Child<QCheckBox>("CB_remind")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>("CB_autosave")->isChecked());
    EXPECT_TRUE(Child<QSpinBox>("SE_autosave")->isEnabled());
    EXPECT_EQ(Child<QSpinBox>("SE_autosave")->value(), 300);
    EXPECT_EQ(Child<QComboBox>("CB_hour0")->currentText(), "05");
    EXPECT_EQ(Child<QComboBox>("CB_hour1")->currentText(), "20");
    EXPECT_EQ(Group("RBG_mode")->ItemIndex(), 1);
    EXPECT_EQ(Group("RBG_resolution")->ItemIndex(), 2);
    EXPECT_EQ(Group("RG_backup")->ItemIndex(), 0) << "an unknown mode shows as Never";
    EXPECT_EQ(ReadBytes(SettingsFile()), stored);
}

TEST_F(SettingsDialog, TheUsersChoicesGoIntoTheSettingsAtOnceAndAChoiceAlreadyShownWritesNothing) {
    Open("\r\n<SETTINGS BACKUP_MODE=\"3\" AMPM=\"yes\" TIME_RESOLUTION=\"60\"/>");
    auto* on = Child<QCheckBox>("CB_autosave");
    auto* field = Child<QSpinBox>("SE_autosave");
    on->click();
    EXPECT_TRUE(field->isEnabled());
    EXPECT_EQ(Attr("AUTO_SAVE_TIME"), "240");
    QTest::keyClick(field, Qt::Key_Up);
    EXPECT_EQ(Attr("AUTO_SAVE_TIME"), "300") << "the arrows step by a minute";
    on->click();
    EXPECT_FALSE(field->isEnabled());
    EXPECT_EQ(Attr("AUTO_SAVE_TIME"), "");
    on->click();
    EXPECT_EQ(Attr("AUTO_SAVE_TIME"), "300");

    for (const char* group : {"RG_backup", "RBG_mode", "RBG_resolution"})
        Group(group)->Button(0)->click();
    EXPECT_EQ(Attrs(), "BACKUP_MODE=3 AMPM=yes TIME_RESOLUTION=60 AUTO_SAVE_TIME=300");
    for (const char* group : {"RG_backup", "RBG_mode", "RBG_resolution"})
        Group(group)->Button(1)->click();
    EXPECT_EQ(Attrs(), "BACKUP_MODE=1 AMPM=Y TIME_RESOLUTION=30 AUTO_SAVE_TIME=300");
    Group("RBG_resolution")->Button(0)->click();
    Child<QCheckBox>("CB_remind")->click();
    WithoutDialog([&] { Choose(Child<QComboBox>("CB_hour1"), "23"); });
    EXPECT_EQ(Attrs(), "BACKUP_MODE=1 AMPM=Y AUTO_SAVE_TIME=300 REMIND=N H0=07 H1=23")
        << "both hours written";
}

TEST_F(SettingsDialog, ALastHourBeforeTheFirstIsRefusedWithAMessageAndTheFirstHourMovedBelowIt) {
    Open("\r\n<SETTINGS H0=\"09\"/>");
    auto* first = Child<QComboBox>("CB_hour0");
    auto* last = Child<QComboBox>("CB_hour1");
    {
        ModalAnswer answer([](QWidget* d) {
            EXPECT_EQ(d->findChild<QLabel*>("Label_message")->text(),
                      "END TIME MUST BE MORE THEN BEGIN TIME!");
            click_button(d, "OK");
        });
        Choose(last, "05");
    }
    EXPECT_EQ(first->currentText(), "04");
    EXPECT_EQ(Attr("H0"), "04");
    EXPECT_EQ(Attr("H1"), "05");
    {
        ModalAnswer answer([](QWidget* d) { click_button(d, "OK"); });
        Choose(first, "23");
    }
    EXPECT_EQ(Attr("H0"), "04");
    WithoutDialog([&] { Choose(first, "05"); });
    EXPECT_EQ(Attr("H0"), "05") << "equal hours are accepted";
    EXPECT_EQ(reg().settings.LastGridHour(), 5);

    // The arrow keys choose as well, and run the same check.
    last->setFocus();
    QTest::keyClick(last, Qt::Key_Down);
    EXPECT_EQ(Attr("H1"), "06");
    {
        ModalAnswer answer([](QWidget* d) { click_button(d, "OK"); });
        QTest::keyClick(last, Qt::Key_Up);
        QTest::keyClick(last, Qt::Key_Up);
    }
    EXPECT_EQ(Attr("H1"), "04");
    EXPECT_EQ(Attr("H0"), "03") << "the first hour moved below the last";
}

TEST_F(SettingsDialog, ClosingHandsTheBackupSettingToTheListAndTheFileIsWrittenByCloseNotByTheCloseBox) {
    const std::string atStart = "\r\n<SETTINGS DATA_FILE_NAME=\"old.dat\" BACKUP_MODE=\"2\"/>";
    TD_settings_user& s = Open(atStart);
    EXPECT_EQ(s.DataFileName(), "old.dat");
    EXPECT_TRUE(reg().list.BackupOnSave) << "set when the settings are loaded";
    {
        ModalAnswer answer([](QWidget* d) {
            d->findChild<QCheckBox*>("CB_autosave")->click();
            d->findChild<TRadioGroup*>("RG_backup")->Button(1)->click();
            d->close();
        });
        s.ShowOnPage(TD_settings_user::Page::Main);
    }
    EXPECT_FALSE(reg().list.BackupOnSave) << "the close box counts too";
    EXPECT_EQ(Attr("AUTO_SAVE_TIME"), "240") << "the change is in the document at once";
    EXPECT_EQ(ReadBytes(SettingsFile()), atStart) << "the close box writes nothing";
    {
        ModalAnswer answer([](QWidget* d) {
            d->findChild<TRadioGroup*>("RG_backup")->Button(2)->click();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        s.ShowOnPage(TD_settings_user::Page::Main);
    }
    EXPECT_TRUE(reg().list.BackupOnSave);
    {
        ModalAnswer answer([](QWidget* d) { click_button(d, "Close"); });
        s.ShowOnPage(TD_settings_user::Page::Main);
    }
    EXPECT_NE(ReadBytes(SettingsFile()).find("AUTO_SAVE_TIME=\"240\""), std::string::npos);

    Child<QCheckBox>("CB_autosave")->click();
    const QString name = QString::fromUtf8("../dat/todo-\xc3\xa9t\xc3\xa9.dat");
    s.SetDataFileName(name);
    const std::string afterSet = ReadBytes(SettingsFile());
    EXPECT_NE(afterSet.find("DATA_FILE_NAME=\"../dat/todo-\xc3\xa9t\xc3\xa9.dat\""), std::string::npos);
    EXPECT_EQ(afterSet.find("AUTO_SAVE_TIME"), std::string::npos);
    EXPECT_EQ(s.DataFileName(), name);

    QWidget window;
    window.resize(300, 200);
    s.StoreWindowGeometry(&window);
    EXPECT_EQ(ReadBytes(SettingsFile()), afterSet) << "storing the geometry writes nothing yet";
    Create(ProgramWindows::Main);
    DestroyMain();
    EXPECT_NE(ReadBytes(SettingsFile()).find("DATA_FILE_NAME"), std::string::npos)
        << "the exit writes the rest";
}

TEST_F(SettingsDialog, ShowOnPageOpensTheDialogModallyOnTheAskedPage) {
    TD_settings_user& s = Open();
    const std::pair<TD_settings_user::Page, const char*> cases[] = {
        {TD_settings_user::Page::HourGrid, "TabSheet_hour_grid"},
        {TD_settings_user::Page::Print, "TabSheet_print"},
        {TD_settings_user::Page::Main, "TabSheet1"}};
    for (const auto& [page, sheet] : cases) {
        QString shown;
        {
            ModalAnswer answer([&](QWidget* d) {
                shown = d->findChild<QTabWidget*>("PageControl1")->currentWidget()->objectName();
                click_button(d, "Close");
            });
            EXPECT_EQ(s.ShowOnPage(page), QDialog::Accepted);
        }
        EXPECT_EQ(shown, sheet);
    }
}

} // namespace
