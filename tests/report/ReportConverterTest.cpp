// Panels of widgets written as report markup, byte for byte.
#include "report/TDataStream.h"
#include "report/TReportConverter.h"
#include "report/TZippedBitmap.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Every line of the text that holds the mark, from the mark on.
std::string Lines(const std::string& text, const std::string& mark) {
    std::string out;
    for (size_t at = text.find(mark); at != std::string::npos;) {
        const size_t end = text.find("\r\n", at);
        out += text.substr(at, end - at) + "\n";
        at = end == std::string::npos ? end : text.find(mark, end);
    }
    return out;
}

class ReportConverterTest : public ::testing::Test {
protected:
    void SetUp() override {
        converter.SetPixelsPerInch(96, 96);
        // The panel's children take Arial 10, black on white, from it.
        QPalette p;
        for (auto role : {QPalette::Window, QPalette::Button, QPalette::Base})
            p.setColor(role, Qt::white);
        for (auto role : {QPalette::WindowText, QPalette::Text})
            p.setColor(role, Qt::black);
        panel.setPalette(p);
        panel.setFont(QFont(QStringLiteral("Arial"), 10));
    }

    // A child of the panel, painting its own background or not.
    template <class W> W* Add(const QString& text, QRect geometry, bool ownBackground = false) {
        W* w = nullptr;
        if constexpr (std::is_constructible_v<W, QString, QWidget*>)
            w = new W(text, &panel);
        else
            w = new W(&panel);
        w->setGeometry(geometry);
        w->setAutoFillBackground(ownBackground);
        return w;
    }

    std::string Control(const QWidget& control) {
        TDataStream buffer;
        converter.AddControl(control, buffer);
        return std::string(buffer.View());
    }

    std::string Report() {
        TDataStream buffer;
        converter.BeginReport(buffer);
        converter.AddPanel(panel, buffer);
        converter.EndReport(buffer);
        return buffer.Extract(0);
    }

    TReportConverter converter;
    QWidget panel;
};

} // namespace

TEST_F(ReportConverterTest, LabelsAreWrittenAsTheExampleLine) {
    auto* label = Add<QLabel>(QStringLiteral("Description:"), QRect(28, 0, 70, 13), true);
    label->setFont(QFont(QStringLiteral("Arial"), 10, QFont::Normal, true));
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    EXPECT_EQ(Control(*label),
              "<LABEL TEXT=\"Description:\" ALIGNMENT=\"LEFT\"  LEFT=\"7.41\" TOP=\"0.26\" "
              "HEIGHT=\"3.44\"  FONT=\"Arial10I\"  BGCOLOR=\"#FFFFFF\" COLOR=\"#000000\"/>\r\n");

    // One that keeps its width, wraps, is centred and shows its parent's colour.
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setAutoFillBackground(false);
    EXPECT_EQ(Control(*label),
              "<LABEL TEXT=\"Description:\" ALIGNMENT=\"CENTER\"  LEFT=\"7.41\" TOP=\"0.26\" "
              "HEIGHT=\"3.44\" WIDTH=\"18.52\"  FONT=\"Arial10I\" WORDWRAP=\"YES\"  "
              "COLOR=\"#000000\"/>\r\n");
    // Filling with a transparent brush paints nothing: no background either.
    label->setAutoFillBackground(true);
    QPalette clear = label->palette();
    clear.setColor(QPalette::Window, Qt::transparent);
    label->setPalette(clear);
    EXPECT_EQ(Control(*label).find("BGCOLOR"), std::string::npos);
}

TEST_F(ReportConverterTest, AWholeReportHasBodyHeadFontsAndBothBoxPictures) {
    auto* box = Add<QCheckBox>(QStringLiteral("Buy milk"), QRect(2, 3, 118, 17));
    box->setFont(QFont(QStringLiteral("Arial"), 10, QFont::Bold));
    box->setChecked(true);
    Add<QLabel>(QStringLiteral("10:30"), QRect(0, 20, 40, 13))
        ->setFont(QFont(QStringLiteral("Arial"), 10, QFont::Normal, true));
    const std::string expected =
        "<REPORT>\r\n<BODY>\r\n<band arrange=\"vertical\" left=\"0\">\r\n"
        // Labels first, though the box was made before it.
        "<LABEL TEXT=\"10:30\" ALIGNMENT=\"LEFT\"  LEFT=\"0.00\" TOP=\"5.56\" HEIGHT=\"3.44\" "
        "WIDTH=\"10.58\"  "
        "FONT=\"Arial10I\"  COLOR=\"#000000\"/>\r\n<IMAGE NAME=\"__CHECKED\" LEFT=\"0.53\" TOP=\"0.79\"/>"
        "<LABEL TEXT=\"Buy milk\" LEFT=\"5.29\" TOP=\"0.79\" HEIGHT=\"4.50\" WIDTH=\"26.46\"  "
        "FONT=\"Arial10B\"  "
        "COLOR=\"#000000\"/>\r\n</band>\r\n</BODY>\r\n<HEAD>\r\n<PAGEFOOTER>\r\n"
        "<label text=\"Page [[PAGE]] of [[PAGES]]\" align=\"center\" valign=\"top\"/>\r\n</PAGEFOOTER>\r\n"
        "\r\n\t<FONT NAME=\"Arial10I\" SIZE=\"10\" FACE=\"Arial\" CHARSET=\"RUSSIAN\" ITALIC=\"YES\"/>"
        "\r\n\t<FONT NAME=\"Arial10B\" SIZE=\"10\" FACE=\"Arial\" CHARSET=\"RUSSIAN\" "
        "BOLD=\"YES\"/></HEAD>\r\n"
        "<IMAGES>\r\n<IMAGEDATA NAME=\"__CHECKED\">" +
        std::string(FixedPictureHex(FixedPicture::Checked)) + "</IMAGEDATA><IMAGEDATA NAME=\"__UNCHECKED\">" +
        std::string(FixedPictureHex(FixedPicture::Unchecked)) + "</IMAGEDATA></IMAGES>\r\n</REPORT>\r\n";
    EXPECT_EQ(Report(), expected);
    EXPECT_EQ(converter.Fonts().ChildCount(), 0);

    // A radio button brings the two ring pictures; one that paints its own background writes it.
    delete box;
    Add<QRadioButton>(QStringLiteral("Now"), QRect(0, 0, 10, 17), true);
    const std::string report = Report();
    EXPECT_NE(report.find("<IMAGE NAME=\"__RADIO_OFF\""), std::string::npos);
    EXPECT_NE(report.find("FONT=\"Arial10\"  BGCOLOR=\"#FFFFFF\" COLOR"), std::string::npos);
    EXPECT_NE(report.find("<IMAGES>\r\n<IMAGEDATA NAME=\"__RADIO_ON\">" +
                          std::string(FixedPictureHex(FixedPicture::RadioOn)) +
                          "</IMAGEDATA><IMAGEDATA NAME=\"__RADIO_OFF\">"),
              std::string::npos);
}

TEST_F(ReportConverterTest, HiddenControlsAreLeftOutAndWithoutPicturesThereIsNoImagesSection) {
    Add<QLabel>(QStringLiteral("a"), QRect(0, 0, 9, 9))->hide();
    Add<QCheckBox>(QStringLiteral("b"), QRect(0, 0, 9, 9))->hide();
    EXPECT_TRUE(
        Report().ends_with("<BODY>\r\n<band arrange=\"vertical\" left=\"0\">\r\n</band>\r\n</BODY>\r\n"
                           "<HEAD>\r\n<PAGEFOOTER>\r\n<label text=\"Page [[PAGE]] of [[PAGES]]\" "
                           "align=\"center\" valign=\"top\"/>\r\n</PAGEFOOTER>\r\n</HEAD>\r\n</REPORT>\r\n"));
}

TEST_F(ReportConverterTest, FontsWithTheSameKeyInAnyCaseShareOneElement) {
    Add<QLabel>(QStringLiteral("a"), QRect(0, 0, 9, 9));
    Add<QLabel>(QStringLiteral("b"), QRect(0, 9, 9, 9))->setFont(QFont(QStringLiteral("arial"), 10));
    QFont all(QStringLiteral("Arial"), 10, QFont::Bold, true);
    all.setUnderline(true);
    all.setStrikeOut(true);
    Add<QLabel>(QStringLiteral("c"), QRect(0, 18, 9, 9))->setFont(all);
    const std::string report = Report();
    EXPECT_EQ(Lines(report, "<FONT "),
              "<FONT NAME=\"Arial10\" SIZE=\"10\" FACE=\"Arial\" CHARSET=\"RUSSIAN\"/>\n"
              "<FONT NAME=\"Arial10BIUS\" SIZE=\"10\" FACE=\"Arial\" CHARSET=\"RUSSIAN\" "
              "BOLD=\"YES\" ITALIC=\"YES\" UNDERLINE=\"YES\" STRIKEOUT=\"YES\"/></HEAD>\n");
    EXPECT_NE(report.find("FONT=\"arial10\""), std::string::npos);
}

TEST_F(ReportConverterTest, TextIsEscapedAndLengthsKeepAFullStopUnderAGermanLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string line = Control(*Add<QLabel>(QStringLiteral("a\"b<c>d%e\r\nf&g"), QRect(5, -1, 0, 13)));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(line, "<LABEL TEXT=\"a%22b%3Cc%3Ed%25e\r\nf&g\" ALIGNMENT=\"LEFT\"  LEFT=\"1.32\" TOP=\"0.00\" "
                    "HEIGHT=\"3.44\" WIDTH=\"0.00\"  FONT=\"Arial10\"  COLOR=\"#000000\"/>\r\n");
    EXPECT_EQ(FormatLength(-0.001), "0.00");
    EXPECT_EQ(FormatLength(1234.5678), "1234.57");
}

TEST_F(ReportConverterTest, LengthsOnAnExactHalfHundredthRoundUp) {
    // 12 and 108 pixels at 96 dpi are 3.175 and 28.575 mm; 36 pixels are 9.525 mm.
    auto* label = Add<QLabel>(QStringLiteral("x"), QRect(12, 11, 108, 36));
    EXPECT_NE(Control(*label).find(" LEFT=\"3.18\" TOP=\"3.18\" HEIGHT=\"9.53\" WIDTH=\"28.58\" "),
              std::string::npos);
    EXPECT_EQ(FormatLength(-3.175), "-3.18");
}

TEST_F(ReportConverterTest, ATextBoxWritesOneBandPerLaidOutLine) {
    auto* box = Add<QPlainTextEdit>(QStringLiteral("first\nsecond\n"), QRect(0, 20, 300, 61));
    const std::string band = "<band left=\"0\">\r\n<LABEL VALIGN=\"BOTTOM\" LEFT=\"0.00\" TOP=\"5.56\" "
                             "HEIGHT=\"16.14\"  FONT=\"Arial10\"  BGCOLOR=\"#FFFFFF\" COLOR=\"#000000\"";
    // The empty line after the last line break is not counted.
    EXPECT_EQ(Control(*box),
              band + " TEXT=\"first  \"/>\r\n</band>\r\n" + band + " TEXT=\"second  \"/>\r\n</band>\r\n");
    box->setPlainText(QString());
    EXPECT_EQ(Control(*box), "");

    // Long lines count as the lines the box wraps them into, at the box's width, shown or not.
    box->setPlainText(
        QStringLiteral("The quick brown fox jumps over the lazy dog and runs on through the field "
                       "until night falls.\n\nA second paragraph\tafter a blank line."));
    box->resize(120, 61);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const std::string hidden = Control(*box);
    panel.show();
    QApplication::processEvents();
    std::string shown;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        if (block.text().isEmpty()) shown += " TEXT=\"  \"/>\n";
        for (int i = 0; i < block.layout()->lineCount(); ++i) {
            const QTextLine line = block.layout()->lineAt(i);
            shown +=
                " TEXT=\"" + block.text().mid(line.textStart(), line.textLength()).toStdString() + "  \"/>\n";
        }
    }
    panel.hide();
    EXPECT_GT(std::count(shown.begin(), shown.end(), '\n'), 4);
    EXPECT_EQ(Lines(hidden, " TEXT="), shown);
}

TEST_F(ReportConverterTest, EditBoxesComboBoxesAndDatePickersAreLabels) {
    auto* edit = Add<QLineEdit>(QStringLiteral("typed <text>"), QRect(0, 0, 100, 20));
    EXPECT_EQ(Control(*edit),
              "<LABEL TEXT=\"typed %3Ctext%3E\" LEFT=\"0.00\" TOP=\"0.00\" HEIGHT=\"5.29\" "
              "WIDTH=\"26.46\"  FONT=\"Arial10\"  BGCOLOR=\"#FFFFFF\" COLOR=\"#000000\"/>\r\n");
    auto* combo = new QComboBox(&panel);
    combo->addItems({QStringLiteral("one"), QStringLiteral("two")});
    combo->setCurrentIndex(1);
    EXPECT_TRUE(Control(*combo).starts_with("<LABEL TEXT=\"two\""));
    EXPECT_TRUE(Control(*new QDateEdit(QDate(2024, 3, 9), &panel)).starts_with("<LABEL TEXT=\"3/9/24\""));
}

TEST_F(ReportConverterTest, PicturesAreDrawnIntoNumberedZippedBitmaps) {
    QPixmap red(4, 4);
    red.fill(Qt::red);
    for (const QRect& r : {QRect(8, 2, 6, 5), QRect(0, 0, 2, 2)})
        Add<QLabel>(QString(), r)->setPixmap(red);
    const std::string report = Report();
    EXPECT_EQ(Lines(report, "<IMAGE "),
              "<IMAGE NAME=\"__IMG0\" LEFT=\"2.12\" TOP=\"0.53\" HEIGHT=\"1.32\" "
              "WIDTH=\"1.59\" />\n<IMAGE NAME=\"__IMG1\" LEFT=\"0.00\" TOP=\"0.00\" "
              "HEIGHT=\"0.53\" WIDTH=\"0.53\" />\n");
    const size_t start = report.find("<IMAGEDATA NAME=\"__IMG0\">") + 25;
    const QImage image = TZippedBitmap::Decode(QByteArray::fromHex(
        QByteArray::fromStdString(report.substr(start, report.find('<', start) - start))));
    ASSERT_EQ(image.size(), QSize(6, 5));
    EXPECT_EQ(image.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(4, 0), qRgb(255, 255, 255)); // unscaled, on white
    EXPECT_NE(report.find("</IMAGEDATA><IMAGEDATA NAME=\"__IMG1\">"), std::string::npos);
}

TEST_F(ReportConverterTest, ADataGridIsATableWithBoldRowsByRecordType) {
    QStandardItemModel model(0, 3);
    model.setHorizontalHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("rec_type"), QStringLiteral("Note ")});
    for (const QString& row : {QStringLiteral("Day0"), QStringLiteral("Item1")})
        model.appendRow(
            {new QStandardItem(row.chopped(1)), new QStandardItem(row.right(1)), new QStandardItem});
    auto* view = Add<QTableView>(QString(), QRect());
    view->setModel(&model);
    view->horizontalHeader()->setFont(view->font());
    view->setColumnWidth(0, 100);
    view->setColumnHidden(1, true); // hidden, and still read for the record type
    converter.PrintOptions().SetAttr("VLINES", "Y");
    const std::string cell = "  ALIGNMENT=\"LEFT\"  WIDTH=\"26.46\"  BGCOLOR=\"#FFFFFF\" COLOR=\"#000000\"";
    EXPECT_EQ(Lines(Control(*view), "<"),
              "<band left=\"0\" tablehead=\"YES\" border-bottom=\"0.25\">\n<LABEL VALIGN=\"BOTTOM\" "
              "TEXT=\"Name  \" "
              "FONT=\"Arial10\"" +
                  cell +
                  "/>\n</band>\n<band left=\"0\">\n<LABEL VALIGN=\"BOTTOM\" TEXT=\"Day  \" "
                  "FONT=\"Arial10B\"" +
                  cell +
                  " BORDER-RIGHT=\"0.25\"/>\n</band>\n<band left=\"0\">\n"
                  "<LABEL VALIGN=\"BOTTOM\" TEXT=\"Item  \" FONT=\"Arial10\"" +
                  cell + " BORDER-RIGHT=\"0.25\"/>\n</band>\n<tableend/>\n");
}
