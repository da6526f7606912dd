// What a reminder shows on the desktop, and the main window it brings forward where nothing else can
// show it.
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "dialogs/TFsure.h"
#include "reminders/DesktopReminders.h"
#include "todo/DayListWidget.h"
#include "todo/rules/DayKeys.h"

#include <QDBusArgument>
#include <QListWidgetItem>
#include <QRadioButton>
#include <tuple>

namespace {

class Reminders : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Create(ProgramWindows::Main | ProgramWindows::Sure);
        main->TodoDoc()->SetText(
            "<TODO_DATA><DAY_DATA DATE=\"" + render_day_key(today) +
            "\"><TASK CAPTION=\"Tea\"/><TASK CAPTION=\"News\" HOUR=\"09\" MINUTE=\"00\"/>"
            "</DAY_DATA></TODO_DATA>");
        main->go_to_day("N/A");
    }
    QDate today = QDate::currentDate();
    QDateTime now{today, QTime(8, 0)};
};

TEST_F(Reminders, WithNothingElseToShowItTheMainWindowComesForwardOnTheItemUnlessADialogIsOpen) {
    // No session bus and, offscreen, no tray: the main window is what remains.
    DesktopReminders reminders(reg(), QDBusConnection(QStringLiteral("none")), [this] { return now; });
    main->hide();
    now = QDateTime(today, QTime(9, 0));
    reminders.Schedule().Check();
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->current_day->GetAttr("DATE"), render_day_key(today));
    ASSERT_TRUE(main->selected_row());
    EXPECT_EQ(main->selected_row()->text(), "News");

    main->go_to_day("N/A");
    ModalAnswer answer([&](QWidget* dialog) {
        reminders.ShowItem({today, render_day_key(today), 1, "News", {}, 0, 9, 0});
        click_button(dialog, "No");
    });
    reg().sure->AskYesNo("Delete item \"x\"?");
    EXPECT_EQ(main->current_day->GetAttr("DATE"), "N/A") << "the dialog's command still works on its day";
}

TEST_F(Reminders, TheNotificationShowsTextNotePictureAndAClickWhereTheServiceTakesThem) {
    const Reminder r{today, render_day_key(today), 1, "News & <b>weather</b>", "Channel <4>", 35, 9, 5};
    EXPECT_EQ(DesktopReminders::Picture(r).size(), QSize(32, 32));
    for (const auto& [capabilities, body, actions] :
         {std::tuple{QStringList{"body-markup", "actions"}, "Channel &lt;4&gt;",
                     QStringList{"default", "Show"}},
          {QStringList{"body"}, "Channel <4>", QStringList{}}}) {
        const QList<QVariant> args =
            DesktopReminders::NotifyMessage(r, capabilities, DesktopReminders::Picture(r)).arguments();
        ASSERT_EQ(args.size(), 8);
        EXPECT_EQ(args[3].toString(), "News & <b>weather</b>") << "a title is never markup";
        EXPECT_EQ(args[4].toString(), body);
        EXPECT_EQ(args[5].toStringList(), actions);
        EXPECT_EQ(qvariant_cast<QDBusArgument>(args[6].toMap()["image-data"]).currentSignature(),
                  "(iiibiiay)");
    }
    EXPECT_EQ(DesktopReminders::Title({today, {}, 0, " ", {}, 0, 7, 5}), "07:05") << "a blank text";
}

} // namespace
