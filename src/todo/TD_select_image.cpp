#include "todo/TD_select_image.h"

#include "ui/ItemImages.h"
#include "ui/WidgetHelpers.h"
#include "ui/WindowRegistry.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int kIndexRole = Qt::UserRole;
}

TD_select_image::TD_select_image(WindowRegistry& reg, QWidget* parent) : QDialog(parent), reg_(reg) {
    setObjectName(QStringLiteral("TD_select_image"));
    setWindowTitle(QStringLiteral("Select image"));
    setModal(true);

    // Small-icon view: picture with its label beside it, entries flowing in rows.
    LV1 = named(new QListWidget(this), "LV1");
    LV1->setViewMode(QListView::ListMode);
    LV1->setFlow(QListView::LeftToRight);
    LV1->setWrapping(true);
    LV1->setResizeMode(QListView::Adjust);
    LV1->setMovement(QListView::Static);
    LV1->setIconSize(QSize(16, 16));
    // Cells wide enough for the picture and a two-digit label in the list's own font.
    const QFontMetrics metrics(LV1->font());
    const QSize cell(16 + metrics.horizontalAdvance(QStringLiteral("00")) + 20,
                     qMax(16, metrics.height()) + 6);
    LV1->setGridSize(cell);
    LV1->setUniformItemSizes(true);
    LV1->setSelectionMode(QAbstractItemView::SingleSelection);
    LV1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Keep the chosen picture visible while the buttons have the focus.
    keep_selection_visible(LV1);
    for (int i = 0; i < item_image_count(); ++i) {
        auto* entry = new QListWidgetItem(item_image(i), QString::number(i), LV1);
        entry->setData(kIndexRole, i);
    }

    Btn_ok = make_button("Btn_ok", QStringLiteral("OK"), this);
    Btn_ok->setDefault(true);
    Btn_cancel = make_button("Btn_cancel", QStringLiteral("Cancel"), this);

    QHBoxLayout* buttons = button_row({Btn_ok, Btn_cancel}, RowAlign::Right);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LV1);
    layout->addLayout(buttons);

    connect(Btn_ok, &QPushButton::clicked, this, &TD_select_image::Btn_okClick);
    connect(Btn_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(LV1, &QListWidget::itemDoubleClicked, this, &TD_select_image::LV1DblClick);

    // Six rows of six cells show every picture; sized exactly, so no scroll bar can steal a column.
    constexpr int kColumns = 6;
    const int rows = (item_image_count() + kColumns - 1) / kColumns;
    LV1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LV1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LV1->setFixedSize(kColumns * cell.width() + 2 * LV1->frameWidth() + 2,
                      rows * cell.height() + 2 * LV1->frameWidth() + 2);
    setFixedSize(sizeHint());
}

int TD_select_image::select_image(int index) {
    confirmed = false;
    select_entry(index);
    center_on_screen();
    LV1->setFocus();
    exec();
    QListWidgetItem* selected = LV1->selectedItems().value(0);
    if (confirmed && selected) return selected->data(kIndexRole).toInt();
    return index;
}

void TD_select_image::Btn_okClick() {
    confirmed = true;
    accept();
}

void TD_select_image::LV1DblClick(QListWidgetItem* item) {
    if (!item) return;
    LV1->setCurrentItem(item);
    confirmed = true;
    accept();
}

void TD_select_image::select_entry(int index) {
    for (int row = 0; row < LV1->count(); ++row) {
        QListWidgetItem* entry = LV1->item(row);
        if (entry->data(kIndexRole).toInt() == index) {
            LV1->setCurrentItem(entry);
            LV1->scrollToItem(entry);
            return;
        }
    }
}

void TD_select_image::center_on_screen() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect area = screen->availableGeometry();
    QRect frame = frameGeometry();
    move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}
