#include "ui/WindowGeometry.h"

#include "todo/rules/Settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {
// Unlike std::clamp, a range that came out empty gives its lower end instead of undefined behaviour.
int bounded(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}
} // namespace

// Left and top are those of the window's client area, as its size is: before a window is first shown
// its frame is unknown, so frame coordinates would move it by the title bar's height on every start.
void store_window_geometry(Settings& settings, QWidget* window) {
    QRect client = window->geometry();
    if (window->isMaximized()) {
        // The window manager may take its time to restore the window; its normal geometry is known now.
        const QRect normal = window->normalGeometry();
        window->showNormal();
        if (normal.isValid()) client = normal;
    }
    settings.StoreWindowGeometry(client);
}

void apply_window_geometry(const Settings& settings, QWidget* window) {
    // A maximized window keeps its state.
    if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) return;
    const Settings::WindowGeometry stored = settings.StoredWindowGeometry();
    QSize size = window->size();
    if (stored.height) size.setHeight(*stored.height);
    if (stored.width) size.setWidth(*stored.width);
    QPoint pos = window->geometry().topLeft();
    if (stored.top) pos.setY(*stored.top);
    if (stored.left) pos.setX(*stored.left);

    // A file edited by hand, or written on a larger desktop or at another scale, must not make the window
    // huge or leave part of it off the screens: keep it no larger than the desktop and wholly on it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableVirtualGeometry();
        size = size.boundedTo(desk.size());
        pos.setX(bounded(pos.x(), desk.left(), desk.left() + desk.width() - size.width()));
        pos.setY(bounded(pos.y(), desk.top(), desk.top() + desk.height() - size.height()));
    }
    if (stored.top || stored.left)
        window->setGeometry(QRect(pos, size));
    else if (stored.height || stored.width)
        window->resize(size);
}
