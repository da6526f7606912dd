#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "todo/TD_select_image.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QListWidget* list_of(QWidget* dialog) {
    return dialog->findChild<QListWidget*>(QStringLiteral("LV1"));
}

QString selected_label(QWidget* dialog) {
    const auto selected = list_of(dialog)->selectedItems();
    return selected.size() == 1 ? selected.first()->text() : QString();
}

void click_entry(QWidget* dialog, int index) {
    QListWidget* list = list_of(dialog);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
}

} // namespace

TEST(TD_select_image, ShowsEveryPictureLabelledWithItsIndexAndTheTwoButtons) {
    TestProgram program(ProgramWindows::SelectImage);
    TD_select_image& dialog = *program.reg().selectImage;
    EXPECT_EQ(dialog.windowTitle(), "Select image");
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "the dialog is of fixed size";
    EXPECT_FALSE(dialog.confirmed);

    QListWidget* list = list_of(&dialog);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 36);
    for (int i = 0; i < 36; ++i) {
        EXPECT_EQ(list->item(i)->text(), QString::number(i));
        EXPECT_FALSE(list->item(i)->icon().isNull()) << "entry " << i;
    }
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("Btn_ok"));
    auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("Btn_cancel"));
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(cancel->text(), "Cancel");
}

TEST(TD_select_image, OpensCentredOnTheGivenPictureAndReturnsThePickedOne) {
    TestProgram program(ProgramWindows::SelectImage);
    TD_select_image& dialog = *program.reg().selectImage;
    QString shownSelection;
    bool allVisible = false;
    QPoint offCentre;
    {
        ModalAnswer answer([&](QWidget* d) {
            shownSelection = selected_label(d);
            QListWidget* list = list_of(d);
            // Six rows of six, every one inside the list without scrolling.
            allVisible = true;
            for (int i = 0; i < list->count(); ++i) {
                const QRect r = list->visualItemRect(list->item(i));
                allVisible = allVisible && list->viewport()->rect().contains(r) &&
                             r.top() == list->visualItemRect(list->item(i - i % 6)).top();
            }
            offCentre = d->frameGeometry().center() - d->screen()->availableGeometry().center();
            click_entry(d, 7);
            click_button(d, "OK");
        });
        EXPECT_EQ(dialog.select_image(3), 7);
    }
    EXPECT_EQ(shownSelection, "3");
    EXPECT_TRUE(allVisible) << "all 36 pictures fit without scrolling";
    EXPECT_LE(offCentre.manhattanLength(), 2);
    EXPECT_TRUE(dialog.confirmed);
}

TEST(TD_select_image, CancelAndEscapeReturnTheGivenIndexWhateverWasPicked) {
    TestProgram program(ProgramWindows::SelectImage);
    TD_select_image& dialog = *program.reg().selectImage;
    {
        ModalAnswer answer([](QWidget* d) {
            click_entry(d, 9);
            click_button(d, "Cancel");
        });
        EXPECT_EQ(dialog.select_image(5), 5);
    }
    EXPECT_FALSE(dialog.confirmed);
    {
        ModalAnswer answer([](QWidget* d) {
            click_entry(d, 9);
            QTest::keyClick(list_of(d), Qt::Key_Escape);
        });
        EXPECT_EQ(dialog.select_image(5), 5);
    }
    EXPECT_FALSE(dialog.confirmed);
}

TEST(TD_select_image, AnIndexWithoutAPictureKeepsTheSelectionOfThePreviousUse) {
    TestProgram program(ProgramWindows::SelectImage);
    TD_select_image& dialog = *program.reg().selectImage;
    {
        // Never used yet: nothing is selected, so even OK hands back what came in.
        QString shown = "unset";
        ModalAnswer answer([&](QWidget* d) {
            shown = selected_label(d);
            click_button(d, "OK");
        });
        EXPECT_EQ(dialog.select_image(-1), -1);
        EXPECT_EQ(shown, "");
    }
    {
        ModalAnswer answer([](QWidget* d) { click_button(d, "OK"); });
        EXPECT_EQ(dialog.select_image(12), 12);
    }
    QString shown;
    {
        ModalAnswer answer([&](QWidget* d) {
            shown = selected_label(d);
            click_button(d, "OK");
        });
        EXPECT_EQ(dialog.select_image(99), 12);
    }
    EXPECT_EQ(shown, "12");
    {
        ModalAnswer answer([](QWidget* d) { click_button(d, "Cancel"); });
        EXPECT_EQ(dialog.select_image(36), 36);
    }
}

TEST(TD_select_image, ADoubleClickOnAnEntryConfirmsItAndCloses) {
    TestProgram program(ProgramWindows::SelectImage);
    TD_select_image& dialog = *program.reg().selectImage;
    {
        ModalAnswer answer([](QWidget* d) {
            QListWidget* list = list_of(d);
            // As the window system delivers it: press, release, then the double click and its release.
            const QPoint at = list->visualItemRect(list->item(20)).center();
            QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
            if (d->isVisible()) {
                ADD_FAILURE() << "the double click did not close the dialog";
                static_cast<QDialog*>(d)->reject();
            }
        });
        EXPECT_EQ(dialog.select_image(0), 20);
    }
    EXPECT_TRUE(dialog.confirmed);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(TD_select_image, ArrowKeysMoveTheSelectionAndEnterConfirms) {
    TestProgram program(ProgramWindows::SelectImage);
    TD_select_image& dialog = *program.reg().selectImage;
    QString afterRight;
    QRect start, below;
    {
        ModalAnswer answer([&](QWidget* d) {
            QListWidget* list = list_of(d);
            start = list->visualItemRect(list->currentItem());
            QTest::keyClick(list, Qt::Key_Down);
            below = list->visualItemRect(list->currentItem());
            QTest::keyClick(list, Qt::Key_Up);
            QTest::keyClick(list, Qt::Key_Right);
            afterRight = selected_label(d);
            QTest::keyClick(list, Qt::Key_Return);
        });
        EXPECT_EQ(dialog.select_image(4), 5);
    }
    EXPECT_EQ(afterRight, "5");
    EXPECT_EQ(below.left(), start.left());
    EXPECT_GT(below.top(), start.top());
    EXPECT_TRUE(dialog.confirmed);
}
