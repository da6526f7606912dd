#include "hourgrid/TFhour_grid.h"

#include "app/TD_settings_user.h"
#include "app/TForm_main.h"
#include "dialogs/TDmsg.h"
#include "hourgrid/HourGridDelegate.h"
#include "todo/ItemRows.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TextCodec.h"
#include "todo/rules/TodoList.h"
#include "todo/rules/TodoRules.h"
#include "ui/ItemImages.h"
#include "ui/WidgetHelpers.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kHourRole = Qt::UserRole + 16;
constexpr int kMinuteRole = Qt::UserRole + 17;
constexpr int kItemIndent = 27;

QToolButton* make_tool_button(const char* name, const QString& hint, const QString& picture,
                              QWidget* parent) {
    auto* button = named(new QToolButton(parent), name);
    button->setIcon(tool_icon(picture));
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setAccessibleName(hint.trimmed());
    return button;
}

QLabel* make_bold_label(const char* name, const QString& text, QWidget* buddy, QWidget* parent) {
    QLabel* label = make_label(name, text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setBuddy(buddy);
    return label;
}

bool is_enter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

TFhour_grid::TFhour_grid(WindowRegistry& reg, QWidget* parent) : QDialog(parent), reg_(reg) {
    setObjectName(QStringLiteral("Fhour_grid"));
    setWindowTitle(QStringLiteral("Hour grid"));
    setModal(true);
    CurrentTime = [] { return QTime::currentTime(); };

    // In the tree a row keeps its picture while selected.
    for (int i = 0; i < static_cast<int>(treePictures_.size()); ++i) {
        const QIcon picture = item_image(i);
        for (const QSize& size : picture.availableSizes()) {
            const QPixmap pixmap = picture.pixmap(size);
            treePictures_[static_cast<size_t>(i)].addPixmap(pixmap, QIcon::Normal);
            treePictures_[static_cast<size_t>(i)].addPixmap(pixmap, QIcon::Selected);
        }
    }

    BuildControls();
    connect(&reg_.list, &TodoList::AboutToReplace, this, [this] {
        Empty();
        if (isVisible()) reject();
    });
}

TFhour_grid::~TFhour_grid() = default;

void TFhour_grid::BuildControls() {
    SB_print = make_tool_button("SB_print", QStringLiteral("Print"), QStringLiteral("grid_print"), this);
    SB_now =
        make_tool_button("SB_now", QStringLiteral("Go to current time "), QStringLiteral("grid_now"), this);
    SB_settings =
        make_tool_button("SB_settings", QStringLiteral("Settings"), QStringLiteral("grid_settings"), this);
    SB_move_right = make_tool_button("SB_move_right", QStringLiteral("Move item to right list (Ctrl+RIGHT)"),
                                     QStringLiteral("grid_move_right"), this);
    SB_move_left = make_tool_button("SB_move_left", QStringLiteral("Move item to left list (CTRL+LEFT)"),
                                    QStringLiteral("grid_move_left"), this);

    CLB1 = named(new QListWidget(this), "CLB1");
    CLB1->setIconSize(QSize(16, 16));
    CLB1->setSelectionMode(QAbstractItemView::SingleSelection);
    CLB1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CLB1->setMinimumSize(220, 300);
    keep_selection_visible(CLB1);
    Label_time_independed =
        make_bold_label("Label_time_independed", QStringLiteral("Time independed items:"), CLB1, this);
    CLB1->setAccessibleName(QStringLiteral("Time independed items"));

    TV1 = named(new QTreeWidget(this), "TV1");
    TV1->setColumnCount(1);
    TV1->setHeaderHidden(true);
    TV1->setRootIsDecorated(false);
    TV1->setIndentation(kItemIndent);
    TV1->setIconSize(QSize(16, 16));
    TV1->setSelectionMode(QAbstractItemView::SingleSelection);
    TV1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TV1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TV1->setAllColumnsShowFocus(true);
    TV1->setExpandsOnDoubleClick(true);
    TV1->setItemDelegate(new HourGridDelegate(TV1));
    TV1->setMinimumSize(250, 300);
    Label_time_depended =
        make_bold_label("Label_time_depended", QStringLiteral("Time depended items:"), TV1, this);
    TV1->setAccessibleName(QStringLiteral("Time depended items"));
    ShowTreeFocus(false);

    Btn_help = make_button("Btn_help", QStringLiteral("Help"), this);
    BtnClose = make_button("BtnClose", QStringLiteral("Ok"), this);
    BtnClose->setDefault(true);

    auto* tools = new QHBoxLayout;
    tools->setSpacing(2);
    for (QToolButton* b : {SB_print, SB_now, SB_settings})
        tools->addWidget(b);
    tools->addStretch(1);

    auto* left = new QVBoxLayout;
    left->addWidget(Label_time_independed);
    left->addWidget(CLB1, 1);
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(SB_move_right);
    moves->addWidget(SB_move_left);
    moves->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(Label_time_depended);
    right->addWidget(TV1, 1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(left, 1);
    lists->addLayout(moves);
    lists->addLayout(right, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addLayout(lists, 1);
    layout->addLayout(button_row({Btn_help, BtnClose}, RowAlign::Right));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    set_tab_order(
        {CLB1, SB_move_right, SB_move_left, TV1, SB_print, SB_now, SB_settings, Btn_help, BtnClose});

    connect(SB_print, &QToolButton::clicked, this, &TFhour_grid::SB_printClick);
    connect(SB_now, &QToolButton::clicked, this, &TFhour_grid::SB_nowClick);
    connect(SB_settings, &QToolButton::clicked, this, &TFhour_grid::SB_settingsClick);
    connect(SB_move_right, &QToolButton::clicked, this, &TFhour_grid::SB_move_rightClick);
    connect(SB_move_left, &QToolButton::clicked, this, &TFhour_grid::SB_move_leftClick);
    connect(Btn_help, &QPushButton::clicked, this, &TFhour_grid::Btn_helpClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(CLB1, &QListWidget::itemSelectionChanged, this, &TFhour_grid::CLB1SelectionChanged);
    connect(CLB1, &QListWidget::itemChanged, this, &TFhour_grid::UpdateCommandStates);
    connect(CLB1, &QListWidget::itemDoubleClicked, this, &TFhour_grid::CLB1DblClick);
    connect(TV1, &QTreeWidget::itemSelectionChanged, this, &TFhour_grid::TV1SelectionChanged);
    connect(TV1, &QTreeWidget::itemDoubleClicked, this, &TFhour_grid::TV1DblClick);
    CLB1->installEventFilter(this);
    TV1->installEventFilter(this);
    UpdateCommandStates();
}

// ---- opening ----

TNoxPigger* TFhour_grid::ShowDay(TNoxPigger* day, TNoxPigger* item) {
    if (!OpenDay(day, item)) return nullptr;
    if (QScreen* screen = parentWidget() ? parentWidget()->screen() : QApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
    CLB1->setFocus();
    exec();
    TNoxPigger* chosen = result_;
    Empty();
    return chosen;
}

bool TFhour_grid::OpenDay(TNoxPigger* day, TNoxPigger* item) {
    result_ = nullptr;
    day_ = day;
    preselected_ = item;
    if (!day) return false;
    setWindowTitle(QStringLiteral("Hour grid ") + to_qstring(day->GetAttr(todo::kDateAttr)));
    // There is nothing to print with until the print dialog is part of the program.
    SB_print->setEnabled(reg_.printHourGrid != nullptr);
    Fill();
    return true;
}

void TFhour_grid::Empty() {
    const QSignalBlocker blockList(CLB1);
    const QSignalBlocker blockTree(TV1);
    CLB1->clear();
    TV1->clear();
    day_ = nullptr;
    preselected_ = nullptr;
    result_ = nullptr;
    UpdateCommandStates();
}

void TFhour_grid::Fill() {
    {
        const QSignalBlocker blockList(CLB1);
        const QSignalBlocker blockTree(TV1);
        CLB1->clear();
        TV1->clear();
    }
    const Settings& settings = reg_.settings;
    grid_ = {settings.FirstGridHour(), settings.LastGridHour(), settings.IsAmPm(), settings.TimeResolution()};

    std::vector<hourgrid::SlotTime> times = hourgrid::grid_slots(grid_);
    QList<QTreeWidgetItem*> slotRows;
    slotRows.reserve(static_cast<qsizetype>(times.size()));
    for (const hourgrid::SlotTime& time : times)
        slotRows.append(NewSlotRow(time));
    QTreeWidgetItem* nowSlot = nullptr;
    if (const auto now = hourgrid::slot_at(times, grid_.resolution, CurrentTime()))
        nowSlot = slotRows[static_cast<qsizetype>(*now)];

    QListWidgetItem* preselectedRow = nullptr;
    if (day_) {
        for (TNoxPigger* child : day_->Children()) {
            if (child->TagName() != todo::kItemTag) continue;
            const auto time = hourgrid::read_item_time(*child);
            if (!time) {
                QListWidgetItem* row = AddLeftRow(child);
                if (child == preselected_ && !preselectedRow) preselectedRow = row;
                continue;
            }
            const hourgrid::Placement at = hourgrid::place(times, *time);
            if (at.newSlot) {
                const hourgrid::SlotTime made{time->hour, 0};
                times.insert(times.begin() + static_cast<std::ptrdiff_t>(at.index), made);
                slotRows.insert(static_cast<qsizetype>(at.index), NewSlotRow(made));
            }
            slotRows[static_cast<qsizetype>(at.index)]->addChild(NewItemRow(child));
        }
    }
    TV1->addTopLevelItems(slotRows);
    if (nowSlot) SelectSlot(nowSlot);
    if (preselectedRow) {
        CLB1->setCurrentItem(preselectedRow);
        CLB1->scrollToItem(preselectedRow);
    }
    UpdateCommandStates();
}

// ---- rows ----

QTreeWidgetItem* TFhour_grid::NewSlotRow(const hourgrid::SlotTime& time) const {
    auto* slot = new QTreeWidgetItem;
    slot->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    slot->setData(0, kHourRole, time.hour);
    slot->setData(0, kMinuteRole, time.minute);
    // Also what a screen reader says for the row.
    slot->setText(0, hourgrid::slot_label(time, grid_));
    return slot;
}

QIcon TFhour_grid::ItemPicture(const TNoxPigger& item, bool sameWhenSelected) const {
    const auto index = todo::parsed_picture_index(item);
    if (!index) return {};
    if (!sameWhenSelected) return item_image(*index);
    const bool listed = *index >= 0 && *index < static_cast<int>(treePictures_.size());
    return treePictures_[listed ? static_cast<size_t>(*index) : 0];
}

QTreeWidgetItem* TFhour_grid::NewItemRow(TNoxPigger* item) const {
    auto* row = new QTreeWidgetItem;
    row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item_rows::bind(row, item);
    // The grid shows no tick, and a picture only for an INDEX that is a number.
    row->setData(0, Qt::CheckStateRole, QVariant());
    row->setData(0, Qt::DecorationRole, ItemPicture(*item, true));
    return row;
}

QListWidgetItem* TFhour_grid::AddLeftRow(TNoxPigger* item) {
    auto* row = new QListWidgetItem;
    row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item_rows::bind(row, item);
    row->setData(Qt::CheckStateRole, QVariant());
    row->setData(Qt::DecorationRole, ItemPicture(*item, false));
    CLB1->addItem(row);
    return row;
}

void TFhour_grid::RemoveLeftRow(const TNoxPigger* item) {
    // The removed row was the selected one; no other row takes its place.
    const QSignalBlocker block(CLB1);
    for (int i = 0; i < CLB1->count(); ++i) {
        if (ElementOf(CLB1->item(i)) == item) {
            delete CLB1->takeItem(i);
            break;
        }
    }
    CLB1->clearSelection();
}

QTreeWidgetItem* TFhour_grid::RemoveTreeRow(const TNoxPigger* item) {
    const QSignalBlocker block(TV1);
    for (QTreeWidgetItem* slot : SlotRows()) {
        for (int i = 0; i < slot->childCount(); ++i) {
            if (ElementOf(slot->child(i)) == item) {
                delete slot->takeChild(i);
                TV1->clearSelection();
                return slot;
            }
        }
    }
    return nullptr;
}

QList<QTreeWidgetItem*> TFhour_grid::SlotRows() const {
    QList<QTreeWidgetItem*> rows;
    rows.reserve(TV1->topLevelItemCount());
    for (int i = 0; i < TV1->topLevelItemCount(); ++i)
        rows.append(TV1->topLevelItem(i));
    return rows;
}

QList<QTreeWidgetItem*> TFhour_grid::ItemRowsOf(const QTreeWidgetItem* slot) {
    QList<QTreeWidgetItem*> rows;
    if (!slot) return rows;
    rows.reserve(slot->childCount());
    for (int i = 0; i < slot->childCount(); ++i)
        rows.append(slot->child(i));
    return rows;
}

QList<QListWidgetItem*> TFhour_grid::TimeIndependentRows() const {
    QList<QListWidgetItem*> rows;
    rows.reserve(CLB1->count());
    for (int i = 0; i < CLB1->count(); ++i)
        rows.append(CLB1->item(i));
    return rows;
}

TNoxPigger* TFhour_grid::ElementOf(const QTreeWidgetItem* row) {
    return row && !IsSlot(row) ? item_rows::item_of(row) : nullptr;
}

TNoxPigger* TFhour_grid::ElementOf(const QListWidgetItem* row) {
    return item_rows::item_of(row);
}

bool TFhour_grid::IsSlot(const QTreeWidgetItem* row) {
    return row && !row->parent();
}

hourgrid::SlotTime TFhour_grid::SlotTimeOf(const QTreeWidgetItem* slot) {
    return {slot->data(0, kHourRole).toInt(), slot->data(0, kMinuteRole).toInt()};
}

QString TFhour_grid::SlotTimeText(const QTreeWidgetItem* row) {
    return IsSlot(row) ? QString::fromStdString(hourgrid::time_text(SlotTimeOf(row))) : QString();
}

QString TFhour_grid::SlotDisplayLabel(const QTreeWidgetItem* row) const {
    if (!row) return {};
    if (IsSlot(row)) return hourgrid::slot_label(SlotTimeOf(row), grid_);
    const TNoxPigger* item = ElementOf(row);
    return item ? to_qstring(todo::item_text(*item)) : row->text(0);
}

QListWidgetItem* TFhour_grid::SelectedLeftRow() const {
    const QList<QListWidgetItem*> selected = CLB1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QTreeWidgetItem* TFhour_grid::SelectedTreeRow() const {
    const QList<QTreeWidgetItem*> selected = TV1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void TFhour_grid::SelectSlot(QTreeWidgetItem* slot) {
    TV1->setCurrentItem(slot);
    TV1->scrollToItem(slot);
}

// ---- commands ----

void TFhour_grid::UpdateCommandStates() {
    SB_move_right->setEnabled(SelectedLeftRow() != nullptr);
    const QTreeWidgetItem* selected = SelectedTreeRow();
    SB_move_left->setEnabled(selected && !IsSlot(selected));
}

void TFhour_grid::SB_move_rightClick() {
    if (!SB_move_right->isEnabled()) return;
    TNoxPigger* item = ElementOf(SelectedLeftRow());
    if (!item) return;
    if (QTreeWidgetItem* target = SelectedTreeRow()) {
        if (!IsSlot(target)) target = target->parent();
        const hourgrid::SlotTime time = SlotTimeOf(target);
        todo::set_item_time(*item, time.hour, time.minute);
        reg_.list.NoteChange();
        QTreeWidgetItem* row = NewItemRow(item);
        target->addChild(row);
        target->setExpanded(true);
        TV1->setCurrentItem(row);
        TV1->scrollToItem(row);
        RemoveLeftRow(item);
        TV1->setFocus();
    }
    UpdateCommandStates();
}

void TFhour_grid::SB_move_leftClick() {
    if (!SB_move_left->isEnabled()) return;
    QTreeWidgetItem* selected = SelectedTreeRow();
    TNoxPigger* item = ElementOf(selected);
    if (!item) return;
    todo::clear_item_time(*item);
    reg_.list.NoteChange();
    AddLeftRow(item);
    // The slot it came from stays selected, so the item can go straight back.
    if (QTreeWidgetItem* slot = RemoveTreeRow(item)) SelectSlot(slot);
    QListWidgetItem* last = CLB1->item(CLB1->count() - 1);
    CLB1->setCurrentItem(last);
    CLB1->scrollToItem(last);
    CLB1->setFocus();
    UpdateCommandStates();
}

void TFhour_grid::SB_nowClick() {
    TV1->clearSelection();
    const QTime now = CurrentTime();
    std::vector<hourgrid::SlotTime> times;
    const QList<QTreeWidgetItem*> slotRows = SlotRows();
    for (const QTreeWidgetItem* slot : slotRows)
        times.push_back(SlotTimeOf(slot));
    if (const auto at = hourgrid::slot_at(times, grid_.resolution, now)) {
        SelectSlot(slotRows[static_cast<qsizetype>(*at)]);
        return;
    }
    if (reg_.msg)
        reg_.msg->ShowMessageText(QStringLiteral("The current time is %1.\nIt's out of grid range.")
                                      .arg(QLocale().toString(now, QLocale::LongFormat)));
}

void TFhour_grid::SB_settingsClick() {
    if (reg_.settingsDialog) reg_.settingsDialog->ShowOnPage(TD_settings_user::Page::HourGrid);
    // A refill selects the preselected row again; what the user chose stays the result.
    TNoxPigger* const result = result_;
    TV1->setUpdatesEnabled(false);
    Fill();
    TV1->setUpdatesEnabled(true);
    result_ = result;
}

void TFhour_grid::SB_printClick() {
    if (reg_.printHourGrid && day_) reg_.printHourGrid->ExecuteHourGrid(day_);
}

void TFhour_grid::Btn_helpClick() {
    if (reg_.shell) reg_.shell->ShowHelp(QStringLiteral("hour_grid"));
}

// ---- selection, closing, keys ----

void TFhour_grid::CLB1SelectionChanged() {
    if (QListWidgetItem* row = SelectedLeftRow()) result_ = ElementOf(row);
    UpdateCommandStates();
}

void TFhour_grid::TV1SelectionChanged() {
    const QTreeWidgetItem* row = SelectedTreeRow();
    if (TV1->hasFocus() && row && !IsSlot(row)) result_ = ElementOf(row);
    UpdateCommandStates();
}

void TFhour_grid::CLB1DblClick() {
    if (SelectedLeftRow()) accept();
}

void TFhour_grid::TV1DblClick() {
    const QTreeWidgetItem* row = SelectedTreeRow();
    if (row && !IsSlot(row)) accept();
}

bool TFhour_grid::CLB1KeyDown(const QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->key() == Qt::Key_Right && ctrl)
        SB_move_rightClick();
    else if (event->key() == Qt::Key_Right)
        TV1->setFocus();
    else if (is_enter(event))
        CLB1DblClick();
    return false;
}

bool TFhour_grid::TV1KeyDown(const QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->key() == Qt::Key_Left && ctrl) {
        SB_move_leftClick();
    } else if (event->key() == Qt::Key_Left) {
        const QTreeWidgetItem* row = SelectedTreeRow();
        if (!row || IsSlot(row)) CLB1->setFocus();
    } else if (is_enter(event)) {
        TV1DblClick();
    }
    return false;
}

bool TFhour_grid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == CLB1) return CLB1KeyDown(key);
        if (watched == TV1) return TV1KeyDown(key);
    } else if (watched == TV1 && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        ShowTreeFocus(event->type() == QEvent::FocusIn);
    }
    return QDialog::eventFilter(watched, event);
}

// Enter in a list belongs to the list: it closes only on a row, never through the default button.
void TFhour_grid::keyPressEvent(QKeyEvent* event) {
    if (is_enter(event) && (focusWidget() == CLB1 || focusWidget() == TV1)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFhour_grid::ShowTreeFocus(bool focused) {
    const QPalette standard = QApplication::palette(TV1);
    QPalette palette = TV1->palette();
    const QPalette::ColorRole background = focused ? QPalette::Highlight : QPalette::Button;
    const QPalette::ColorRole text = focused ? QPalette::HighlightedText : QPalette::ButtonText;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, standard.color(QPalette::Active, background));
        palette.setColor(group, QPalette::HighlightedText, standard.color(QPalette::Active, text));
    }
    TV1->setPalette(palette);
}
