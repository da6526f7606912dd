#include "reminders/DesktopReminders.h"

#include "todo/DayListWidget.h"
#include "todo/TFmain.h"
#include "todo/rules/TextCodec.h"
#include "todo/rules/TodoList.h"
#include "ui/ItemImages.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QIcon>
#include <QListWidgetItem>
#include <QSystemTrayIcon>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
// The largest size the item pictures are rendered at.
constexpr int kPictureSize = 32;
// Services that never report a notification closed must not make the list of shown ones grow forever.
constexpr std::size_t kShownLimit = 64;

// The image-data hint: width, height, row stride, alpha, bits per sample, channels, RGBA bytes.
QVariant image_hint(const QImage& picture) {
    const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
    QDBusArgument image;
    image.beginStructure();
    image << rgba.width() << rgba.height() << static_cast<int>(rgba.bytesPerLine()) << true << 8 << 4
          << QByteArray(reinterpret_cast<const char*>(rgba.constBits()),
                        static_cast<int>(rgba.sizeInBytes()));
    image.endStructure();
    return QVariant::fromValue(image);
}

} // namespace

DesktopReminders::DesktopReminders(WindowRegistry& registry, const QDBusConnection& bus,
                                   ReminderSchedule::Clock clock, QObject* parent)
    : QObject(parent), reg_(registry), bus_(bus),
      schedule_(registry.list, registry.settings, *this, std::move(clock)) {
    // Announcements of a list that is being replaced lead nowhere: their items are not in the next one.
    connect(&registry.list, &TodoList::AboutToReplace, this, [this] {
        shown_.clear();
        trayMessage_.reset();
    });
    if (!bus_.isConnected()) return;
    // Clicks on notifications of ours; the service tells every client, so ids not ours are ignored.
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                 SLOT(ActionInvoked(uint, QString)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(NotificationClosed(uint, uint)));
    // The timer does not count while the computer sleeps: on waking, what came meanwhile is due at once.
    QDBusConnection::systemBus().connect(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
        SLOT(PrepareForSleep(bool)));
}

DesktopReminders::~DesktopReminders() = default;

QString DesktopReminders::Title(const Reminder& reminder) {
    const QString text = to_qstring(reminder.text);
    if (!text.trimmed().isEmpty()) return text;
    return QStringLiteral("%1:%2")
        .arg(reminder.hour, 2, 10, QChar(u'0'))
        .arg(reminder.minute, 2, 10, QChar(u'0'));
}

QString DesktopReminders::Body(const Reminder& reminder) {
    return to_qstring(reminder.note);
}

QImage DesktopReminders::Picture(const Reminder& reminder) {
    return item_image(reminder.picture).pixmap(kPictureSize, kPictureSize).toImage();
}

QDBusMessage DesktopReminders::NotifyMessage(const Reminder& reminder, const QStringList& capabilities,
                                             const QImage& picture) {
    // A service that reads markup in the body would take an item's "<" or "&" for markup.
    const QString body = capabilities.contains(QStringLiteral("body-markup")) ? Body(reminder).toHtmlEscaped()
                                                                              : Body(reminder);
    QStringList actions;
    if (capabilities.contains(QStringLiteral("actions"))) actions << kDefaultAction << QStringLiteral("Show");
    QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("quillmarch")}};
    if (!picture.isNull()) hints.insert(QStringLiteral("image-data"), image_hint(picture));
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    message << QStringLiteral("Quillmarch") << 0u << QStringLiteral("quillmarch") << Title(reminder) << body
            << actions << hints << -1;
    return message;
}

void DesktopReminders::Announce(const Reminder& reminder) {
    if (!bus_.isConnected()) {
        ShowWithoutService(reminder);
        return;
    }
    // Asked each time, so a service started or replaced meanwhile is met as it is. Never waited for: a
    // service that hangs must not stop the program.
    const QDBusMessage ask =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(ask), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, reminder](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<QStringList> reply = *call;
                if (reply.isError())
                    ShowWithoutService(reminder);
                else
                    Notify(reminder, reply.value());
            });
}

void DesktopReminders::Notify(const Reminder& reminder, const QStringList& capabilities) {
    auto* watcher = new QDBusPendingCallWatcher(
        bus_.asyncCall(NotifyMessage(reminder, capabilities, Picture(reminder))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, reminder](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<uint> reply = *call;
                if (reply.isError()) {
                    ShowWithoutService(reminder);
                    return;
                }
                if (shown_.size() >= kShownLimit) shown_.erase(shown_.begin());
                shown_.insert_or_assign(reply.value(), reminder);
            });
}

void DesktopReminders::ActionInvoked(uint id, const QString& action) {
    const auto shown = shown_.find(id);
    if (shown == shown_.end() || action != kDefaultAction) return;
    const Reminder reminder = shown->second;
    ShowItem(reminder);
}

void DesktopReminders::NotificationClosed(uint id, uint) {
    shown_.erase(id);
}

void DesktopReminders::PrepareForSleep(bool sleeping) {
    if (!sleeping) schedule_.Reschedule();
}

void DesktopReminders::ShowWithoutService(const Reminder& reminder) {
    TForm_main* shell = reg_.shell;
    QSystemTrayIcon* tray = shell && !shell->IsClosed() ? shell->TrayIcon() : nullptr;
    if (tray && QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages()) {
        if (connectedTray_ != tray) {
            connectedTray_ = tray;
            connect(tray, &QSystemTrayIcon::messageClicked, this, [this] {
                if (trayMessage_) ShowItem(*trayMessage_);
            });
        }
        trayMessage_ = reminder;
        tray->showMessage(Title(reminder), Body(reminder), QIcon(QPixmap::fromImage(Picture(reminder))));
        return;
    }
    ShowItem(reminder);
}

void DesktopReminders::ShowItem(const Reminder& reminder) {
    TFmain* main = reg_.main;
    if (!main || main->IsClosed()) return;
    main->ShowFromTray();
    // A dialog open over the main window keeps the day shown: the command that opened it still works on
    // that day's rows when the dialog closes.
    if (QWidget* dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
        return;
    }
    main->store_day_list();
    main->go_to_date(reminder.day);
    QListWidgetItem* row = main->row_of_item(find_reminded_item(reg_.list.Doc(), reminder));
    if (!row) return;
    main->LV1->setCurrentItem(row);
    row->setSelected(true);
    main->LV1->scrollToItem(row);
    main->LV1->setFocus();
}
