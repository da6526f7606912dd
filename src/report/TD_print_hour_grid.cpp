#include "report/TD_print_hour_grid.h"

#include "hourgrid/TFhour_grid.h"
#include "report/TDataStream.h"
#include "report/TReportConverter.h"
#include "todo/rules/TodoRules.h"
#include "ui/WidgetHelpers.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

#include <iterator>

namespace {

constexpr int kItemIndent = 42;

} // namespace

TD_print_hour_grid::TD_print_hour_grid(WindowRegistry& reg, TFhour_grid* hourGrid, QWidget* parent)
    : TD_print(reg, parent), hourGrid_(hourGrid) {
    setObjectName(QStringLiteral("D_print_hour_grid"));
    setWindowTitle(QStringLiteral("Print hour grid"));
    // The whole day or one item is no choice here.
    GB_range->hide();

    CB_empty_time =
        named(new QCheckBox(QStringLiteral("Print empty time lines"), GB_options), "CB_empty_time");
    CB_time_independed =
        named(new QCheckBox(QStringLiteral("Ptint time independed items"), GB_options), "CB_time_independed");
    for (QCheckBox* box : {CB_empty_time, CB_time_independed})
        box->setChecked(true);
    OptionsLayout()->insertWidget(0, CB_empty_time);
    OptionsLayout()->insertWidget(1, CB_time_independed);
    QWidget* const order[] = {RB_date,        RB_current, CB_empty_time, CB_time_independed, CB_item_text,
                              CB_Description, OKBtn,      CancelBtn,     Btn_settings,       Btn_help};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Items stand indented under their time lines.
    CB_label->setGeometry(kItemIndent, 0, 650, 17);
    Label_memo_title->move(kItemIndent, 0);
    Memo1->move(kItemIndent, 14);

    Panel_hour = named(new QWidget(this), "Panel_hour");
    Label_time = make_label("Label_time", QString(), Panel_hour);
    Label_time->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    Label_time->move(7, 0);
    // The dialog's own font; black, so that a dark desktop theme does not print pale time lines.
    QPalette palette = Label_time->palette();
    palette.setColor(Label_time->foregroundRole(), Qt::black);
    Label_time->setPalette(palette);
    Panel_hour->hide();
}

TD_print_hour_grid::~TD_print_hour_grid() = default;

void TD_print_hour_grid::ExecuteHourGrid(TNoxPigger* day) {
    Execute(day, nullptr);
}

void TD_print_hour_grid::BuildReport(const std::string& fileName) {
    TDataStream buffer;
    StartReport(buffer);
    const std::string date = Day() ? Day()->GetAttr(todo::kDateAttr) : std::string();
    AddTitle("Hour grid of " + date, buffer);
    // The rows are the hour grid's only while it shows this day.
    const bool shown = hourGrid_ && Day() && hourGrid_->Day() == Day();
    if (shown) {
        for (const QTreeWidgetItem* slot : hourGrid_->SlotRows()) {
            const QList<QTreeWidgetItem*> rows = TFhour_grid::ItemRowsOf(slot);
            if (rows.isEmpty() && !CB_empty_time->isChecked()) continue;
            Label_time->setText(hourGrid_->SlotDisplayLabel(slot));
            Label_time->adjustSize();
            AddPanel(*Panel_hour, buffer);
            for (const QTreeWidgetItem* row : rows)
                if (const TNoxPigger* item = TFhour_grid::ElementOf(row)) AddItem(*item, buffer);
        }
    }
    if (CB_time_independed->isChecked()) {
        AddTitle("Time independed To Do Items of " + date, buffer);
        if (shown)
            for (const QListWidgetItem* row : hourGrid_->TimeIndependentRows())
                if (const TNoxPigger* item = TFhour_grid::ElementOf(row)) AddItem(*item, buffer);
    }
    FinishReport(buffer, fileName);
}
