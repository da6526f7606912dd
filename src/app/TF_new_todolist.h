// The question before a new to-do list is started, with the file it will be kept in.
#pragma once

#include "dialogs/TFsure.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TF_new_todolist final : public TFsure {
    Q_OBJECT
public:
    explicit TF_new_todolist(WindowRegistry& reg, QWidget* parent = nullptr);

    // The file for the new list, or the empty string when the user said "No".
    QString AskNewFileName();
    // "../dat/todo-<today with - for . / \>.dat".
    static QString ProposedFileName();

    QLabel* Label_file = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* SB_file_name = nullptr;
    QPushButton* Btn_help = nullptr;

    // The save dialog behind "Change..."; tests replace it. Gets the current name, gives the chosen one
    // or the empty string.
    std::function<QString(const QString&)> ChooseFile;

private:
    void SB_file_nameClick();
};
