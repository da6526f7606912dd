// The calendar dialog: picks a date in a month calendar. Serves as the base of the move dialog, which adds
// its own controls around the calendar and its own rule for when "OK" is offered.
#pragma once

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QFrame;
class QHBoxLayout;
class QPushButton;
class QVBoxLayout;
struct WindowRegistry;

class TD_select_date : public QDialog {
    Q_OBJECT
public:
    explicit TD_select_date(WindowRegistry& reg, QWidget* parent = nullptr);

    // Shows the dialog modally with the calendar on the date. Returns the calendar's date when confirmed,
    // else the given date.
    QDate select_date(const QDate& date);

    QFrame* Panel_calendar = nullptr;
    QCalendarWidget* Calendar1 = nullptr;
    QPushButton* Btn_ok = nullptr;
    QPushButton* Btn_cancel = nullptr;
    bool confirmed = false;

protected:
    // The user picked a day in the calendar (by mouse or keyboard).
    virtual void Calendar1Click() {}
    // The dialog's layout: the calendar's frame, then the button row.
    QVBoxLayout* MainLayout() const { return mainLayout_; }
    QHBoxLayout* ButtonRow() const { return buttonRow_; }
    bool eventFilter(QObject* watched, QEvent* event) override;

    WindowRegistry& reg_;

private:
    void Btn_okClick();
    void Calendar1DblClick();
    void center_on_screen();

    QVBoxLayout* mainLayout_ = nullptr;
    QHBoxLayout* buttonRow_ = nullptr;
    // The last key pressed in the calendar was Enter.
    bool enterPressed_ = false;
};
