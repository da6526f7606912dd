#include "ModalAnswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

struct ModalAnswer::State {
    std::function<void(QWidget*)> action;
    QTimer timer;
    QElapsedTimer clock;
    int timeoutMs = 0;
    bool answered = false;
    bool gaveUp = false;
    QString title;
};

ModalAnswer::ModalAnswer(std::function<void(QWidget*)> action, int timeoutMs)
    : state_(std::make_shared<State>()) {
    state_->action = std::move(action);
    state_->timeoutMs = timeoutMs;
    state_->clock.start();
    state_->timer.setInterval(20);
    std::weak_ptr<State> weak = state_;
    QObject::connect(&state_->timer, &QTimer::timeout, [weak] {
        auto s = weak.lock();
        if (!s) return;
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            s->timer.stop();
            s->title = modal->windowTitle();
            if (s->gaveUp) {
                if (auto* d = qobject_cast<QDialog*>(modal))
                    d->reject();
                else
                    modal->close();
                return;
            }
            s->answered = true;
            s->action(modal);
            return;
        }
        if (!s->gaveUp && s->clock.elapsed() > s->timeoutMs)
            s->gaveUp = true; // keep watching so a late dialog cannot hang the test
    });
    state_->timer.start();
}

ModalAnswer::~ModalAnswer() {
    state_->timer.stop();
    EXPECT_TRUE(state_->answered) << "no modal dialog appeared";
}

bool ModalAnswer::answered() const {
    return state_->answered;
}
QString ModalAnswer::title() const {
    return state_->title;
}

void click_button(QWidget* dialog, const QString& text) {
    for (auto* b : dialog->findChildren<QAbstractButton*>()) {
        if (b->text().remove(u'&') == text && b->isVisible()) {
            b->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString() << " in " << dialog->windowTitle().toStdString();
    if (auto* d = qobject_cast<QDialog*>(dialog))
        d->reject();
    else
        dialog->close();
}
