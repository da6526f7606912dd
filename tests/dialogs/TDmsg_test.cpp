#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "dialogs/TDmsg.h"
#include "ui/WrapText.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(TDmsg, ShowsItsCaptionMessageAreaAndTheOkButton) {
    TestProgram program(ProgramWindows::Msg);
    TDmsg& msg = *program.reg().msg;
    EXPECT_EQ(msg.windowTitle(), "Message:");
    auto* ok = msg.findChild<QPushButton*>("Btn_ok");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    auto* label = msg.findChild<QLabel*>("Label_message");
    ASSERT_TRUE(label);
    EXPECT_TRUE(label->wordWrap());
    EXPECT_FALSE(label->autoFillBackground());
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_TRUE(msg.findChild<QWidget*>("Panel_message")->isAncestorOf(label));
}

TEST(TDmsg, ShowMessageTextShowsTheTextAndReturnsWhenClosedByOkEnterOrEsc) {
    TestProgram program(ProgramWindows::Msg);
    TDmsg& msg = *program.reg().msg;
    const QString text = "The item \"Milk\"\nhas been copied to date 6/12/2026.";
    {
        ModalAnswer answer([&](QWidget* d) {
            EXPECT_EQ(d->windowTitle(), "Message:");
            EXPECT_EQ(without_break_chances(d->findChild<QLabel*>("Label_message")->text()), text);
            click_button(d, "OK");
        });
        msg.ShowMessageText(text);
    }
    {
        ModalAnswer answer([](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); });
        msg.ShowMessageText("Not found.");
    }
    {
        ModalAnswer answer([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
        msg.ShowMessageText("Not found.");
    }
}

TEST(TDmsg, ALongMessageWrapsWithoutWideningTheWindow) {
    TestProgram program(ProgramWindows::Msg);
    TDmsg& msg = *program.reg().msg;
    int width = 0;
    {
        ModalAnswer answer([&](QWidget* d) {
            width = d->width();
            click_button(d, "OK");
        });
        msg.ShowMessageText("Not found.");
    }
    ModalAnswer answer([&](QWidget* d) {
        auto* label = d->findChild<QLabel*>("Label_message");
        EXPECT_EQ(d->width(), width);
        EXPECT_LE(wrapped_width(label), label->width());
        EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        click_button(d, "OK");
    });
    msg.ShowMessageText(QString("The item \"") + QString("x").repeated(400) + "\"\nhas been copied.");
}
