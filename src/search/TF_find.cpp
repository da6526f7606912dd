#include "search/TF_find.h"

#include "app/TForm_main.h"
#include "dialogs/TDmsg.h"
#include "todo/DayListWidget.h"
#include "todo/ItemRows.h"
#include "todo/TFmain.h"
#include "todo/rules/TodoList.h"
#include "todo/rules/TodoRules.h"
#include "ui/WidgetHelpers.h"
#include "ui/WindowRegistry.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace {
constexpr int kItemColumnWidth = 350;
const std::string kDateAttr = todo::kDateAttr;
const std::string kDayTag = todo::kDayTag;
const std::string kItemTag = todo::kItemTag;
} // namespace

TF_find::TF_find(WindowRegistry& reg, QWidget* parent) : QDialog(parent), reg_(reg) {
    setObjectName(QStringLiteral("TF_find"));
    setWindowTitle(QStringLiteral("Find items"));
    setSizeGripEnabled(true);

    Results = named(new FindResultsModel(this), "Results");
    LV1 = named(new QTreeView(this), "LV1");
    LV1->setModel(Results);
    LV1->setRootIsDecorated(false);
    LV1->setItemsExpandable(false);
    LV1->setUniformRowHeights(true);
    LV1->setAllColumnsShowFocus(true);
    LV1->setSelectionMode(QAbstractItemView::SingleSelection);
    LV1->setSelectionBehavior(QAbstractItemView::SelectRows);
    LV1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LV1->setTextElideMode(Qt::ElideRight);
    LV1->setAccessibleName(QStringLiteral("Results"));
    LV1->header()->setStretchLastSection(false);
    LV1->header()->setSectionsMovable(false);
    // Room for a date of the widest digits, and for "N/A".
    LV1->header()->resizeSection(FindResultsModel::DateColumn,
                                 LV1->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) + 24);
    LV1->header()->resizeSection(FindResultsModel::ItemColumn, kItemColumnWidth);
    // However small the window, a few results stay in sight.
    LV1->setMinimumHeight(LV1->fontMetrics().height() * 8);
    LV1->installEventFilter(this);
    LV1->viewport()->installEventFilter(this);
    keep_selection_visible(LV1);

    Btn_start = make_button("Btn_start", QStringLiteral("Start search"), this);
    // Enter in the inputs searches, and only while searching is offered.
    Btn_start->setDefault(true);
    Btn_go_to = make_button("Btn_go_to", QStringLiteral("Go to"), this);
    Btn_go_to->setEnabled(false);
    btn_help = make_button("btn_help", QStringLiteral("Help"), this);
    Btn_break = make_button("Btn_break", QStringLiteral("Break search"), this);
    Btn_break->hide();
    Btn_close = make_button("Btn_close", QStringLiteral("Close"), this);

    inputBand_ = new QVBoxLayout();
    auto* left = new QVBoxLayout();
    left->addLayout(inputBand_);
    left->addWidget(LV1, 1);
    auto* buttons = new QVBoxLayout();
    for (QPushButton* b : {Btn_start, Btn_go_to, btn_help, Btn_break})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(Btn_close);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    set_tab_order({LV1, Btn_start, Btn_go_to, btn_help, Btn_break, Btn_close});

    connect(Btn_start, &QPushButton::clicked, this, &TF_find::Btn_startClick);
    connect(Btn_go_to, &QPushButton::clicked, this, &TF_find::Btn_go_toClick);
    connect(btn_help, &QPushButton::clicked, this, &TF_find::btn_helpClick);
    connect(Btn_break, &QPushButton::clicked, this, &TF_find::Btn_breakClick);
    connect(Btn_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(LV1, &QAbstractItemView::doubleClicked, this, &TF_find::Btn_go_toClick);
    connect(LV1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TF_find::UpdateGoTo);
    // A reset drops the selection without telling the selection's listeners.
    connect(Results, &QAbstractItemModel::modelReset, this, &TF_find::UpdateGoTo);
    connect(&reg_.list, &TodoList::AboutToReplace, this, &TF_find::DocumentReplaced);

    resize(600, 400);
}

void TF_find::ShowFind(TNoxPigger* root) {
    if (!root) return;
    root_ = root;
    FocusInput();
    exec();
}

bool TF_find::ItemMatches(const TNoxPigger&, const TNoxPigger&) {
    return true;
}

void TF_find::UpdateStart() {
    if (!searching_) Btn_start->setEnabled(CanStart());
}

void TF_find::Btn_startClick() {
    if (searching_ || !root_) return;
    break_ = false;
    closedDuringSearch_ = false;
    replacedDuringSearch_ = false;
    searching_ = true;
    Btn_start->setEnabled(false);
    Btn_break->show();
    Results->Clear();
    Walk();
    searching_ = false;
    Btn_break->hide();
    UpdateStart();

    // A replaced document took its results with it; a window closed meanwhile shows nothing more.
    if (replacedDuringSearch_) return;
    if (Results->rowCount() == 0) {
        if (!closedDuringSearch_ && reg_.msg) reg_.msg->ShowMessageText(QStringLiteral("Not found."));
        return;
    }
    Results->Sort(QDateTime::currentDateTime());
    if (closedDuringSearch_) return;
    LV1->selectionModel()->setCurrentIndex(Results->index(0, 0),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    LV1->scrollToTop();
    LV1->setFocus();
}

void TF_find::Walk() {
    std::vector<FindRow> found;
    int dayCount = 0;
    sinceInput_.invalidate();
    try {
        PrepareSearch();
        // Input is let in between days, and the user's Go to may add a day; so the walk holds no element
        // across it and takes each day afresh by its position.
        for (int i = 0;; ++i) {
            LetInputIn(found);
            if (break_) break;
            const TNoxPigger& root = *root_;
            // While the window is open days are only ever added at the end. Fewer of them means the
            // document was cut down under the walk, and positions no longer mean what they did.
            if (root.ChildCount() < dayCount) break;
            dayCount = root.ChildCount();
            if (i >= dayCount) break;
            const TNoxPigger& day = *root.Child(i);
            if (day.TagName() != kDayTag) continue;
            std::string date;
            bool dateRead = false;
            for (const TNoxPigger* item : day.Children()) {
                if (item->TagName() != kItemTag || !ItemMatches(*item, day)) continue;
                if (!dateRead) {
                    date = day.GetAttr(kDateAttr);
                    dateRead = true;
                }
                found.push_back({date, todo::item_text(*item)});
            }
        }
    } catch (const std::exception&) {
        // Out of memory on a huge list: what was found until then is listed, and the window comes back.
    }
    if (!replacedDuringSearch_) Results->Append(found);
}

void TF_find::LetInputIn(std::vector<FindRow>& found) {
    if (sinceInput_.isValid() && sinceInput_.elapsed() < InputIntervalMs) return;
    // The rows found so far are shown before the user gets a say.
    Results->Append(found);
    QCoreApplication::processEvents();
    sinceInput_.start();
}

void TF_find::Btn_breakClick() {
    break_ = true;
}

void TF_find::Btn_go_toClick() {
    if (!Btn_go_to->isEnabled() || !reg_.main) return;
    const QModelIndexList selected = LV1->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    const FindRow* found = Results->Row(selected.first().row());
    if (!found) return;
    const FindRow target = *found;
    TFmain& main = *reg_.main;
    main.store_day_list();
    main.go_to_day(target.date);
    // The stored bytes decide, so an item whose text the locale cannot show is found all the same.
    for (int i = 0; i < main.LV1->count(); ++i) {
        QListWidgetItem* row = main.LV1->item(i);
        if (item_rows::caption(row) != target.item) continue;
        main.LV1->setCurrentItem(row, QItemSelectionModel::ClearAndSelect);
        main.LV1->scrollToItem(row);
        break;
    }
}

void TF_find::btn_helpClick() {
    if (reg_.shell) reg_.shell->ShowHelp(HelpTopic());
}

void TF_find::UpdateGoTo() {
    Btn_go_to->setEnabled(LV1->selectionModel()->hasSelection());
}

void TF_find::DocumentReplaced() {
    // The rows name days and items of a document that is going away, and a running walk stops: what it
    // would find from here on belongs to another list.
    if (searching_) {
        break_ = true;
        replacedDuringSearch_ = true;
    }
    Results->Clear();
}

void TF_find::done(int result) {
    // Closing stops a running search; the window goes once the walk has ended.
    if (searching_) {
        break_ = true;
        closedDuringSearch_ = true;
    }
    QDialog::done(result);
}

bool TF_find::eventFilter(QObject* watched, QEvent* event) {
    // The item column is as wide as it was made, and takes what a larger window gives beyond that.
    if (watched == LV1->viewport() && event->type() == QEvent::Resize) {
        const int room = LV1->viewport()->width() - LV1->header()->sectionSize(FindResultsModel::DateColumn);
        LV1->header()->resizeSection(FindResultsModel::ItemColumn, std::max(kItemColumnWidth, room));
    }
    if (watched == LV1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Btn_go_toClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
