// Reminders on the desktop. The schedule's announcements become notifications of the desktop's
// notification service (freedesktop, over the session bus); where no such service answers, the tray
// icon's message; where there is no tray either, the main window comes to the front on the item. A click
// on a notification or on the tray message shows the main window on the item's day with the item
// selected.
#pragma once

#include "todo/rules/ReminderNotifier.h"
#include "todo/rules/ReminderSchedule.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <map>
#include <optional>

class QSystemTrayIcon;
struct WindowRegistry;

class DesktopReminders final : public QObject, public ReminderNotifier {
    Q_OBJECT
public:
    // The bus is the session bus and the clock the wall clock unless a test brings its own.
    explicit DesktopReminders(WindowRegistry& registry,
                              const QDBusConnection& bus = QDBusConnection::sessionBus(),
                              ReminderSchedule::Clock clock = {}, QObject* parent = nullptr);
    ~DesktopReminders() override;

    void Announce(const Reminder& reminder) override;
    // Shows the main window on the reminder's day with its item selected, if the day still holds it.
    void ShowItem(const Reminder& reminder);

    ReminderSchedule& Schedule() { return schedule_; }

    // The notification service's Notify call for a reminder, given what the service says it can do.
    static QDBusMessage NotifyMessage(const Reminder& reminder, const QStringList& capabilities,
                                      const QImage& picture);
    // What a reminder shows: the item's text as the title (its time when the text is blank), the first
    // line of its description below.
    static QString Title(const Reminder& reminder);
    static QString Body(const Reminder& reminder);
    // The item's picture, large enough for a notification.
    static QImage Picture(const Reminder& reminder);

private slots:
    // Signals of the notification service and of the login manager. Qt D-Bus connects these by name.
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);
    void PrepareForSleep(bool sleeping);

private:
    void Notify(const Reminder& reminder, const QStringList& capabilities);
    // Without a notification service: the tray message, else the main window itself.
    void ShowWithoutService(const Reminder& reminder);

    WindowRegistry& reg_;
    QDBusConnection bus_;
    ReminderSchedule schedule_;
    // Notifications the service shows, by their id, for their clicks.
    std::map<uint, Reminder> shown_;
    // The last tray message: the tray tells a click on it without saying which.
    std::optional<Reminder> trayMessage_;
    QPointer<QSystemTrayIcon> connectedTray_;
};
