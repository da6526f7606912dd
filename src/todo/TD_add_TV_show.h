// The TV show dialog: the name, date and time of a show the user wants to watch, filed by the main window
// as a timed item with the television picture.
#pragma once

#include <QDialog>

class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
struct WindowRegistry;

class TD_add_TV_show final : public QDialog {
    Q_OBJECT
public:
    explicit TD_add_TV_show(WindowRegistry& reg, QWidget* parent = nullptr);

    // Empties the name, sets today and the current time and shows the dialog modally; true when the user
    // accepted a show.
    bool ask_tv_show();
    // Blank: nothing but white space (the control characters and the space, and Unicode's white space).
    static bool is_blank_name(const QString& name);

    QFrame* Shape1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit_name = nullptr;
    QLabel* Label3 = nullptr;
    QDateEdit* DTP_date = nullptr;
    QLabel* Label4 = nullptr;
    QTimeEdit* DTP_time = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* btn_more_info = nullptr;
    QPushButton* BTN_OK = nullptr;
    QPushButton* BTN_CANCEL = nullptr;
    bool accepted = false;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Edit_nameChange();
    void BTN_OKClick();
    void btn_more_infoClick();
    void draw_picture();
    void center_on_screen();
};
