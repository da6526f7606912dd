#include "ProgramFixture.h"
#include "ui/WindowGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <tuple>

namespace {

TEST(WindowGeometry, AMaximizedWindowIsStoredAtItsNormalSizeAndAppliedValueByValue) {
    TestProgram program;
    Settings& settings = program.reg().settings;
    // Places are those of the client area, so a window shown again lands where it was.
    QWidget window;
    window.setGeometry(30, 40, 500, 400);
    window.show();
    window.showMaximized();
    QTest::qWait(50);
    ASSERT_TRUE(window.isMaximized());
    store_window_geometry(settings, &window);
    EXPECT_FALSE(window.isMaximized());
    const Settings::WindowGeometry s = settings.StoredWindowGeometry();
    EXPECT_EQ(std::tuple(s.left, s.top, s.width, s.height), std::tuple(30, 40, 500, 400));

    QWidget other;
    other.setGeometry(5, 6, 200, 100);
    settings.Doc().SetAttr("WIDTH", "12x");
    settings.Doc().SetAttr("TOP", "");
    apply_window_geometry(settings, &other);
    EXPECT_EQ(other.size(), QSize(200, 400)) << "a width that is not a number is skipped";
    EXPECT_EQ(other.geometry().topLeft(), QPoint(30, 6)) << "a missing top is skipped";

    QWidget untouched;
    settings.Doc().DeleteAttr("HEIGHT");
    settings.Doc().DeleteAttr("LEFT");
    apply_window_geometry(settings, &untouched);
    EXPECT_FALSE(untouched.testAttribute(Qt::WA_Moved)) << "without a stored place the desktop places it";
    EXPECT_FALSE(untouched.testAttribute(Qt::WA_Resized));
}

TEST(WindowGeometry, AStoredGeometryNeverMakesTheWindowLargerThanTheDesktopOrLosesIt) {
    TestProgram program;
    Settings& settings = program.reg().settings;
    settings.StoreWindowGeometry(QRect(-50000, 70000, 100000, 90000));
    QWidget window;
    apply_window_geometry(settings, &window);
    const QRect desk = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    EXPECT_LE(window.width(), desk.width());
    EXPECT_LE(window.height(), desk.height());
    EXPECT_TRUE(desk.contains(QRect(window.pos(), window.size())));

    EXPECT_EQ(settings.Doc().GetAttr("WIDTH"), "100000") << "the settings keep what they had";

    // A place stored at another scale: the window comes back whole, as near to it as the desktop allows.
    settings.StoreWindowGeometry(
        QRect(desk.right() - 100, desk.bottom() - 50, desk.width() / 2, desk.height() / 2));
    QWidget moved;
    apply_window_geometry(settings, &moved);
    EXPECT_EQ(QRect(moved.pos(), moved.size()),
              QRect(desk.left() + desk.width() - desk.width() / 2,
                    desk.top() + desk.height() - desk.height() / 2, desk.width() / 2, desk.height() / 2));
}

} // namespace
