#include "todo/ItemDaysMarker.h"

#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoList.h"
#include "todo/rules/TodoRules.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QTextCharFormat>
#include <QTimer>

ItemDaysMarker* ItemDaysMarker::Attach(TodoList& list, QCalendarWidget* calendar) {
    return new ItemDaysMarker(list, calendar);
}

ItemDaysMarker::ItemDaysMarker(TodoList& list, QCalendarWidget* calendar)
    : QObject(calendar), list_(list), calendar_(calendar) {
    setObjectName(QStringLiteral("ItemDaysMarker"));
    calendar_->installEventFilter(this);
    connect(calendar_, &QCalendarWidget::currentPageChanged, this, &ItemDaysMarker::MarkPage);
    connect(&list_, &TodoList::Changed, this, &ItemDaysMarker::DocumentChanged);
}

void ItemDaysMarker::Refresh() {
    if (known_ && revision_ == list_.Revision()) return;
    days_.clear();
    const TNoxPigger& root = list_.Doc();
    days_.reserve(static_cast<size_t>(root.ChildCount()));
    for (const TNoxPigger* day : root.Children()) {
        if (day->TagName() != todo::kDayTag) continue;
        bool holdsItems = false;
        for (const TNoxPigger* child : day->Children())
            if (child->TagName() == todo::kItemTag) {
                holdsItems = true;
                break;
            }
        // Keys compare without regard to case, and the first day of a key is the one shown.
        days_.try_emplace(AsciiUpper(day->GetAttr(todo::kDateAttr)), holdsItems);
    }
    revision_ = list_.Revision();
    known_ = true;
    ++passes_;
}

bool ItemDaysMarker::HoldsItems(const QDate& date) {
    Refresh();
    const auto it = days_.find(AsciiUpper(render_day_key(date)));
    return it != days_.end() && it->second;
}

void ItemDaysMarker::MarkPage() {
    markPending_ = false;
    const QDate first(calendar_->yearShown(), calendar_->monthShown(), 1);
    if (!first.isValid()) return;
    calendar_->setDateTextFormat(QDate(), QTextCharFormat());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    // A page shows six weeks: the month and parts of the months on either side.
    for (QDate date = first.addDays(-7 - 6), last = first.addDays(31 + 14); date <= last;
         date = date.addDays(1))
        if (HoldsItems(date)) calendar_->setDateTextFormat(date, bold);
}

// Edits come in bursts (a whole list is stored at once); a shown page is marked again once they are over.
void ItemDaysMarker::DocumentChanged() {
    if (markPending_ || !calendar_->isVisible()) return;
    markPending_ = true;
    QTimer::singleShot(0, this, &ItemDaysMarker::MarkPage);
}

bool ItemDaysMarker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == calendar_ && event->type() == QEvent::Show) MarkPage();
    return QObject::eventFilter(watched, event);
}
