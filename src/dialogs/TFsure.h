// The yes/no confirmation every window asks its questions through.
#pragma once

#include <QDialog>

struct WindowRegistry;
class QFrame;
class QLabel;
class QPushButton;
class QVBoxLayout;

class TFsure : public QDialog {
    Q_OBJECT
public:
    explicit TFsure(WindowRegistry& reg, QWidget* parent = nullptr);

    // Shows the question modally; true only when "Yes" was clicked during this showing.
    virtual bool AskYesNo(const QString& question);

    QFrame* Panel_question = nullptr;
    QLabel* Label_question = nullptr;
    QPushButton* Btn_yes = nullptr;
    QPushButton* Btn_no = nullptr;

protected:
    // Room for a derived dialog's own controls, between the question and the buttons; empty here.
    QVBoxLayout* ExtraLayout() const { return extraLayout_; }
    // Puts the question into the text area and fits the height to it; the width never changes.
    void SetQuestion(const QString& question);

    WindowRegistry& reg_;
    bool Answer = false;

private:
    void Btn_yesClick();

    QVBoxLayout* extraLayout_ = nullptr;
};
