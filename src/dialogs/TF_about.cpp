#include "dialogs/TF_about.h"

#include "ui/ItemImages.h"
#include "ui/WidgetHelpers.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
void make_red(QLabel* label) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(p);
}
} // namespace

TF_about::TF_about(WindowRegistry&, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TF_about"));
    setWindowTitle(QStringLiteral("About"));

    Panel_icon = named(new QFrame(this), "Panel_icon");
    Panel_icon->setFrameShape(QFrame::Box);
    Panel_icon->setFrameShadow(QFrame::Sunken);
    Panel_icon->setFixedSize(56, 56);
    Image_icon = named(new QLabel(Panel_icon), "Image_icon");
    Image_icon->setAlignment(Qt::AlignCenter);
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) icon = app_icon();
    Image_icon->setPixmap(icon.pixmap(32, 32));
    auto* iconLayout = new QVBoxLayout(Panel_icon);
    iconLayout->setContentsMargins(0, 0, 0, 0);
    iconLayout->addWidget(Image_icon);

    Label_name = make_label("Label_name", QStringLiteral("Quillmarch"), this);
    QFont big = Label_name->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.8);
    Label_name->setFont(big);

    Label_version = make_label("Label_version", QStringLiteral("v 1.5.3"), this);
    QFont bold = Label_version->font();
    bold.setBold(true);
    Label_version->setFont(bold);
    make_red(Label_version);

    Label_edition = make_label("Label_edition", QStringLiteral("Freeware edition"), this);
    QFont italic = Label_edition->font();
    italic.setItalic(true);
    Label_edition->setFont(italic);

    Label_link = make_label("Label_link", MakerPage().toString(), this);
    make_red(Label_link);
    Label_link->setCursor(Qt::PointingHandCursor);
    Label_link->installEventFilter(this);

    Btn_ok = make_button("Btn_ok", QStringLiteral("Ok"), this);
    Btn_ok->setDefault(true);
    connect(Btn_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* versionLine = new QHBoxLayout;
    versionLine->addWidget(Label_version);
    versionLine->addSpacing(8);
    versionLine->addWidget(Label_edition);
    versionLine->addStretch(1);

    auto* texts = new QVBoxLayout;
    texts->addWidget(Label_name);
    texts->addLayout(versionLine);
    texts->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(Panel_icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    QHBoxLayout* buttons = button_row({Btn_ok}, RowAlign::Center);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addWidget(Label_link, 0, Qt::AlignHCenter);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QUrl TF_about::MakerPage() {
    return QUrl(QStringLiteral("https://quillmarch.example.org/"));
}

void TF_about::ShowAbout() {
    Btn_ok->setFocus();
    exec();
}

bool TF_about::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label_link && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // A click is a release over the link; moving off it first takes the click back.
        if (Label_link->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
            Label_linkClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// A missing browser is no reason to bother the user; the shell reports nothing either.
void TF_about::Label_linkClick() {
    QDesktopServices::openUrl(MakerPage());
}
