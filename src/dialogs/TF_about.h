// The about box: program name, version, edition and a link to the maker's web page.
#pragma once

#include <QDialog>
#include <QUrl>

struct WindowRegistry;
class QFrame;
class QLabel;
class QPushButton;

class TF_about final : public QDialog {
    Q_OBJECT
public:
    explicit TF_about(WindowRegistry& reg, QWidget* parent = nullptr);

    void ShowAbout();
    static QUrl MakerPage();

    QFrame* Panel_icon = nullptr;
    QLabel* Image_icon = nullptr;
    QLabel* Label_name = nullptr;
    QLabel* Label_version = nullptr;
    QLabel* Label_edition = nullptr;
    QLabel* Label_link = nullptr;
    QPushButton* Btn_ok = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Label_linkClick();
};
