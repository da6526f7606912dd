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
#include <gtest/gtest.h>

namespace {

// Records a modal dialog that should not have appeared, and closes it so the test goes on.
class NoModal {
public:
    NoModal() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                appeared_ = true;
                modal->close();
            }
        });
        timer_.start(20);
    }
    ~NoModal() { EXPECT_FALSE(appeared_) << "a dialog appeared"; }

private:
    QTimer timer_;
    bool appeared_ = false;
};

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

TEST_F(SettingsDialog, ShowsItsPagesButtonsAndControlsWithTheirTextsAndInitialStates) {
    TD_settings_user& s = Open();
    EXPECT_EQ(s.windowTitle(), "Settings");
    EXPECT_EQ(s.layout()->sizeConstraint(), QLayout::SetFixedSize);
    auto* pages = Child<QTabWidget>("PageControl1");
    ASSERT_TRUE(pages);
    const QStringList tabs{"Main", "Print", "Hour grid", "Plugins"};
    const QStringList pageNames{"TabSheet1", "TabSheet_print", "TabSheet_hour_grid", "TabSheet_PI"};
    ASSERT_EQ(pages->count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(pages->tabText(i), tabs[i]);
        EXPECT_EQ(pages->widget(i)->objectName(), pageNames[i]);
    }
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
    EXPECT_EQ(interval->minimum(), 60);
    EXPECT_EQ(interval->maximum(), 600);
    EXPECT_EQ(interval->singleStep(), 60);
    EXPECT_EQ(interval->value(), 240);
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
    EXPECT_EQ(field->value(), 300) << "the arrows step by a minute";
    EXPECT_EQ(reg().settings.AutoSaveSeconds(), 300);
    on->click();
    EXPECT_FALSE(field->isEnabled());
    EXPECT_EQ(Attr("AUTO_SAVE_TIME"), "");
    on->click();
    EXPECT_EQ(Attr("AUTO_SAVE_TIME"), "300");

    Group("RG_backup")->Button(0)->click();
    Group("RBG_mode")->Button(0)->click();
    Group("RBG_resolution")->Button(0)->click();
    EXPECT_EQ(Attr("BACKUP_MODE"), "3");
    EXPECT_EQ(Attr("AMPM"), "yes");
    EXPECT_EQ(Attr("TIME_RESOLUTION"), "60");
    Group("RG_backup")->Button(1)->click();
    EXPECT_EQ(reg().settings.BackupMode(), 1);
    Group("RBG_mode")->Button(1)->click();
    EXPECT_EQ(Attr("AMPM"), "Y");
    Group("RBG_resolution")->Button(1)->click();
    EXPECT_EQ(Attr("TIME_RESOLUTION"), "30");
    Group("RBG_resolution")->Button(0)->click();
    EXPECT_EQ(Attr("TIME_RESOLUTION"), "");
    EXPECT_EQ(Attr("REMIND"), "");
    Child<QCheckBox>("CB_remind")->click();
    EXPECT_EQ(Attr("REMIND"), "N");
    EXPECT_FALSE(reg().settings.Remind());

    NoModal none;
    Choose(Child<QComboBox>("CB_hour1"), "23");
    EXPECT_EQ(Attr("H0"), "07") << "both hours are written";
    EXPECT_EQ(Attr("H1"), "23");
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
    {
        NoModal none;
        Choose(first, "05");
    }
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

TEST_F(SettingsDialog, TheBackupSettingReachesTheListWheneverTheDialogCloses) {
    TD_settings_user& s = Open("\r\n<SETTINGS BACKUP_MODE=\"2\"/>");
    EXPECT_TRUE(reg().list.BackupOnSave) << "set when the settings are loaded";
    {
        ModalAnswer answer([](QWidget* d) {
            d->findChild<TRadioGroup*>("RG_backup")->Button(1)->click();
            d->close();
        });
        s.ShowOnPage(TD_settings_user::Page::Main);
    }
    EXPECT_FALSE(reg().list.BackupOnSave) << "the close box counts too";
    {
        ModalAnswer answer([](QWidget* d) {
            d->findChild<TRadioGroup*>("RG_backup")->Button(2)->click();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        s.ShowOnPage(TD_settings_user::Page::Main);
    }
    EXPECT_TRUE(reg().list.BackupOnSave);
}

TEST_F(SettingsDialog, TheFileIsWrittenByCloseBySetDataFileNameAndAtExitButNotByTheCloseBox) {
    const std::string atStart = "\r\n<SETTINGS DATA_FILE_NAME=\"old.dat\"/>";
    TD_settings_user& s = Open(atStart);
    EXPECT_EQ(s.DataFileName(), "old.dat");
    {
        ModalAnswer answer([](QWidget* d) {
            d->findChild<QCheckBox*>("CB_autosave")->click();
            d->close();
        });
        s.ShowOnPage(TD_settings_user::Page::Main);
    }
    EXPECT_EQ(Attr("AUTO_SAVE_TIME"), "240") << "the change is in the document at once";
    EXPECT_EQ(ReadBytes(SettingsFile()), atStart) << "the close box writes nothing";
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

TEST_F(SettingsDialog, TabMovesThroughTheControlsInReadingOrder) {
    TD_settings_user& s = Open();
    const QStringList order{
        "CB_autosave",      "SE_autosave",      "RG_backup_0",      "RG_backup_1", "RG_backup_2",
        "CB_remind",        "CB_hour0",         "CB_hour1",         "RBG_mode_0",  "RBG_mode_1",
        "RBG_resolution_0", "RBG_resolution_1", "RBG_resolution_2", "btn_help",    "OKBtn"};
    QStringList chain;
    QWidget* w = s.findChild<QWidget*>("CB_autosave");
    for (int guard = 0; w && guard < 200 && chain.size() < order.size(); ++guard, w = w->nextInFocusChain())
        if (order.contains(w->objectName()) && !chain.contains(w->objectName())) chain << w->objectName();
    EXPECT_EQ(chain, order);
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
