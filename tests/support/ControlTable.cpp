#include "ControlTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
std::optional<QString> shown_text(const QObject* o) {
    if (auto* b = qobject_cast<const QAbstractButton*>(o)) return b->text();
    if (auto* l = qobject_cast<const QLabel*>(o)) return l->text();
    if (auto* g = qobject_cast<const QGroupBox*>(o)) return g->title();
    if (auto* e = qobject_cast<const QLineEdit*>(o)) return e->text();
    if (auto* a = qobject_cast<const QAction*>(o)) return a->text();
    if (auto* w = qobject_cast<const QWidget*>(o)) return w->windowTitle();
    return std::nullopt;
}
} // namespace

void ExpectControls(const QObject& window, std::initializer_list<ControlRow> rows) {
    for (const ControlRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QObject* o = window.findChild<QObject*>(QString::fromLatin1(row.name));
        ASSERT_NE(o, nullptr) << "no control " << row.name;
        if (row.text) {
            EXPECT_EQ(shown_text(o), row.text);
        }
        auto* w = qobject_cast<const QWidget*>(o);
        auto* a = qobject_cast<const QAction*>(o);
        if (row.enabled) {
            EXPECT_EQ(w ? w->isEnabled() : a && a->isEnabled(), *row.enabled);
        }
        if (row.hint) {
            EXPECT_EQ(w ? w->toolTip() : a ? a->toolTip() : QString(), *row.hint);
        }
        if (row.key) {
            ASSERT_NE(a, nullptr) << "only actions carry shortcuts";
            EXPECT_EQ(a->shortcut(), *row.key);
        }
        if (row.isDefault) {
            auto* b = qobject_cast<const QPushButton*>(o);
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->isDefault(), *row.isDefault);
        }
        if (row.checked) {
            auto* b = qobject_cast<const QAbstractButton*>(o);
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->isChecked(), *row.checked);
        }
    }
}

QStringList tab_chain(QWidget* first, const QStringList& names) {
    QStringList chain;
    QWidget* w = first;
    do { // once round the chain at most: it is a circle
        if (names.contains(w->objectName()) && !chain.contains(w->objectName())) chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != first && chain.size() < names.size());
    return chain;
}

int wrapped_width(const QLabel* label) {
    return label->fontMetrics()
        .boundingRect(QRect(0, 0, label->width(), 100000), Qt::TextWordWrap, label->text())
        .width();
}
