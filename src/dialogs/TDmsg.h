// The message box with one button that every window tells the user things through.
#pragma once

#include <QDialog>

struct WindowRegistry;
class QFrame;
class QLabel;
class QPushButton;

class TDmsg final : public QDialog {
    Q_OBJECT
public:
    explicit TDmsg(WindowRegistry& reg, QWidget* parent = nullptr);

    // Shows the message modally; returns when the user has closed it.
    void ShowMessageText(const QString& message);

    QFrame* Panel_message = nullptr;
    QLabel* Label_message = nullptr;
    QPushButton* Btn_ok = nullptr;

private:
    void SetMessage(const QString& message);
};
