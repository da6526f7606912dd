// Shows in bold, on a month calendar, the days that hold items, so the user sees where items are. The
// days are found in one pass over the document and kept until the document changes; a calendar then
// only looks up the few dozen days of the page it shows.
#pragma once

#include <QDate>
#include <QObject>
#include <string>
#include <unordered_map>

class QCalendarWidget;
class TodoList;

class ItemDaysMarker final : public QObject {
    Q_OBJECT
public:
    // Marks the calendar's pages from now on: when it is shown, turns a page, or the document changes
    // while it is shown. The marker belongs to the calendar.
    static ItemDaysMarker* Attach(TodoList& list, QCalendarWidget* calendar);

    // Whether the day of the date holds items, as the main window would show that day.
    bool HoldsItems(const QDate& date);
    // Marks the page the calendar shows now.
    void MarkPage();
    // How often the document has been walked.
    int Passes() const { return passes_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ItemDaysMarker(TodoList& list, QCalendarWidget* calendar);
    void Refresh();
    void DocumentChanged();

    TodoList& list_;
    QCalendarWidget* calendar_;
    // Upper-cased day keys: whether the first day of that key holds items (the one a lookup finds).
    std::unordered_map<std::string, bool> days_;
    quint64 revision_ = 0;
    bool known_ = false;
    bool markPending_ = false;
    int passes_ = 0;
};
