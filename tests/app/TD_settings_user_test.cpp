#include "TD_settings_fixture.h"

#include "ModalAnswer.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {
template <class T> T* child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_TRUE(c) << name;
    return c;
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

void expect_group(TD_settings_user& s, const char* name, const QString& title, const QStringList& texts,
                  int checked) {
    auto* group = child<TRadioGroup>(s, name);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->title(), title);
    ASSERT_EQ(group->Count(), texts.size());
    for (int i = 0; i < group->Count(); ++i) {
        EXPECT_EQ(group->Button(i)->text(), texts[i]);
        EXPECT_EQ(group->Button(i)->objectName(), QString(name) + "_" + QString::number(i));
    }
    EXPECT_EQ(group->ItemIndex(), checked) << name;
}
} // namespace

TEST_F(SettingsTest, TheDialogShowsItsPagesButtonsAndControlsWithTheirTextsAndInitialStates) {
    TD_settings_user s(reg);
    EXPECT_EQ(s.windowTitle(), "Settings");
    EXPECT_EQ(s.layout()->sizeConstraint(), QLayout::SetFixedSize);

    auto* pages = child<QTabWidget>(s, "PageControl1");
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->count(), 4);
    const QStringList tabs{"Main", "Print", "Hour grid", "Plugins"};
    const QStringList pageNames{"TabSheet1", "TabSheet_print", "TabSheet_hour_grid", "TabSheet_PI"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(pages->tabText(i), tabs[i]);
        EXPECT_EQ(pages->widget(i)->objectName(), pageNames[i]);
    }
    EXPECT_EQ(pages->currentIndex(), 0);

    auto* ok = child<QPushButton>(s, "OKBtn");
    auto* cancel = child<QPushButton>(s, "CancelBtn");
    auto* help = child<QPushButton>(s, "btn_help");
    ASSERT_TRUE(ok && cancel && help);
    EXPECT_EQ(ok->text(), "Close");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_TRUE(cancel->isHidden());
    EXPECT_EQ(help->text(), "Help");

    // Main page.
    EXPECT_EQ(child<QGroupBox>(s, "GB_autosave")->title(), "Auto save");
    auto* autosave = child<QCheckBox>(s, "CB_autosave");
    EXPECT_EQ(autosave->text(), "Auto save on");
    EXPECT_FALSE(autosave->isChecked());
    auto* interval = child<QSpinBox>(s, "SE_autosave");
    EXPECT_EQ(interval->minimum(), 60);
    EXPECT_EQ(interval->maximum(), 600);
    EXPECT_EQ(interval->singleStep(), 60);
    EXPECT_EQ(interval->value(), 240);
    EXPECT_FALSE(interval->isEnabled());
    EXPECT_EQ(child<QLabel>(s, "Label_autosave_interval")->text(), "Auto save interval");
    EXPECT_EQ(child<QLabel>(s, "Label_autosave_sec")->text(), "sec.");
    expect_group(s, "RG_backup", "Make backup file", {"Never", "On exit", "On each save"}, 0);

    // Print page: the frame the print settings fill.
    auto* print = child<QFrame>(s, "O_settings_print1");
    EXPECT_EQ(print->parentWidget(), pages->widget(1));

    // Hour grid page.
    EXPECT_EQ(child<QLabel>(s, "Label_hour0")->text(), "First grid hour:");
    EXPECT_EQ(child<QLabel>(s, "Label_hour1")->text(), "Last grid hour:");
    auto* first = child<QComboBox>(s, "CB_hour0");
    auto* last = child<QComboBox>(s, "CB_hour1");
    EXPECT_FALSE(first->isEditable());
    EXPECT_EQ(items(first), hours(0));
    EXPECT_EQ(items(last), hours(1));
    EXPECT_EQ(first->currentText(), "07");
    EXPECT_EQ(last->currentText(), "22");
    expect_group(s, "RBG_mode", "View mode:", {"24 hour", "AM / PM"}, 0);
    expect_group(s, "RBG_resolution", "Resolution:", {"1 hour", "30 min", "15 min"}, 0);
    EXPECT_EQ(child<QWidget>(s, "Image_hour_grid")->parentWidget(), pages->widget(2));
    EXPECT_TRUE(pages->widget(3)->findChildren<QWidget*>().isEmpty()) << "the Plugins page stays empty";

    // The plug-ins window belongs to the dialog and is never shown.
    auto* plugins = s.findChild<QDialog*>("TF_plugins");
    ASSERT_TRUE(plugins);
    EXPECT_FALSE(plugins->isVisible());
}

TEST_F(SettingsTest, TabMovesThroughTheControlsInReadingOrder) {
    TD_settings_user s(reg);
    const QStringList order{
        "CB_autosave",      "SE_autosave",      "RG_backup_0", "RG_backup_1", "RG_backup_2",
        "CB_hour0",         "CB_hour1",         "RBG_mode_0",  "RBG_mode_1",  "RBG_resolution_0",
        "RBG_resolution_1", "RBG_resolution_2", "btn_help",    "OKBtn"};
    QStringList chain;
    QWidget* w = s.findChild<QWidget*>("CB_autosave");
    for (int guard = 0; w && guard < 200 && chain.size() < order.size(); ++guard, w = w->nextInFocusChain())
        if (order.contains(w->objectName()) && !chain.contains(w->objectName())) chain << w->objectName();
    EXPECT_EQ(chain, order);
}

TEST_F(SettingsTest, ShowOnPageOpensTheDialogModallyOnTheAskedPage) {
    TD_settings_user s(reg);
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
