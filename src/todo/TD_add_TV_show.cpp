#include "todo/TD_add_TV_show.h"

#include "dialogs/TF_about.h"
#include "todo/ItemDaysMarker.h"
#include "todo/rules/DayKeys.h"
#include "ui/WidgetHelpers.h"
#include "ui/WindowRegistry.h"

#include <QDateEdit>
#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <QScreen>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

constexpr QSize kClientSize(511, 380);

// A television set in the colours of the item pictures, drawn on a 100 x 110 grid scaled to the size.
QPixmap draw_television(QSize size, qreal ratio) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal scale = qMin(size.width() / 100.0, size.height() / 110.0);
    p.translate((size.width() - 100 * scale) / 2, (size.height() - 110 * scale) / 2);
    p.scale(scale, scale);

    const QColor dark(0x3a, 0x22, 0x03);
    // Antennas on their base.
    p.setPen(QPen(QColor(0x55, 0x57, 0x53), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50, 30), QPointF(28, 4));
    p.drawLine(QPointF(50, 30), QPointF(74, 2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x55, 0x57, 0x53));
    p.drawEllipse(QPointF(28, 4), 3, 3);
    p.drawEllipse(QPointF(74, 2), 3, 3);
    p.setBrush(QColor(0x2e, 0x34, 0x36));
    p.drawChord(QRectF(40, 22, 20, 16), 0, 180 * 16);

    // Legs, then the wooden cabinet over their tops.
    p.setPen(QPen(dark, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 90), QPointF(13, 106));
    p.drawLine(QPointF(80, 90), QPointF(87, 106));
    QLinearGradient wood(0, 30, 0, 92);
    wood.setColorAt(0, QColor(0xc1, 0x7d, 0x11));
    wood.setColorAt(1, QColor(0x8f, 0x59, 0x02));
    p.setPen(QPen(dark, 2));
    p.setBrush(wood);
    p.drawRoundedRect(QRectF(5, 30, 90, 62), 6, 6);

    // The screen with its glow and a reflection.
    QRadialGradient glow(QPointF(38, 56), 34);
    glow.setColorAt(0, QColor(0x72, 0x9f, 0xcf));
    glow.setColorAt(0.7, QColor(0x34, 0x65, 0xa4));
    glow.setColorAt(1, QColor(0x20, 0x4a, 0x87));
    p.setPen(QPen(QColor(0x1a, 0x3a, 0x66), 2));
    p.setBrush(glow);
    p.drawRoundedRect(QRectF(12, 37, 58, 48), 8, 8);
    QPainterPath shine;
    shine.moveTo(18, 52);
    shine.quadTo(19, 43, 30, 42);
    p.setPen(QPen(QColor(0xa8, 0xc8, 0xeb), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shine);

    // Knobs and the speaker.
    p.setPen(QPen(QColor(0xce, 0x5c, 0x00), 1.5));
    p.setBrush(QColor(0xfc, 0xaf, 0x3e));
    p.drawEllipse(QPointF(83, 46), 4.5, 4.5);
    p.drawEllipse(QPointF(83, 59), 4.5, 4.5);
    p.setPen(QPen(dark, 1.5));
    for (qreal y = 70; y <= 82; y += 4)
        p.drawLine(QPointF(77, y), QPointF(89, y));
    return pixmap;
}

QLabel* make_field_label(const char* name, const QString& text, QWidget* buddy, QWidget* parent) {
    QLabel* label = make_label(name, text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TD_add_TV_show::TD_add_TV_show(WindowRegistry& reg, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TD_add_TV_show"));
    setWindowTitle(QStringLiteral("TV show"));
    setModal(true);

    Shape1 = named(new QFrame(this), "Shape1");
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setFrameShadow(QFrame::Sunken);
    Shape1->setAutoFillBackground(true);
    Shape1->setBackgroundRole(QPalette::Base);
    Image1 = named(new QLabel(Shape1), "Image1");
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setMinimumSize(100, 110);
    Image1->setAccessibleName(QStringLiteral("Television"));
    auto* pictureLayout = new QVBoxLayout(Shape1);
    pictureLayout->setContentsMargins(8, 8, 8, 8);
    pictureLayout->addWidget(Image1);
    Shape1->setFixedWidth(116);

    Label1 = make_label("Label1", QStringLiteral("Must be seen:"), this);
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setItalic(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    Label1->setFont(heading);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label1->setPalette(red);

    Edit_name = named(new QLineEdit(this), "Edit_name");
    Label2 = make_field_label("Label2", QStringLiteral("Show name:"), Edit_name, this);
    DTP_date = named(new QDateEdit(this), "DTP_date");
    DTP_date->setCalendarPopup(true);
    DTP_date->setDisplayFormat(day_key_format());
    DTP_date->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    ItemDaysMarker::Attach(reg.list, DTP_date->calendarWidget());
    Label3 = make_field_label("Label3", QStringLiteral("Show date:"), DTP_date, this);
    DTP_time = named(new QTimeEdit(this), "DTP_time");
    DTP_time->setDisplayFormat(QLocale().timeFormat(QLocale::ShortFormat));
    Label4 = make_field_label("Label4", QStringLiteral("Show time:"), DTP_time, this);

    GroupBox1 = named(new QGroupBox(QStringLiteral("SATELLITE TV SYSTEM"), this), "GroupBox1");
    Label5 = make_label("Label5",
                        QStringLiteral("Get FREE INSTALLATION of a SATELLITE TV SYSTEM\n"
                                       "There is no equipment to buy."),
                        GroupBox1);
    QFont bold = Label5->font();
    bold.setBold(true);
    Label5->setFont(bold);
    btn_more_info = make_button("btn_more_info", QStringLiteral("More info..."), GroupBox1);
    btn_more_info->setAutoDefault(false);
    auto* adLayout = new QVBoxLayout(GroupBox1);
    adLayout->addWidget(Label5);
    adLayout->addWidget(btn_more_info, 0, Qt::AlignRight);

    BTN_OK = make_button("BTN_OK", QStringLiteral("Ok"), this);
    BTN_OK->setDefault(true);
    BTN_CANCEL = make_button("BTN_CANCEL", QStringLiteral("Cancel"), this);

    auto* fields = new QGridLayout;
    fields->addWidget(Label2, 0, 0);
    fields->addWidget(Edit_name, 0, 1, 1, 2);
    fields->addWidget(Label3, 1, 0);
    fields->addWidget(DTP_date, 1, 1);
    fields->addWidget(Label4, 2, 0);
    fields->addWidget(DTP_time, 2, 1);
    fields->setColumnStretch(2, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(Label1);
    right->addSpacing(6);
    right->addLayout(fields);
    right->addSpacing(6);
    right->addWidget(GroupBox1);
    right->addStretch(1);
    right->addLayout(button_row({BTN_OK, BTN_CANCEL}, RowAlign::Right));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(Shape1);
    layout->addLayout(right, 1);

    set_tab_order({Edit_name, DTP_date, DTP_time, btn_more_info, BTN_OK, BTN_CANCEL});

    connect(Edit_name, &QLineEdit::textChanged, this, &TD_add_TV_show::Edit_nameChange);
    connect(BTN_OK, &QPushButton::clicked, this, &TD_add_TV_show::BTN_OKClick);
    connect(BTN_CANCEL, &QPushButton::clicked, this, &QDialog::reject);
    connect(btn_more_info, &QPushButton::clicked, this, &TD_add_TV_show::btn_more_infoClick);

    // The given size, or more where a large font needs it.
    setFixedSize(sizeHint().expandedTo(kClientSize));
    BTN_OK->setEnabled(false);
}

bool TD_add_TV_show::ask_tv_show() {
    try {
        Edit_name->clear();
        BTN_OK->setEnabled(false);
        accepted = false;
        DTP_date->setDate(QDate::currentDate());
        DTP_time->setTime(QTime::currentTime());
        center_on_screen();
        Edit_name->setFocus();
        exec();
    } catch (const std::exception&) {
        // Whatever went wrong, the answer so far stands.
    }
    return accepted;
}

bool TD_add_TV_show::is_blank_name(const QString& name) {
    for (const QChar c : name)
        if (c.unicode() > 32 && !c.isSpace()) return false;
    return true;
}

void TD_add_TV_show::Edit_nameChange() {
    BTN_OK->setEnabled(!is_blank_name(Edit_name->text()));
}

void TD_add_TV_show::BTN_OKClick() {
    if (!BTN_OK->isEnabled()) return;
    accepted = true;
    accept();
}

// A missing browser is not worth a message.
void TD_add_TV_show::btn_more_infoClick() {
    QDesktopServices::openUrl(TF_about::MakerPage());
}

void TD_add_TV_show::showEvent(QShowEvent* event) {
    draw_picture();
    QDialog::showEvent(event);
}

// Drawn for the screen the dialog is on, so it stays sharp at any scale.
void TD_add_TV_show::draw_picture() {
    Image1->setPixmap(draw_television(Image1->contentsRect().size(), devicePixelRatioF()));
}

void TD_add_TV_show::center_on_screen() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}
