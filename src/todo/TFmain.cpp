#include "todo/TFmain.h"

#include "app/TD_settings_user.h"
#include "app/TF_new_todolist.h"
#include "dialogs/TDmsg.h"
#include "dialogs/TF_about.h"
#include "dialogs/TFsure.h"
#include "todo/DayListWidget.h"
#include "todo/ItemDaysMarker.h"
#include "todo/ItemRows.h"
#include "todo/TD_add_TV_show.h"
#include "todo/TD_select_date_move.h"
#include "todo/TD_select_image.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/ItemTransfer.h"
#include "todo/rules/Settings.h"
#include "todo/rules/TextCodec.h"
#include "todo/rules/TodoList.h"
#include "todo/rules/TodoRules.h"
#include "ui/ItemImages.h"
#include "ui/WidgetHelpers.h"
#include "ui/WindowEntries.h"
#include "ui/WindowGeometry.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kNewItemText = QStringLiteral("New item");

class OverrideCursor {
public:
    OverrideCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~OverrideCursor() { QApplication::restoreOverrideCursor(); }
    OverrideCursor(const OverrideCursor&) = delete;
    OverrideCursor& operator=(const OverrideCursor&) = delete;
};

} // namespace

TFmain::TFmain(WindowRegistry& registry, QWidget* parent) : TForm_main(registry, parent) {
    setObjectName(QStringLiteral("Fmain"));
    setWindowTitle(QStringLiteral("Quillmarch (freeware edition)"));
    setWindowIcon(app_icon());
    resize(532, 406);

    Timer_auto_save = registry.list.AutoSaveTimer();
    connect(&registry.list, &TodoList::WriteBack, this, &TFmain::store_day_list);
    connect(&registry.list, &TodoList::ModifiedChanged, this, &TFmain::ShowSaveState);
    connect(&registry.list, &TodoList::AboutToReplace, this, &TFmain::empty_day_list);
    connect(&registry.list, &TodoList::Saved, this, [this](bool ok) {
        if (ok) ClearSaveFailure();
    });
    connect(&registry.list, &TodoList::AutoSaveFailed, this, [this] { ReportSaveFailure(true); });

    BuildClientArea();
    BuildMenus();
    BuildToolBar();

    ChooseOpenFile = [this] {
        return choose_data_file(this, DataFileChoice::Open, QStringLiteral("Select the ToDoList data file"),
                                QStringLiteral("OpenDialog1"));
    };
    ChooseSaveFile = [this] {
        return choose_data_file(this, DataFileChoice::Save, QStringLiteral("Save as"),
                                QStringLiteral("SaveDialog1"));
    };
}

TFmain::~TFmain() = default;

void TFmain::FormCreate() {
    TForm_main::FormCreate();
    if (IsClosed() || NoSaveOnExit()) return;
    go_to_today();
    ArmAutoSave();
    // The keyboard starts in the list, so the arrows step through the days at once.
    LV1->setFocus();
}

// ---- building the window ----

void TFmain::BuildMenus() {
    QMenuBar* bar = menuBar();
    named(bar, "MainMenu1");

    N_File = named(bar->addMenu(QStringLiteral("&File")), "N_File");
    N_New = make_action(this, "N_New", QStringLiteral("New..."));
    N_Open = make_action(this, "N_Open", QStringLiteral("Open..."));
    N_Save = make_action(this, "N_Save", QStringLiteral("Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    N_Saveas = make_action(this, "N_Saveas", QStringLiteral("Save as..."));
    N_Print = make_action(this, "N_Print", QStringLiteral("Print..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    N_Exit1 = make_action(this, "N_Exit1", QStringLiteral("Exit"));
    N_File->addActions({N_New, N_Open, N_Save, N_Saveas});
    N_File->addSeparator();
    N_File->addAction(N_Print);
    N_File->addSeparator();
    N_File->addAction(N_Exit1);
    connect(N_New, &QAction::triggered, this, &TFmain::N_NewClick);
    connect(N_Open, &QAction::triggered, this, &TFmain::N_OpenClick);
    connect(N_Save, &QAction::triggered, this, [this] {
        if (!N_SaveClick()) ReportSaveFailure(false);
    });
    connect(N_Saveas, &QAction::triggered, this, &TFmain::N_SaveasClick);
    connect(N_Print, &QAction::triggered, this, &TFmain::N_PrintClick);
    connect(N_Exit1, &QAction::triggered, this, &TFmain::N_Exit1Click);

    N_Edit = named(bar->addMenu(QStringLiteral("&Edit")), "N_Edit");
    N_Add = make_action(this, "N_Add", QStringLiteral("Add"), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    N_Delete =
        make_action(this, "N_Delete", QStringLiteral("Delete"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    N_Edit_text = make_action(this, "N_Edit_text", QStringLiteral("Edit text"), QKeySequence(Qt::Key_F2));
    N_Change_image =
        make_action(this, "N_Change_image", QStringLiteral("Change image"), QKeySequence(Qt::Key_F3));
    N_hour_grid = make_action(this, "N_hour_grid", QStringLiteral("Hour grid"), QKeySequence(Qt::Key_F4));
    N_Movetootherdate = make_action(this, "N_Movetootherdate", QStringLiteral("Move the item to other date"),
                                    QKeySequence(Qt::Key_F6));
    N_Edit->addActions({N_Add, N_Delete, N_Edit_text, N_Change_image, N_hour_grid});
    N_Edit->addSeparator();
    N_Edit->addAction(N_Movetootherdate);
    connect(N_Add, &QAction::triggered, this, &TFmain::N_AddClick);
    connect(N_Delete, &QAction::triggered, this, &TFmain::N_DeleteClick);
    connect(N_Edit_text, &QAction::triggered, this, &TFmain::N_Edit_textClick);
    connect(N_Change_image, &QAction::triggered, this, &TFmain::N_Change_imageClick);
    connect(N_hour_grid, &QAction::triggered, this, &TFmain::N_hour_gridClick);
    connect(N_Movetootherdate, &QAction::triggered, this, &TFmain::N_MovetootherdateClick);

    N_Search = named(bar->addMenu(QStringLiteral("&Search")), "N_Search");
    N_Context_search = make_action(this, "N_Context_search", QStringLiteral("Context search"),
                                   QKeySequence(Qt::CTRL | Qt::Key_F));
    N_Find_uncompleted = make_action(this, "N_Find_uncompleted", QStringLiteral("Find uncompleted items"),
                                     QKeySequence(Qt::CTRL | Qt::Key_F7));
    N_Search->addActions({N_Context_search, N_Find_uncompleted});
    connect(N_Context_search, &QAction::triggered, this, &TFmain::N_Context_searchClick);
    connect(N_Find_uncompleted, &QAction::triggered, this, &TFmain::N_Find_uncompletedClick);

    N_View = named(bar->addMenu(QStringLiteral("&View")), "N_View");
    N_Standby = make_action(this, "N_Standby", QStringLiteral("Stand by"));
    N_Settings = make_action(this, "N_Settings", QStringLiteral("Settings..."));
    N_View->setSeparatorsCollapsible(false);
    N_View->addAction(N_Standby);
    N_View->addSeparator();
    N_View->addAction(N_Settings);
    N_View->addSeparator();
    connect(N_Standby, &QAction::triggered, this, &TForm_main::StandBy);
    connect(N_Settings, &QAction::triggered, this, &TFmain::N_SettingsClick);

    N_Help = named(bar->addMenu(QStringLiteral("&Help")), "N_Help");
    N_Help1 = make_action(this, "N_Help1", QStringLiteral("Help"), QKeySequence(Qt::Key_F1));
    N_About = make_action(this, "N_About", QStringLiteral("About"));
    N_Help->addAction(N_Help1);
    N_Help->addSeparator();
    N_Help->addAction(N_About);
    connect(N_Help1, &QAction::triggered, this, &TFmain::N_Help1Click);
    connect(N_About, &QAction::triggered, this, &TFmain::N_AboutClick);

    // The context menu repeats the Edit commands; its entries carry no shortcuts of their own.
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    N_pAdd = make_action(this, "N_pAdd", QStringLiteral("Add"));
    N_pDelete = make_action(this, "N_pDelete", QStringLiteral("Delete"));
    N_pEdit_text = make_action(this, "N_pEdit_text", QStringLiteral("Edit text"));
    N_pChange_image = make_action(this, "N_pChange_image", QStringLiteral("Change image"));
    N_pMove = make_action(this, "N_pMove", QStringLiteral("Move the item to otehr date"));
    PopupMenu1->addActions({N_pAdd, N_pDelete, N_pEdit_text, N_pChange_image});
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(N_pMove);
    connect(N_pAdd, &QAction::triggered, this, &TFmain::N_AddClick);
    connect(N_pDelete, &QAction::triggered, this, &TFmain::N_DeleteClick);
    connect(N_pEdit_text, &QAction::triggered, this, &TFmain::N_Edit_textClick);
    connect(N_pChange_image, &QAction::triggered, this, &TFmain::N_Change_imageClick);
    connect(N_pMove, &QAction::triggered, this, &TFmain::N_MovetootherdateClick);
    LV1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(LV1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(LV1->viewport()->mapToGlobal(pos)); });
}

void TFmain::BuildToolBar() {
    ToolBar1 = named(new QToolBar(this), "ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    auto button = [this](const char* name, const QString& hint, const QString& icon, void (TFmain::*slot)()) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setStatusTip(hint);
        b->setAccessibleName(hint);
        b->setIcon(tool_icon(icon));
        b->setIconSize(QSize(24, 24));
        b->setFixedSize(36, 36);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, slot);
        ToolBar1->addWidget(b);
        return b;
    };
    TB_add_task =
        button("TB_add_task", QStringLiteral("Add item"), QStringLiteral("add_item"), &TFmain::N_AddClick);
    TB_del_task = button("TB_del_task", QStringLiteral("Delete item"), QStringLiteral("delete_item"),
                         &TFmain::N_DeleteClick);
    TB_move = button("TB_move", QStringLiteral("Move item to other date"), QStringLiteral("move_item"),
                     &TFmain::N_MovetootherdateClick);
    TB_search = button("TB_search", QStringLiteral("Search"), QStringLiteral("search"),
                       &TFmain::N_Context_searchClick);
    TB_hour = button("TB_hour", QStringLiteral("Hour grid"), QStringLiteral("hour_grid"),
                     &TFmain::N_hour_gridClick);
    ToolBar1->addSeparator();
    TB_tvshow = button("TB_tvshow", QStringLiteral("Loved TV show"), QStringLiteral("tv_show"),
                       &TFmain::TB_tvshowClick);

    // Stand by keeps to the right end of the tool bar whatever the window's width.
    auto* spacer = new QWidget(ToolBar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBar1->addWidget(spacer);
    SB_stand_by =
        button("SB_stand_by", QStringLiteral("Stand by"), QStringLiteral("stand_by"), &TForm_main::StandBy);
}

void TFmain::BuildClientArea() {
    auto* central = named(new QWidget(this), "Panel_client");
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 2);

    auto* dateRow = new QHBoxLayout();
    RB_date_on = named(new QRadioButton(QStringLiteral("Date:"), central), "RB_date_on");
    RB_date_on->setChecked(true);
    DatePicker1 = named(new QDateEdit(QDate::currentDate(), central), "DatePicker1");
    DatePicker1->setCalendarPopup(true);
    // A typed date is shown once it is complete, not at every keystroke on the way.
    DatePicker1->setKeyboardTracking(false);
    DatePicker1->setDisplayFormat(day_key_format());
    DatePicker1->setAccessibleName(QStringLiteral("Date"));
    // As wide as the control allows, so the picker can show the date of any key it may meet.
    DatePicker1->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    ItemDaysMarker::Attach(Registry().list, DatePicker1->calendarWidget());
    RB_date_off =
        named(new QRadioButton(QStringLiteral("Date independed To Do Items"), central), "RB_date_off");
    dateRow->addWidget(RB_date_on);
    dateRow->addWidget(DatePicker1);
    dateRow->addSpacing(16);
    dateRow->addWidget(RB_date_off);
    dateRow->addStretch(1);
    layout->addLayout(dateRow);

    Splitter1 = named(new QSplitter(Qt::Vertical, central), "Splitter1");
    Splitter1->setChildrenCollapsible(false);
    LV1 = named(new DayListWidget(Splitter1), "LV1");
    LV1->setIconSize(QSize(16, 16));
    LV1->setSelectionMode(QAbstractItemView::SingleSelection);
    LV1->setEditTriggers(QAbstractItemView::DoubleClicked);
    LV1->setAccessibleName(QStringLiteral("To do items"));
    keep_selection_visible(LV1);
    PageControl1 = named(new QTabWidget(Splitter1), "PageControl1");
    Memo_dsc = named(new QPlainTextEdit(PageControl1), "Memo_dsc");
    Memo_dsc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo_dsc->setAccessibleName(QStringLiteral("Description"));
    Memo_dsc->setTabChangesFocus(true);
    PageControl1->addTab(Memo_dsc, QStringLiteral("Description"));
    Splitter1->addWidget(LV1);
    Splitter1->addWidget(PageControl1);
    Splitter1->setStretchFactor(0, 3);
    Splitter1->setStretchFactor(1, 1);
    layout->addWidget(Splitter1, 1);
    setCentralWidget(central);

    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    StatusPanel0 = named(new QLabel(StatusBar1), "StatusPanel0");
    StatusPanel0->setMinimumWidth(50);
    StatusPanel1 = named(new QLabel(StatusBar1), "StatusPanel1");
    StatusPanel1->setMinimumWidth(50);
    StatusPanel1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    StatusPanel1->setTextFormat(Qt::PlainText); // a file name is never markup
    StatusBar1->addWidget(StatusPanel0);
    StatusBar1->addWidget(StatusPanel1, 1);
    setStatusBar(StatusBar1);

    set_tab_order({RB_date_on, DatePicker1, RB_date_off, LV1, Memo_dsc});

    connect(RB_date_on, &QRadioButton::clicked, this, &TFmain::RB_date_onClick);
    connect(RB_date_off, &QRadioButton::clicked, this, &TFmain::RB_date_onClick);
    connect(DatePicker1, &QDateEdit::dateChanged, this, &TFmain::DatePicker1Change);
    // What the user types is unsaved from the first key on, also before it reaches the document.
    connect(Memo_dsc, &QPlainTextEdit::textChanged, this, [this] {
        description_modified = true;
        if (!loadingDescription_) Registry().list.NoteChange();
    });
    connect(LV1, &DayListWidget::EditorTextEdited, this, [this] { Registry().list.NoteChange(); });
    connect(LV1, &QListWidget::itemSelectionChanged, this, &TFmain::RowStateChanging);
    connect(LV1, &QListWidget::itemChanged, this, [this](QListWidgetItem*) {
        if (filling_) return;
        Registry().list.NoteChange();
        RowStateChanging();
    });
    LV1->OnKeyDown = [this](QKeyEvent* event) { return LV1KeyDown(event); };
    connect(LV1, &DayListWidget::RowDropped, this, &TFmain::RowDropped);
}

// ---- showing a day ----

void TFmain::SetPickerDate(const QDate& date) {
    const QSignalBlocker block(DatePicker1);
    DatePicker1->setDate(date);
}

std::string TFmain::shown_key() const {
    return RB_date_on->isChecked() ? render_day_key(DatePicker1->date()) : kDateIndependentKey;
}

void TFmain::go_to_day(const std::string& key) {
    // A date the picker cannot show (a hand-edited year before 100) is shown as a foreign key: in date
    // mode the window would report and act on another day than the one it lists.
    const auto date = parse_day_key(key);
    if (date && *date >= DatePicker1->minimumDate() && *date <= DatePicker1->maximumDate()) {
        RB_date_on->setChecked(true);
        DatePicker1->setEnabled(true);
        if (render_day_key(DatePicker1->date()) != key) SetPickerDate(*date);
    } else {
        RB_date_off->setChecked(true);
        DatePicker1->setEnabled(false);
    }
    clear_description();
    const int days = TodoDoc()->ChildCount();
    current_day = todo::find_or_create_day(*TodoDoc(), key);
    if (TodoDoc()->ChildCount() != days) Registry().list.NoteChange(TodoList::Change::Bookkeeping);
    fill_day_list();
    item_actions_enabling();
}

void TFmain::go_to_date(const QDate& date) {
    go_to_day(render_day_key(date));
}

void TFmain::go_to_today() {
    ShowSaveState();
    if (!Registry().list.LoadNote.isEmpty()) {
        StatusBar1->showMessage(Registry().list.LoadNote, 20000);
        Registry().list.LoadNote.clear(); // said once
    }
    description_modified = false;
    SetPickerDate(QDate::currentDate());
    go_to_date(DatePicker1->date());
    show_file_name(Registry().settings.DataFileName());
}

void TFmain::show_file_name(const QString& name) {
    fileName_ = name;
    StatusPanel1->setText(name);
    StatusPanel1->setToolTip(name);
}

// ---- rows ----

void TFmain::fill_day_list() {
    filling_ = true;
    {
        const QSignalBlocker block(LV1);
        clear_description();
        LV1->clear();
        // The list is empty here, so every item gets a new row without looking for an old one.
        if (current_day)
            for (TNoxPigger* child : current_day->Children())
                if (child->TagName() == todo::kItemTag) new_row(child);
        LV1->clearSelection();
        LV1->setCurrentItem(nullptr, QItemSelectionModel::NoUpdate);
    }
    filling_ = false;
    item_actions_enabling();
}

QListWidgetItem* TFmain::show_item_row(TNoxPigger* item) {
    const bool wasFilling = filling_;
    filling_ = true;
    QListWidgetItem* row = row_of_item(item);
    if (row)
        item_rows::show(row, *item);
    else
        row = new_row(item);
    filling_ = wasFilling;
    return row;
}

QListWidgetItem* TFmain::new_row(TNoxPigger* item) {
    auto* row = new QListWidgetItem(LV1);
    row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsUserCheckable |
                  Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
    item_rows::bind(row, item);
    return row;
}

QListWidgetItem* TFmain::row_of_item(const TNoxPigger* item) const {
    if (!item) return nullptr;
    for (int i = 0; i < LV1->count(); ++i)
        if (item_of_row(LV1->item(i)) == item) return LV1->item(i);
    return nullptr;
}

TNoxPigger* TFmain::item_of_row(const QListWidgetItem* row) const {
    return item_rows::item_of(row);
}

QListWidgetItem* TFmain::selected_row() const {
    const QList<QListWidgetItem*> selected = LV1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void TFmain::store_item_row(QListWidgetItem* row) {
    if (item_rows::store(row)) Registry().list.NoteChange();
}

void TFmain::store_day_list(bool quietly) {
    // An edit still open keeps its text: accepting it is what the user would expect of a save. A save
    // the user did not ask for takes the text as it stands and leaves the edit open.
    QListWidgetItem* edited = quietly ? LV1->EditedRow() : nullptr;
    if (!quietly && LV1->IsEditing()) LV1->AcceptEdit();
    store_description();
    for (int i = 0; i < LV1->count(); ++i) {
        QListWidgetItem* row = LV1->item(i);
        TNoxPigger* item = item_of_row(row);
        if (row == edited && item) {
            // An edit not typed into yet leaves the caption's bytes as they were read.
            const QString typed = LV1->EditorText();
            const std::string caption = typed == row->text() ? item_rows::caption(row) : from_qstring(typed);
            if (todo::store_item(*item, caption, row->checkState() == Qt::Checked, item_rows::picture(row)))
                Registry().list.NoteChange();
        } else {
            store_item_row(row);
        }
    }
}

void TFmain::store_description() {
    if (description_modified && descriptionOwner_) {
        std::string text = item_rows::description_from_editor(Memo_dsc);
        TNoxPigger* description = todo::description_of(*descriptionOwner_);
        if (description->Text != text) {
            description->Text = std::move(text);
            Registry().list.NoteChange();
        }
    }
    description_modified = false;
}

void TFmain::load_description() {
    clear_description();
    TNoxPigger* item = item_of_row(selected_row());
    if (!item) return;
    const int children = item->ChildCount();
    loadingDescription_ = true;
    Memo_dsc->setPlainText(item_rows::description_for_editor(todo::description_of(*item)->Text));
    loadingDescription_ = false;
    descriptionOwner_ = item;
    description_modified = false;
    todo::remarks_of(*item);
    if (item->ChildCount() != children) Registry().list.NoteChange(TodoList::Change::Bookkeeping);
}

void TFmain::clear_description() {
    loadingDescription_ = true;
    Memo_dsc->clear();
    loadingDescription_ = false;
    descriptionOwner_ = nullptr;
    description_modified = false;
}

// A row was selected, unselected or ticked: the edited description goes to the item it was typed for
// (the one it was loaded from), then the now selected item's description is shown.
void TFmain::RowStateChanging() {
    store_description();
    load_description();
    item_actions_enabling();
}

TNoxPigger* TFmain::add_item(TNoxPigger* day, const std::string& text) {
    if (!day) return nullptr;
    store_day_list();
    TNoxPigger* item = day->AddChild(todo::kItemTag);
    item->SetAttr(todo::kCaptionAttr, text);
    Registry().list.NoteChange();
    QListWidgetItem* row = show_item_row(item);
    LV1->setCurrentItem(row);
    row->setSelected(true);
    return item;
}

void TFmain::item_actions_enabling() {
    const bool dateMode = RB_date_on->isChecked();
    N_hour_grid->setEnabled(dateMode);
    TB_hour->setEnabled(dateMode);
    const bool selected = selected_row() != nullptr;
    Memo_dsc->setEnabled(selected);
    for (QAction* a : {N_Edit_text, N_Delete, N_Change_image, N_Movetootherdate, N_pEdit_text, N_pDelete,
                       N_pChange_image, N_pMove})
        a->setEnabled(selected);
    for (QToolButton* b : {TB_del_task, TB_move})
        b->setEnabled(selected);
    N_Add->setEnabled(true);
    N_pAdd->setEnabled(true);
    TB_add_task->setEnabled(true);
}

void TFmain::step_day(bool forward) {
    const QDate date = DatePicker1->date().addDays(forward ? 1 : -1);
    // At either end of the calendar there is no day further on.
    if (date < DatePicker1->minimumDate() || date > DatePicker1->maximumDate()) return;
    store_day_list();
    SetPickerDate(date);
    go_to_date(date);
    LV1->setFocus();
}

void TFmain::remove_empty_days() {
    if (todo::remove_empty_days(*TodoDoc())) Registry().list.NoteChange(TodoList::Change::Bookkeeping);
    if (current_day && TodoDoc()->IndexOfChild(current_day) < 0) current_day = nullptr;
}

void TFmain::empty_day_list() {
    const QSignalBlocker block(LV1);
    clear_description();
    LV1->clear();
    current_day = nullptr;
}

// ---- user actions on the day ----

void TFmain::RB_date_onClick() {
    // A click that would show the day already shown changes nothing. A day under a foreign key is shown
    // in date-independent mode, and a click there still goes to the date-independent list.
    if (current_day) {
        const std::string shown = current_day->GetAttr(todo::kDateAttr);
        if (RB_date_on->isChecked() ? parse_day_key(shown) == DatePicker1->date()
                                    : shown == kDateIndependentKey)
            return;
    }
    store_day_list();
    if (RB_date_on->isChecked()) {
        DatePicker1->setEnabled(true);
        go_to_day(render_day_key(DatePicker1->date()));
    } else {
        DatePicker1->setEnabled(false);
        go_to_day(kDateIndependentKey);
    }
    LV1->setFocus();
    item_actions_enabling();
}

void TFmain::DatePicker1Change() {
    store_day_list();
    go_to_date(DatePicker1->date());
}

// A stepped day or a started edit consumes its key, so the list does not also move its selection in
// the day just shown.
bool TFmain::LV1KeyDown(QKeyEvent* event) {
    if (LV1->IsEditing() || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (!RB_date_on->isChecked()) return false;
        step_day(event->key() == Qt::Key_Right);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!selected_row()) return false;
        N_Edit_textClick();
        return true;
    default:
        return false;
    }
}

void TFmain::RowDropped(QListWidgetItem* target) {
    QListWidgetItem* dragged = selected_row();
    if (!target || !dragged || target == dragged || !current_day) return;
    const int from = current_day->IndexOfChild(item_of_row(dragged));
    const int to = current_day->IndexOfChild(item_of_row(target));
    if (from < 0 || to < 0) return;
    current_day->MoveChild(from, to);
    Registry().list.NoteChange();
    store_day_list();
    go_to_day(shown_key());
}

// ---- item commands ----

void TFmain::N_AddClick() {
    if (!current_day) return;
    add_item(current_day, from_qstring(kNewItemText));
    N_Edit_textClick();
}

void TFmain::N_Edit_textClick() {
    QListWidgetItem* row = selected_row();
    if (!row) return;
    LV1->setFocus();
    LV1->scrollToItem(row);
    LV1->editItem(row);
}

void TFmain::N_DeleteClick() {
    QListWidgetItem* row = selected_row();
    if (!row) return;
    if (!Registry().sure->AskYesNo(QStringLiteral("Delete item \"%1\"?").arg(row->text()))) return;
    TNoxPigger* item = item_of_row(row);
    {
        const QSignalBlocker block(LV1);
        clear_description();
        item_rows::bind(row, nullptr);
        delete row;
        LV1->clearSelection();
    }
    delete item;
    Registry().list.NoteChange();
    item_actions_enabling();
}

void TFmain::N_Change_imageClick() {
    QListWidgetItem* row = selected_row();
    if (!row) return;
    store_day_list();
    TNoxPigger* item = item_of_row(row);
    const int index = Registry().selectImage->select_image(item_rows::picture(row));
    // The row may be gone if the document changed meanwhile.
    if (row_of_item(item) != row) return;
    item->SetAttr(todo::kIndexAttr, std::to_string(index));
    Registry().list.NoteChange();
    show_item_row(item);
}

void TFmain::N_hour_gridClick() {
    if (!RB_date_on->isChecked() || !N_hour_grid->isEnabled()) return;
    store_day_list();
    if (!Registry().hourGrid) return;
    TNoxPigger* chosen = Registry().hourGrid->ShowDay(current_day, item_of_row(selected_row()));
    if (!chosen) return;
    if (QListWidgetItem* row = row_of_item(chosen)) {
        LV1->setCurrentItem(row);
        row->setSelected(true);
    } else {
        LV1->clearSelection();
    }
}

// The windows of these commands come later; the list is stored first as they all need.
void TFmain::N_MovetootherdateClick() {
    QListWidgetItem* row = selected_row();
    TD_select_date_move* dialog = Registry().selectDateMove;
    if (!row || !dialog) return;
    if (row->checkState() == Qt::Checked &&
        !Registry().sure->AskYesNo(
            QStringLiteral("The item \"%1\" is marked as done.\nDo you wish to move it?").arg(row->text())))
        return;
    const std::string source = shown_key();
    TNoxPigger* item = item_of_row(row);
    const TD_select_date_move::Target target = dialog->select_move_target(source);
    if (target.action == TD_select_date_move::Cancelled || target.key == source) return;
    // The row may be gone if the document changed meanwhile.
    if (row_of_item(item) != row) return;
    const QString text = row->text();
    store_day_list();
    if (target.action == TD_select_date_move::Move) {
        todo::move_item(*TodoDoc(), *item, target.key);
        Registry().list.NoteChange();
        go_to_day(target.key);
        return;
    }
    try {
        todo::copy_item(*TodoDoc(), *item, target.key);
    } catch (const std::exception& error) {
        Registry().msg->ShowMessageText(
            QStringLiteral("The item \"%1\"\ncould not be copied to date %2:\n%3")
                .arg(text, to_qstring(target.key), QString::fromLocal8Bit(error.what())));
        return;
    }
    Registry().list.NoteChange();
    Registry().msg->ShowMessageText(
        QStringLiteral("The item \"%1\"\nhas been copied to date %2.").arg(text, to_qstring(target.key)));
}

void TFmain::N_Context_searchClick() {
    store_day_list();
    if (Registry().findContext) Registry().findContext->ShowFind(TodoDoc());
}
void TFmain::N_Find_uncompletedClick() {
    store_day_list();
    if (Registry().findUncomplete) Registry().findUncomplete->ShowFind(TodoDoc());
}
void TFmain::N_PrintClick() {
    store_day_list();
    if (Registry().print) Registry().print->Execute(current_day, item_of_row(selected_row()));
}
void TFmain::TB_tvshowClick() {
    TD_add_TV_show* dialog = Registry().addTvShow;
    if (!dialog || !dialog->ask_tv_show()) return;
    store_day_list();
    const QDate date = dialog->DTP_date->date();
    const QTime time = dialog->DTP_time->time();
    go_to_date(date);
    TNoxPigger* day = todo::find_or_create_day(*TodoDoc(), render_day_key(date));
    TNoxPigger* item = add_item(day, from_qstring(dialog->Edit_name->text()));
    if (!item) return;
    todo::set_item_time(*item, time.hour(), time.minute());
    item->SetAttr(todo::kIndexAttr, std::to_string(todo::kTvShowPicture));
    Registry().list.NoteChange();
    LV1->scrollToItem(show_item_row(item));
}

void TFmain::N_SettingsClick() {
    Registry().settingsDialog->ShowOnPage(TD_settings_user::Page::Main);
    ArmAutoSave();
}

void TFmain::N_AboutClick() {
    Registry().about->ShowAbout();
}

void TFmain::N_Help1Click() {
    ShowHelp(QStringLiteral("index"));
}

// ---- files ----

bool TFmain::N_SaveClick() {
    OverrideCursor wait;
    return Registry().list.Save();
}

void TFmain::ShowSaveState() {
    const TodoList& list = Registry().list;
    // A list kept from a link to a missing file is saved nowhere until "Save as...".
    // So is a new list whose file could not be made (its folder missing: a drive not mounted).
    const bool notMade = list.LastLoad == TodoList::LoadResult::Created && !list.LastSaveError.isEmpty();
    if (saveFailed_ || notMade || list.LastLoad == TodoList::LoadResult::DanglingLink) {
        StatusPanel0->setText(QStringLiteral("Not saved"));
        StatusPanel0->setToolTip(list.LastSaveError.isEmpty() ? list.LoadError : list.LastSaveError);
    } else {
        StatusPanel0->setText(list.IsModified() ? QStringLiteral("Modified") : QString());
        StatusPanel0->setToolTip({});
    }
}

void TFmain::ReportSaveFailure(bool automatic) {
    saveFailed_ = true;
    ShowSaveState();
    if (automatic && saveFailureShown_) return;
    saveFailureShown_ = true;
    const QString text =
        QStringLiteral("Can not save data file\n\n%1\n%2\n\nThe list stays open; nothing is lost "
                       "while the program runs.")
            .arg(GetDataFileName(), Registry().list.LastSaveError);
    // A save the user did not ask for must not take the keyboard from what they are typing.
    if (automatic)
        ShowShellNotice(text);
    else
        ShowShellMessage(text);
}

void TFmain::ClearSaveFailure() {
    saveFailureShown_ = false;
    saveFailed_ = false;
    ShowSaveState();
}

// What became of a switch to another file: shown from today, or why not.
bool TFmain::SwitchFinished(TodoList::SwitchResult result, const QString& fileName, const QString& what) {
    switch (result) {
    case TodoList::SwitchResult::Refused:
        ShowShellMessage(Registry().list.LoadError);
        return false;
    case TodoList::SwitchResult::Switched:
        if (!AfterLoad(fileName)) return false;
        go_to_today();
        return true;
    case TodoList::SwitchResult::NotSaved:
        saveFailed_ = true;
        ShowSaveState();
        ShowShellMessage(
            QStringLiteral("Can not save data file\n\n%1\n%2\n\n%3 was stopped, so that the open list "
                           "is not lost.")
                .arg(GetDataFileName(), Registry().list.LastSaveError, what));
        return false;
    }
    return false;
}

bool TFmain::SwitchDataFile(const QString& fileName, const QString& what) {
    TodoList::SwitchResult result;
    {
        OverrideCursor wait;
        result = Registry().list.Open(fileName);
    }
    return SwitchFinished(result, fileName, what);
}

bool TFmain::N_OpenClick() {
    const QString chosen = ChooseOpenFile();
    return !chosen.isEmpty() && SwitchDataFile(chosen, QStringLiteral("Opening another list"));
}

bool TFmain::N_SaveasClick() {
    const QString chosen = ChooseSaveFile();
    if (chosen.isEmpty()) return false;
    TodoList::SwitchResult result;
    {
        OverrideCursor wait;
        result = Registry().list.SaveAs(chosen);
    }
    if (result == TodoList::SwitchResult::NotSaved) {
        // The list stays with the file it came from.
        ShowShellMessage(
            QStringLiteral("Can not save data file\n\n%1\n%2").arg(chosen, Registry().list.LastSaveError));
        return false;
    }
    return SwitchFinished(result, chosen, QString());
}

bool TFmain::N_NewClick() {
    const QString name = Registry().newTodolist->AskNewFileName();
    if (name.isEmpty()) return false;
    // Kept as an absolute name, so a start from another folder finds the list again; its folder is made
    // so the new file can be created there.
    const QFileInfo file(name);
    QDir().mkpath(file.absolutePath());
    return SwitchDataFile(file.absoluteFilePath(), QStringLiteral("Creating a new list"));
}

void TFmain::N_Exit1Click() {
    close();
}

void TFmain::ArmAutoSave() {
    Registry().list.ArmAutoSave();
}

void TFmain::Timer_auto_saveTimer() {
    Registry().list.AutoSave();
}

// ---- window ----

void TFmain::showEvent(QShowEvent* event) {
    // The stored geometry is applied once; later activations keep what the user did with the window.
    if (!geometryApplied_) {
        geometryApplied_ = true;
        apply_window_geometry(Registry().settings, this);
    }
    TForm_main::showEvent(event);
}

void TFmain::Activated() {
    item_actions_enabling();
}

void TFmain::CloseHandler() {
    wasMaximized_ = isMaximized();
    remove_empty_days();
    // A window that was never shown has no geometry worth keeping.
    if (geometryApplied_) store_window_geometry(Registry().settings, this);
    const int mode = Registry().settings.BackupMode();
    Registry().list.BackupOnSave = mode == 1 || mode == 2;
    store_day_list();
    Registry().list.StopAutoSave();
}

void TFmain::CloseCancelled() {
    if (wasMaximized_) showMaximized();
    Registry().list.BackupOnSave = Registry().settings.BackupMode() == 2;
    if (!current_day) go_to_day(shown_key());
    ArmAutoSave();
}
