// Answers the next modal dialog from a timer, so a test that opens one never hangs on it.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class ModalAnswer {
public:
    // Once a modal widget is active, calls the action with it. If none appears within the timeout,
    // the expectation fails and every modal widget that shows up later is rejected.
    explicit ModalAnswer(std::function<void(QWidget*)> action, int timeoutMs = 5000);
    ~ModalAnswer(); // fails the test when no dialog was answered
    bool answered() const;
    // The caption of the dialog that was answered.
    QString title() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

// Clicks the first button of the modal widget whose text (without '&') is the given one.
void click_button(QWidget* dialog, const QString& text);
