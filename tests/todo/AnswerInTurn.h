// Answers modal dialogs that open one after another (a question, a dialog, a message), each with its own
// action, in order. Any dialog beyond the list is rejected, so a test never hangs; fewer fail the test.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

class AnswerInTurn {
public:
    using Action = std::function<void(QWidget*)>;
    explicit AnswerInTurn(std::vector<Action> actions) : actions_(std::move(actions)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            titles << modal->windowTitle();
            if (next_ < actions_.size()) return actions_[next_++](modal);
            ADD_FAILURE() << "unexpected dialog " << modal->windowTitle().toStdString();
            qobject_cast<QDialog*>(modal)->reject();
        });
        timer_.start(20);
    }
    ~AnswerInTurn() { EXPECT_EQ(next_, actions_.size()) << "dialogs answered, of those expected"; }

    QStringList titles; // of the dialogs met, in order

private:
    std::vector<Action> actions_;
    size_t next_ = 0;
    QTimer timer_;
};
