// Nothing the user typed is lost or changed behind their back: saves the user did not ask for leave the
// screen alone, unsaved changes are marked and kept in a recovery copy until saved.
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "todo/DayListWidget.h"
#include "todo/rules/TodoList.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class UnsavedChanges : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        WriteBytes(SettingsFile(), "\r\n<SETTINGS AUTO_SAVE_TIME=\"60\"/>");
        Start();
        main->show();
        QApplication::setActiveWindow(main);
    }
    QLineEdit* Editor() const { return main->LV1->viewport()->findChild<QLineEdit*>(); }
    std::string Saved() const { return ReadBytes(DataFile()); }
};

TEST_F(UnsavedChanges, TheAutomaticSaveKeepsAnInPlaceEditOpenAndSavesItsTextSoFar) {
    main->N_AddClick();
    QLineEdit* editor = Editor();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Buy mi"));
    editor->setCursorPosition(3);
    main->Timer_auto_saveTimer();
    ASSERT_TRUE(main->LV1->IsEditing()) << "the edit stays open";
    EXPECT_EQ(Editor(), editor);
    EXPECT_EQ(editor->text(), QStringLiteral("Buy mi"));
    EXPECT_EQ(editor->cursorPosition(), 3);
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_NE(Saved().find("CAPTION=\"Buy mi\""), std::string::npos) << Saved();

    // Typing goes on in the edit, not in the list: a space does not tick the item.
    editor->end(false);
    QTest::keyClicks(editor, QStringLiteral("lk now"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the edit is committed from the event loop
    EXPECT_EQ(main->LV1->item(0)->text(), QStringLiteral("Buy milk now"));
    EXPECT_EQ(main->LV1->item(0)->checkState(), Qt::Unchecked);
    ASSERT_TRUE(main->N_SaveClick());
    EXPECT_NE(Saved().find("CAPTION=\"Buy milk now\""), std::string::npos);
}

TEST_F(UnsavedChanges, TheAutomaticSaveLeavesTheDescriptionBeingTypedAsItIs) {
    main->add_item(main->current_day, "item");
    main->Memo_dsc->setFocus();
    QTest::keyClicks(main->Memo_dsc, QStringLiteral("first line"));
    QTest::keyClick(main->Memo_dsc, Qt::Key_Return);
    QTest::keyClicks(main->Memo_dsc, QStringLiteral("second"));
    QTextCursor cursor = main->Memo_dsc->textCursor();
    cursor.setPosition(4);
    main->Memo_dsc->setTextCursor(cursor);
    main->Timer_auto_saveTimer();
    EXPECT_TRUE(main->Memo_dsc->hasFocus());
    EXPECT_EQ(main->Memo_dsc->textCursor().position(), 4);
    EXPECT_EQ(main->Memo_dsc->toPlainText(), QStringLiteral("first line\nsecond"));
    EXPECT_TRUE(main->Memo_dsc->document()->isUndoAvailable());
    EXPECT_NE(Saved().find("first line\r\nsecond"), std::string::npos) << Saved();
}

TEST_F(UnsavedChanges, TheStatusBarMarksUnsavedChangesUntilASaveReachesTheDisk) {
    EXPECT_EQ(main->StatusPanel0->text(), QString()) << "a visit to a day is no change of the user's";
    main->add_item(main->current_day, "new");
    EXPECT_EQ(main->StatusPanel0->text(), QStringLiteral("Modified"));
    ASSERT_TRUE(main->N_SaveClick());
    EXPECT_EQ(main->StatusPanel0->text(), QString());

    main->LV1->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(main->StatusPanel0->text(), QStringLiteral("Modified")) << "a tick counts before it is stored";
    reg().settings.SetDataFileName(Path(QStringLiteral("gone/list.dat")));
    main->Timer_auto_saveTimer();
    EXPECT_EQ(main->StatusPanel0->text(), QStringLiteral("Not saved"));
    reg().settings.SetDataFileName(DataFile());
    main->Timer_auto_saveTimer();
    EXPECT_EQ(main->StatusPanel0->text(), QString());
}

TEST_F(UnsavedChanges, ARecoveryCopyLeftByACrashIsOfferedAtTheNextStart) {
    main->add_item(main->current_day, "unsaved");
    reg().list.WriteRecovery();
    const QString copy = reg().list.RecoveryFileName();
    ASSERT_TRUE(QFileInfo::exists(copy));
    EXPECT_TRUE(copy.startsWith(Path(QStringLiteral("state/quillmarch/quillmarch.dat-"))));
    QFile::copy(copy, copy + QStringLiteral(".kept"));
    DestroyMain(); // as a crash: no close sequence, the list not saved

    // Restore: the recovered list is current and marked modified.
    QStringList asked;
    auto startAnswering = [&](bool restore) {
        // The question comes while the main window loads the list.
        ModalAnswer answer([&, restore](QWidget* box) {
            asked << box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
            click_button(box, restore ? QStringLiteral("Restore") : QStringLiteral("Discard"));
        });
        Start();
    };
    startAnswering(true);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith(QStringLiteral(
        "The list was not saved when Quillmarch last stopped. Restore the unsaved changes from ")))
        << asked[0].toStdString();
    ASSERT_EQ(main->LV1->count(), 1);
    EXPECT_EQ(main->LV1->item(0)->text(), QStringLiteral("unsaved"));
    EXPECT_EQ(main->StatusPanel0->text(), QStringLiteral("Modified"));
    // A normal end saves the list and removes the copy.
    ASSERT_TRUE(Close());
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_NE(Saved().find("unsaved"), std::string::npos);
    DestroyMain();

    // Discard: the copy is set aside, never deleted; the list stays as saved.
    QFile::rename(copy + QStringLiteral(".kept"), copy);
    QFile newer(copy);
    ASSERT_TRUE(newer.open(QIODevice::Append));
    newer.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    newer.close();
    startAnswering(false);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_TRUE(QFileInfo::exists(copy + QStringLiteral(".discarded")));
    EXPECT_EQ(main->StatusPanel0->text(), QString());
}

} // namespace
