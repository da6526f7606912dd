// A titled frame of radio buttons read and set by index, with a signal only for the user's choices, so
// filling it from stored settings never writes them back.
#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class TRadioGroup final : public QGroupBox {
    Q_OBJECT
public:
    // The buttons are named after the group: "<name>_0", "<name>_1", ...
    TRadioGroup(const QString& name, const QString& title, const QStringList& items,
                QWidget* parent = nullptr);

    int ItemIndex() const;
    void SetItemIndex(int index);
    int Count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* Button(int index) const { return buttons_.value(index); }

signals:
    // The user picked another item (by mouse or keyboard); not sent for SetItemIndex.
    void Click(int index);

private:
    QButtonGroup* group_;
    QList<QRadioButton*> buttons_;
    bool filling_ = false;
};
