#include "TD_settings_fixture.h"

#include "ModalAnswer.h"
#include "TForm_main.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
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

QString shown_message(QWidget* d) {
    return d->findChild<QLabel*>("Label_message")->text();
}
} // namespace

TEST_F(SettingsTest, AStoredAutoSaveIntervalIsLimitedToItsRangeAndWrittenBackAsShown) {
    const std::pair<const char*, int> cases[] = {{"30", 60},   {"abc", 240}, {"700", 600},
                                                 {"300", 300}, {"-5", 60},   {"99999999999999999999", 240}};
    for (const auto& [stored, shown] : cases) {
        writeSettings(QByteArray("\r\n<SETTINGS AUTO_SAVE_TIME=\"") + stored + "\"/>");
        TD_settings_user s(reg);
        EXPECT_TRUE(s.findChild<QCheckBox*>("CB_autosave")->isChecked()) << stored;
        EXPECT_TRUE(s.findChild<QSpinBox*>("SE_autosave")->isEnabled()) << stored;
        EXPECT_EQ(s.AutoSaveSeconds(), shown) << stored;
        EXPECT_EQ(attr(s, "AUTO_SAVE_TIME"), std::to_string(shown)) << stored;
    }
}

TEST_F(SettingsTest, TurningAutoSaveOffRemovesTheIntervalAndTurningItOnWritesTheFieldValue) {
    TD_settings_user s(reg);
    auto* on = s.findChild<QCheckBox*>("CB_autosave");
    auto* field = s.findChild<QSpinBox*>("SE_autosave");
    EXPECT_EQ(attr(s, "AUTO_SAVE_TIME"), "");
    on->click();
    EXPECT_TRUE(field->isEnabled());
    EXPECT_EQ(attr(s, "AUTO_SAVE_TIME"), "240");
    QTest::keyClick(field, Qt::Key_Up);
    EXPECT_EQ(field->value(), 300) << "the arrows step by a minute";
    EXPECT_EQ(attr(s, "AUTO_SAVE_TIME"), "300");
    EXPECT_EQ(s.AutoSaveSeconds(), 300);
    on->click();
    EXPECT_FALSE(field->isEnabled());
    EXPECT_EQ(attr(s, "AUTO_SAVE_TIME"), "");
    EXPECT_EQ(s.AutoSaveSeconds(), -1);
    on->click();
    EXPECT_EQ(attr(s, "AUTO_SAVE_TIME"), "300");
}

TEST_F(SettingsTest, UnknownValuesShowTheDefaultsButStayInTheFileUntilTheUserChooses) {
    writeSettings("\r\n<SETTINGS BACKUP_MODE=\"3\" H0=\"7\" H1=\"24\" AMPM=\"yes\" TIME_RESOLUTION=\"60\"/>");
    {
        TD_settings_user s(reg);
        EXPECT_EQ(s.findChild<TRadioGroup*>("RG_backup")->ItemIndex(), 0) << "shown as Never";
        EXPECT_EQ(s.BackupMode(), 0);
        EXPECT_EQ(s.FirstGridHour(), 7);
        EXPECT_EQ(s.LastGridHour(), 22);
        EXPECT_FALSE(s.IsAmPm());
        EXPECT_EQ(s.TimeResolution(), 60);
    }
    const QByteArray kept = readSettings();
    EXPECT_TRUE(kept.startsWith("\r\n<SETTINGS BACKUP_MODE=\"3\" H0=\"7\" H1=\"24\" AMPM=\"yes\" "
                                "TIME_RESOLUTION=\"60\">"))
        << kept.constData();

    TD_settings_user s(reg);
    // A click on the choice already shown is no change.
    s.findChild<TRadioGroup*>("RG_backup")->Button(0)->click();
    s.findChild<TRadioGroup*>("RBG_mode")->Button(0)->click();
    s.findChild<TRadioGroup*>("RBG_resolution")->Button(0)->click();
    EXPECT_EQ(attr(s, "BACKUP_MODE"), "3");
    EXPECT_EQ(attr(s, "AMPM"), "yes");
    EXPECT_EQ(attr(s, "TIME_RESOLUTION"), "60");
    s.findChild<TRadioGroup*>("RG_backup")->Button(1)->click();
    EXPECT_EQ(attr(s, "BACKUP_MODE"), "1");
    EXPECT_EQ(s.BackupMode(), 1);
    s.findChild<TRadioGroup*>("RG_backup")->Button(0)->click();
    EXPECT_EQ(attr(s, "BACKUP_MODE"), "0");
}

TEST_F(SettingsTest, TheHourGridSettingsAreReadFromTheFileAndWrittenByTheUsersChoices) {
    writeSettings("\r\n<SETTINGS H0=\"05\" H1=\"20\" AMPM=\"Y\" TIME_RESOLUTION=\"15\"/>");
    TD_settings_user s(reg);
    EXPECT_EQ(s.FirstGridHour(), 5);
    EXPECT_EQ(s.LastGridHour(), 20);
    EXPECT_TRUE(s.IsAmPm());
    EXPECT_EQ(s.TimeResolution(), 15);

    auto* resolution = s.findChild<TRadioGroup*>("RBG_resolution");
    resolution->Button(1)->click();
    EXPECT_EQ(attr(s, "TIME_RESOLUTION"), "30");
    EXPECT_EQ(s.TimeResolution(), 30);
    resolution->Button(0)->click();
    EXPECT_EQ(attr(s, "TIME_RESOLUTION"), "");
    EXPECT_EQ(s.TimeResolution(), 60);
    s.findChild<TRadioGroup*>("RBG_mode")->Button(0)->click();
    EXPECT_EQ(attr(s, "AMPM"), "");
    EXPECT_FALSE(s.IsAmPm());
    s.findChild<TRadioGroup*>("RBG_mode")->Button(1)->click();
    EXPECT_EQ(attr(s, "AMPM"), "Y");

    NoModal none;
    choose(s.findChild<QComboBox*>("CB_hour1"), "23");
    EXPECT_EQ(attr(s, "H0"), "05") << "both hours are written";
    EXPECT_EQ(attr(s, "H1"), "23");
}

TEST_F(SettingsTest, ALastHourBeforeTheFirstIsRefusedWithAMessageAndTheFirstHourMovedBelowIt) {
    writeSettings("\r\n<SETTINGS H0=\"09\"/>");
    TD_settings_user s(reg);
    auto* first = s.findChild<QComboBox*>("CB_hour0");
    auto* last = s.findChild<QComboBox*>("CB_hour1");
    EXPECT_EQ(attr(s, "H1"), "") << "loading writes no hours";
    {
        ModalAnswer answer([](QWidget* d) {
            EXPECT_EQ(shown_message(d), "END TIME MUST BE MORE THEN BEGIN TIME!");
            click_button(d, "OK");
        });
        choose(last, "05");
    }
    EXPECT_EQ(first->currentText(), "04");
    EXPECT_EQ(attr(s, "H0"), "04");
    EXPECT_EQ(attr(s, "H1"), "05");

    {
        ModalAnswer answer([](QWidget* d) { click_button(d, "OK"); });
        choose(first, "23");
    }
    EXPECT_EQ(first->currentText(), "04");
    EXPECT_EQ(attr(s, "H0"), "04");
    {
        NoModal none;
        choose(first, "05");
    }
    EXPECT_EQ(attr(s, "H0"), "05") << "equal hours are accepted";
    EXPECT_EQ(s.FirstGridHour(), 5);
    EXPECT_EQ(s.LastGridHour(), 5);

    // Without a message dialog the correction still happens.
    reg.msg = nullptr;
    choose(last, "03");
    EXPECT_EQ(attr(s, "H0"), "02");
    EXPECT_EQ(attr(s, "H1"), "03");

    // The arrow keys choose as well, and run the same check.
    last->setFocus();
    QTest::keyClick(last, Qt::Key_Down);
    EXPECT_EQ(attr(s, "H1"), "04");
    QTest::keyClick(last, Qt::Key_Up);
    QTest::keyClick(last, Qt::Key_Up);
    EXPECT_EQ(attr(s, "H1"), "02");
    EXPECT_EQ(attr(s, "H0"), "02");
    QTest::keyClick(last, Qt::Key_Up);
    EXPECT_EQ(attr(s, "H1"), "01");
    EXPECT_EQ(attr(s, "H0"), "00") << "the first hour moved below the last";
}

TEST_F(SettingsTest, TheBackupSettingReachesTheShellWheneverTheDialogCloses) {
    writeSettings("\r\n<SETTINGS BACKUP_MODE=\"2\"/>");
    TForm_main shell(reg);
    shell.BackupOnSave = false;
    TD_settings_user s(reg);
    EXPECT_TRUE(shell.BackupOnSave) << "set when the settings are loaded";
    {
        ModalAnswer answer([](QWidget* d) {
            d->findChild<TRadioGroup*>("RG_backup")->Button(1)->click();
            d->close();
        });
        s.ShowOnPage(TD_settings_user::Page::Main);
    }
    EXPECT_FALSE(shell.BackupOnSave) << "the close box counts too";
    {
        ModalAnswer answer([](QWidget* d) {
            d->findChild<TRadioGroup*>("RG_backup")->Button(2)->click();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        s.ShowOnPage(TD_settings_user::Page::Main);
    }
    EXPECT_TRUE(shell.BackupOnSave);
}

TEST_F(SettingsTest, TheWindowGeometryIsStoredInOrderAndAppliedAttributeByAttribute) {
    TD_settings_user s(reg);
    // Places are those of the client area, so a window shown again lands where it was.
    QWidget window;
    window.setGeometry(30, 40, 500, 400);
    s.StoreWindowGeometry(&window);
    const auto& attrs = s.SettingsDoc->Attributes();
    ASSERT_EQ(attrs.size(), 4u);
    EXPECT_EQ(attrs[0], (TNoxPigger::Attribute{"WIDTH", "500"}));
    EXPECT_EQ(attrs[1], (TNoxPigger::Attribute{"HEIGHT", "400"}));
    EXPECT_EQ(attrs[2], (TNoxPigger::Attribute{"LEFT", "30"}));
    EXPECT_EQ(attrs[3], (TNoxPigger::Attribute{"TOP", "40"}));

    // A maximized window is stored with its normal size.
    window.show();
    window.showMaximized();
    QTest::qWait(50);
    ASSERT_TRUE(window.isMaximized());
    s.StoreWindowGeometry(&window);
    EXPECT_FALSE(window.isMaximized());
    EXPECT_EQ(attr(s, "WIDTH"), "500");
    EXPECT_EQ(attr(s, "HEIGHT"), "400");
    EXPECT_EQ(attr(s, "LEFT"), "30");
    EXPECT_EQ(attr(s, "TOP"), "40");

    QWidget other;
    other.setGeometry(5, 6, 200, 100);
    s.SettingsDoc->SetAttr("WIDTH", "12x");
    s.SettingsDoc->SetAttr("TOP", "");
    s.ApplyWindowGeometry(&other);
    EXPECT_EQ(other.size(), QSize(200, 400)) << "a width that is not a number is skipped";
    EXPECT_EQ(other.geometry().topLeft(), QPoint(30, 6)) << "a missing top is skipped";

    QWidget untouched;
    s.SettingsDoc->DeleteAttr("HEIGHT");
    s.SettingsDoc->DeleteAttr("LEFT");
    s.ApplyWindowGeometry(&untouched);
    EXPECT_FALSE(untouched.testAttribute(Qt::WA_Moved)) << "without a stored place the desktop places it";
    EXPECT_FALSE(untouched.testAttribute(Qt::WA_Resized));
}

TEST_F(SettingsTest, AStoredGeometryNeverMakesTheWindowLargerThanTheDesktopOrLosesIt) {
    writeSettings("\r\n<SETTINGS WIDTH=\"100000\" HEIGHT=\"90000\" LEFT=\"-50000\" TOP=\"70000\"/>");
    TD_settings_user s(reg);
    QWidget window;
    s.ApplyWindowGeometry(&window);
    const QRect desk = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    EXPECT_LE(window.width(), desk.width());
    EXPECT_LE(window.height(), desk.height());
    EXPECT_TRUE(desk.intersects(QRect(window.pos(), window.size())));
    EXPECT_GE(window.y(), desk.top());
    EXPECT_LT(window.y(), desk.bottom());
    EXPECT_EQ(attr(s, "WIDTH"), "100000") << "the file keeps what it had";
}
