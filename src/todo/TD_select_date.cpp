#include "todo/TD_select_date.h"

#include "todo/ItemDaysMarker.h"
#include "ui/WidgetHelpers.h"
#include "ui/WindowRegistry.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <utility>

TD_select_date::TD_select_date(WindowRegistry& reg, QWidget* parent) : QDialog(parent), reg_(reg) {
    setObjectName(QStringLiteral("TD_select_date"));
    setWindowTitle(QStringLiteral("Select the date"));
    setModal(true);

    Panel_calendar = make_sunken_panel("Panel_calendar", this);
    Calendar1 = named(new QCalendarWidget(Panel_calendar), "Calendar1");
    Calendar1->setAccessibleName(QStringLiteral("Calendar"));
    // Every date a day key can name.
    Calendar1->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    ItemDaysMarker::Attach(reg.list, Calendar1);
    auto* panelLayout = new QVBoxLayout(Panel_calendar);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    panelLayout->addWidget(Calendar1);

    Btn_ok = make_button("Btn_ok", QStringLiteral("OK"), this);
    Btn_ok->setDefault(true);
    Btn_cancel = make_button("Btn_cancel", QStringLiteral("Cancel"), this);
    buttonRow_ = button_row({Btn_ok, Btn_cancel}, RowAlign::Right);

    mainLayout_ = new QVBoxLayout(this);
    mainLayout_->addWidget(Panel_calendar);
    mainLayout_->addLayout(buttonRow_);
    mainLayout_->setSizeConstraint(QLayout::SetFixedSize);

    connect(Btn_ok, &QPushButton::clicked, this, &TD_select_date::Btn_okClick);
    connect(Btn_cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Clicks and arrow keys alike: a day picked from the keyboard must count as one picked by mouse.
    connect(Calendar1, &QCalendarWidget::selectionChanged, this, [this] { Calendar1Click(); });
    // The calendar reports a double click, and Enter, as "activated"; Enter is told apart below.
    connect(Calendar1, &QCalendarWidget::activated, this, &TD_select_date::Calendar1DblClick);
    if (auto* view = Calendar1->findChild<QAbstractItemView*>()) view->installEventFilter(this);
}

QDate TD_select_date::select_date(const QDate& date) {
    confirmed = false;
    enterPressed_ = false;
    Calendar1->setSelectedDate(date);
    center_on_screen();
    // The calendar when it can be used; else the first button that can, so Enter still means "OK".
    for (QWidget* first : std::initializer_list<QWidget*>{Calendar1, Btn_ok, Btn_cancel})
        if (first->isEnabled()) {
            first->setFocus();
            break;
        }
    exec();
    return confirmed ? Calendar1->selectedDate() : date;
}

void TD_select_date::Btn_okClick() {
    if (!Btn_ok->isEnabled()) return;
    confirmed = true;
    accept();
}

// A double click confirms what "OK" would; with "OK" not offered it closes as cancelled. Enter confirms
// like "OK" in any other control, and does nothing while "OK" is not offered.
void TD_select_date::Calendar1DblClick() {
    const bool byEnter = std::exchange(enterPressed_, false);
    if (Btn_ok->isEnabled())
        Btn_okClick();
    else if (!byEnter)
        reject();
}

// The calendar reports Enter as it reports a double click, after it has taken a date the user is typing
// into it; so Enter goes on to the calendar and is only noted here.
bool TD_select_date::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        enterPressed_ = key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    return QDialog::eventFilter(watched, event);
}

void TD_select_date::center_on_screen() {
    adjustSize();
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}
