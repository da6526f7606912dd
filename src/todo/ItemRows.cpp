#include "todo/ItemRows.h"

#include "todo/rules/TextCodec.h"
#include "todo/rules/TodoRules.h"
#include "ui/ItemImages.h"

#include <QListWidgetItem>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTreeWidgetItem>

namespace item_rows {

namespace {
constexpr int kItemRole = Qt::UserRole;
constexpr int kBytesRole = Qt::UserRole + 1;
constexpr int kShownRole = Qt::UserRole + 2;
constexpr int kPictureRole = Qt::UserRole + 3;

// List rows and tree rows keep their data alike; a tree row's is in its first column.
struct ListRow {
    QListWidgetItem* row;
    QVariant get(int role) const { return row->data(role); }
    void set(int role, const QVariant& v) const { row->setData(role, v); }
    void check(bool on) const { row->setCheckState(on ? Qt::Checked : Qt::Unchecked); }
};
struct TreeRow {
    QTreeWidgetItem* row;
    QVariant get(int role) const { return row->data(0, role); }
    void set(int role, const QVariant& v) const { row->setData(0, role, v); }
    void check(bool on) const { row->setCheckState(0, on ? Qt::Checked : Qt::Unchecked); }
};

template <class Row> void show_in(const Row& row, const TNoxPigger& item) {
    const std::string text = todo::item_text(item);
    const QString shown = to_qstring(text);
    row.set(kBytesRole, QByteArray::fromStdString(text));
    row.set(kShownRole, shown);
    row.set(Qt::DisplayRole, shown);
    const int index = todo::picture_index(item);
    row.set(kPictureRole, index);
    row.set(Qt::DecorationRole, item_image(index));
    row.check(todo::is_done_in_day_list(item));
}

template <class Row> void bind_to(const Row& row, TNoxPigger* item) {
    row.set(kItemRole, QVariant::fromValue(reinterpret_cast<quintptr>(item)));
    if (item) show_in(row, *item);
}

template <class Row> TNoxPigger* item_in(const Row& row) {
    return reinterpret_cast<TNoxPigger*>(row.get(kItemRole).template value<quintptr>());
}
} // namespace

void bind(QListWidgetItem* row, TNoxPigger* item) {
    bind_to(ListRow{row}, item);
}
void bind(QTreeWidgetItem* row, TNoxPigger* item) {
    bind_to(TreeRow{row}, item);
}

TNoxPigger* item_of(const QListWidgetItem* row) {
    return row ? item_in(ListRow{const_cast<QListWidgetItem*>(row)}) : nullptr;
}
TNoxPigger* item_of(const QTreeWidgetItem* row) {
    return row ? item_in(TreeRow{const_cast<QTreeWidgetItem*>(row)}) : nullptr;
}

void show(QListWidgetItem* row, const TNoxPigger& item) {
    show_in(ListRow{row}, item);
}
void show(QTreeWidgetItem* row, const TNoxPigger& item) {
    show_in(TreeRow{row}, item);
}

int picture(const QListWidgetItem* row) {
    return row->data(kPictureRole).toInt();
}
int picture(const QTreeWidgetItem* row) {
    return row->data(0, kPictureRole).toInt();
}

std::string caption(const QListWidgetItem* row) {
    return row->text() == row->data(kShownRole).toString() ? row->data(kBytesRole).toByteArray().toStdString()
                                                           : from_qstring(row->text());
}

bool store(QListWidgetItem* row) {
    TNoxPigger* item = item_of(row);
    return item && todo::store_item(*item, caption(row), row->checkState() == Qt::Checked, picture(row));
}

QString description_for_editor(const std::string& bytes) {
    QString s = to_qstring(bytes);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

std::string description_from_editor(const QPlainTextEdit* editor) {
    // toPlainText would also turn every no-break space into a plain one.
    QString s = editor->document()->toRawText();
    s.replace(QChar::ParagraphSeparator, u'\n');
    s.replace(QChar::LineSeparator, u'\n');
    s.replace(u'\n', QStringLiteral("\r\n"));
    return from_qstring(s);
}

} // namespace item_rows
