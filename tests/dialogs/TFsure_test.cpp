#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "dialogs/TFsure.h"
#include "ui/WrapText.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {
// Answers the next AskYesNo with an action on the shown dialog and returns the answer.
bool ask(TFsure& sure, const QString& question, std::function<void(QWidget*)> action) {
    ModalAnswer answer(std::move(action));
    return sure.AskYesNo(question);
}

// A derived confirmation with a control of its own, as the new to-do list dialog has.
class SureWithField : public TFsure {
public:
    explicit SureWithField(WindowRegistry& reg) : TFsure(reg) {
        field = new QLabel(QStringLiteral("Filename to save To Do List data:"), this);
        ExtraLayout()->addWidget(field);
    }
    QLabel* field;
};
} // namespace

TEST(TFsure, ShowsItsCaptionQuestionAreaAndTheYesAndNoButtons) {
    TestProgram program(ProgramWindows::Sure);
    TFsure& sure = *program.reg().sure;
    EXPECT_EQ(sure.windowTitle(), "Confirmation:");
    auto* yes = sure.findChild<QPushButton*>("Btn_yes");
    auto* no = sure.findChild<QPushButton*>("Btn_no");
    ASSERT_TRUE(yes && no);
    EXPECT_EQ(yes->text(), "Yes");
    EXPECT_TRUE(yes->isDefault());
    EXPECT_EQ(no->text(), "No");
    EXPECT_FALSE(no->isDefault());
    EXPECT_EQ(yes->nextInFocusChain(), no);
    auto* label = sure.findChild<QLabel*>("Label_question");
    ASSERT_TRUE(label);
    EXPECT_TRUE(label->wordWrap());
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << "item texts must not be read as markup";
    EXPECT_TRUE(sure.findChild<QWidget*>("Panel_question")->isAncestorOf(label));
}

TEST(TFsure, YesAndEnterAnswerTrueWhileNoEscAndTheCloseBoxAnswerFalse) {
    TestProgram program(ProgramWindows::Sure);
    TFsure& sure = *program.reg().sure;
    QString shown;
    EXPECT_TRUE(ask(sure, "Delete item \"Milk\"?", [&](QWidget* d) {
        shown = without_break_chances(d->findChild<QLabel*>("Label_question")->text());
        click_button(d, "Yes");
    }));
    EXPECT_EQ(shown, "Delete item \"Milk\"?");
    // A "Yes" to the first question does not carry over to the next ones.
    EXPECT_FALSE(ask(sure, "Second?", [](QWidget* d) { d->close(); }));
    EXPECT_FALSE(ask(sure, "Third?", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }));
    EXPECT_FALSE(ask(sure, "Fourth?", [](QWidget* d) { click_button(d, "No"); }));
    EXPECT_TRUE(ask(sure, "Fifth?", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); }));
}

TEST(TFsure, ALongQuestionWrapsInsideTheWindowWithoutWideningIt) {
    TestProgram program(ProgramWindows::Sure);
    TFsure& sure = *program.reg().sure;
    int shortWidth = 0;
    int shortHeight = 0;
    ask(sure, "Short?", [&](QWidget* d) {
        shortWidth = d->width();
        shortHeight = d->height();
        click_button(d, "No");
    });
    const QString longQuestion = "Delete item \"" + QString("Call the plumber about the tap ").repeated(8) +
                                 "/home/user/" +
                                 QString("averyveryverylongfilenamewithoutspaces").repeated(3) + ".pdf\"?";
    ask(sure, longQuestion, [&](QWidget* d) {
        auto* label = d->findChild<QLabel*>("Label_question");
        EXPECT_EQ(d->width(), shortWidth);
        EXPECT_GT(d->height(), shortHeight);
        EXPECT_EQ(without_break_chances(label->text()), longQuestion);
        // Every line of the wrapped text fits into the label.
        EXPECT_LE(wrapped_width(label), label->width());
        EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        click_button(d, "No");
    });
    // A question far taller than the screen scrolls, and the buttons stay on the screen.
    const QString huge = "Delete item \"" + QString("Call the plumber about the tap ").repeated(400) + "\"?";
    ask(sure, huge, [&](QWidget* d) {
        auto* label = d->findChild<QLabel*>("Label_question");
        auto* scroll = d->findChild<QScrollArea*>();
        ASSERT_TRUE(scroll);
        EXPECT_EQ(d->width(), shortWidth);
        EXPECT_LE(d->frameGeometry().height(), d->screen()->availableGeometry().height());
        EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
        EXPECT_EQ(scroll->focusPolicy(), Qt::StrongFocus) << "the keys can scroll it";
        EXPECT_EQ(without_break_chances(label->text()), huge);
        EXPECT_LE(wrapped_width(label), label->width());
        EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        EXPECT_TRUE(d->rect().contains(d->findChild<QPushButton*>("Btn_yes")->geometry()));
        click_button(d, "No");
    });
    ask(sure, "Short again?", [&](QWidget* d) {
        EXPECT_EQ(d->height(), shortHeight) << "the window shrinks back for a short question";
        EXPECT_EQ(d->findChild<QScrollArea*>()->focusPolicy(), Qt::NoFocus) << "no invisible tab stop";
        click_button(d, "No");
    });
}

TEST(TFsure, ADerivedDialogAddsItsControlsBetweenTheQuestionAndTheButtons) {
    TestProgram program;
    SureWithField sure(program.reg());
    ask(sure, "New To Do List will be created. Continue?", [&](QWidget* d) {
        const int question = d->findChild<QWidget*>("Panel_question")->geometry().bottom();
        const QRect field = sure.field->geometry();
        EXPECT_GT(field.top(), question);
        EXPECT_LT(field.bottom(), d->findChild<QWidget*>("Btn_yes")->geometry().top());
        click_button(d, "Yes");
    });
}
