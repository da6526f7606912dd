// The search window base: the walk over every day and item, the results list, their order, stopping a
// running search, and Go to in the main window. A derived window adds its inputs in the band above the
// results, its test of an item and its help topic.
#pragma once

#include "search/FindResultsModel.h"
#include "ui/WindowEntries.h"

#include <QDialog>
#include <QElapsedTimer>
#include <string>
#include <vector>

struct WindowRegistry;
class QPushButton;
class QTreeView;
class QVBoxLayout;

class TF_find : public QDialog, public FindEntry {
    Q_OBJECT
public:
    explicit TF_find(WindowRegistry& reg, QWidget* parent = nullptr);

    // Shows the window modally over the document until the user closes it; nothing without a document.
    void ShowFind(TNoxPigger* root) override;

    // Whether an item is listed. Here every item is.
    virtual bool ItemMatches(const TNoxPigger& item, const TNoxPigger& day);

    QPushButton* Btn_start = nullptr;
    QPushButton* Btn_go_to = nullptr;
    QPushButton* btn_help = nullptr;
    QPushButton* Btn_break = nullptr;
    QPushButton* Btn_close = nullptr;
    QTreeView* LV1 = nullptr;
    FindResultsModel* Results = nullptr;

    // The document searched: the list's root, whose content a load replaces. ShowFind sets it.
    TNoxPigger* Root() const { return root_; }
    void SetRoot(TNoxPigger* root) { root_ = root; }
    bool Searching() const { return searching_; }

    // Search, Break search and Go to, as their buttons do them.
    void Btn_startClick();
    void Btn_breakClick();
    void Btn_go_toClick();

    // Pending input is let in once per day, but no more often than this: a long list then stays
    // responsive without repainting the growing results thousands of times.
    int InputIntervalMs = 15;

protected:
    // The band above the results where a derived window puts its inputs.
    QVBoxLayout* InputBand() const { return inputBand_; }
    // Taken once when a search starts, so the test stays the same for the whole walk.
    virtual void PrepareSearch() {}
    // Whether "Start search" is offered when no search runs.
    virtual bool CanStart() const { return true; }
    // Sets "Start search" from CanStart while no search runs.
    void UpdateStart();
    virtual QString HelpTopic() const = 0;
    // The control that has the focus when the window opens.
    virtual void FocusInput() {}

    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    WindowRegistry& reg_;

private:
    void Walk();
    void LetInputIn(std::vector<FindRow>& found);
    void UpdateGoTo();
    void DocumentReplaced();
    void btn_helpClick();

    QVBoxLayout* inputBand_ = nullptr;
    TNoxPigger* root_ = nullptr;
    bool break_ = false;
    bool searching_ = false;
    bool closedDuringSearch_ = false;
    bool replacedDuringSearch_ = false;
    QElapsedTimer sinceInput_;
};
