// Answers modal dialogs that open one after another (a question, then a dialog, then a message), each with
// its own action, in order. Fails the test when fewer dialogs came, and rejects any beyond the list.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

class AnswerInTurn {
public:
    using Action = std::function<void(QWidget*)>;
    explicit AnswerInTurn(std::vector<Action> actions) : actions_(std::move(actions)) {
        clock_.start();
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start();
    }
    ~AnswerInTurn() {
        timer_.stop();
        EXPECT_EQ(next_, actions_.size()) << "dialogs answered, of those expected";
    }
    AnswerInTurn(const AnswerInTurn&) = delete;
    AnswerInTurn& operator=(const AnswerInTurn&) = delete;

    // The captions of the dialogs met, in order.
    QStringList titles;

private:
    void Tick() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        titles << modal->windowTitle();
        // Past the list or past the time: closed unanswered, so a test never hangs.
        if (next_ >= actions_.size() || clock_.elapsed() > 10000) {
            ADD_FAILURE() << "unexpected dialog " << modal->windowTitle().toStdString();
            if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
            return;
        }
        actions_[next_++](modal);
    }

    std::vector<Action> actions_;
    size_t next_ = 0;
    QTimer timer_;
    QElapsedTimer clock_;
};
