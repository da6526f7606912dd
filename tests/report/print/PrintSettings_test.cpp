#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "app/TD_settings_user.h"
#include "report/TO_settings_print.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QPushButton>

#include <functional>

namespace {

// An element's attributes as "NAME=value NAME=value".
std::string Attrs(const TNoxPigger& e) {
    std::string out;
    for (const auto& [name, value] : e.Attributes())
        out += (out.empty() ? "" : " ") + name + "=" + value;
    return out;
}

// "Face size BIUS charset".
std::string Described(const PrintFont& f) {
    return f.font.family().toStdString() + " " + std::to_string(f.font.pointSize()) + " " +
           (f.font.bold() ? "B" : "") + (f.font.italic() ? "I" : "") + (f.font.underline() ? "U" : "") +
           (f.font.strikeOut() ? "S" : "") + " " + std::to_string(f.charset);
}

class PrintSettings : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Create(ProgramWindows::SettingsDialog | ProgramWindows::Msg);
        frame = program->PrintSettingsFrame();
    }
    TNoxPigger& Area(int index) { return *frame->AreaElement(index); }
    std::string Font(int area) { return Attrs(*TO_settings_print::FontElement(Area(area))); }
    std::string Sample() const {
        return Described({frame->Label_font->font(), frame->CB_charset->currentIndex()}) + " " +
               frame->SampleTextColor().name().toStdString() + " on " +
               frame->SampleBackground().name().toStdString();
    }
    template <class Chooser> static void Choose(QPushButton* button, std::function<void(Chooser&)> pick) {
        ModalAnswer answer([&](QWidget* d) {
            auto* chooser = qobject_cast<Chooser*>(d);
            ASSERT_TRUE(chooser);
            if (!pick) return chooser->reject();
            pick(*chooser);
            chooser->accept();
        });
        button->click();
    }

    TO_settings_print* frame = nullptr;
};

TEST_F(PrintSettings, ThePrintPageShowsTheFrameAndAttachingLeavesTheHeaderWithAnEmptyFont) {
    ExpectControls(*frame, {{"Label1", "Print settings for:"},
                            {"Label_font", "Font example"},
                            {"Btn_font", "Font"},
                            {"text_color", "Text color"},
                            {"btn_bg_color", "BG color"},
                            {"Label_charset", "Character set:"}});
    EXPECT_EQ(frame->parentWidget(), reg().settingsDialog->TabSheet_print);
    EXPECT_EQ(frame->objectName(), "O_settings_print1");
    EXPECT_EQ(frame->Label1->buddy(), frame->CB_area);
    EXPECT_EQ(frame->Label_charset->buddy(), frame->CB_charset);
    EXPECT_EQ(frame->CB_area->count(), 4);
    EXPECT_EQ(frame->CB_area->itemText(2), "DETAIL_HEADER");
    EXPECT_EQ(frame->CB_charset->count(), 18);
    EXPECT_EQ(Sample(), "MS Sans Serif 8  1 #000000 on #ffffff") << "DEFAULT is the second character set";
    EXPECT_EQ(
        reg().settings.PrintSettingsElement()->GetText(),
        "\r\n\t<PRINT_SETTINGS>\r\n\t\t<HEADER>\r\n\t\t\t<FONT/>\r\n\t\t</HEADER>\r\n\t</PRINT_SETTINGS>");
}

TEST_F(PrintSettings, FontsAreReadWithTheirDefaultsAndWrittenWithoutWhatTheyLack) {
    using Attributes = std::vector<std::pair<std::string, std::string>>;
    for (const auto& [attrs, read] : std::vector<std::pair<Attributes, std::string>>{
             {{}, "Times 8  1"},
             {{{"FACE", "Arial"}, {"SIZE", "12"}, {"BOLD", "YES"}, {"ITALIC", "yes"}}, "Arial 12 BI 1"},
             {{{"SIZE", "abc"}, {"UNDERLINE", "Y"}, {"STRIKEOUT", "Yes"}, {"CHARSET", "russian"}},
              "Times 8 S 204"},
             {{{"FACE", ""}, {"SIZE", "0"}, {"CHARSET", "KLINGON"}}, "Times 8  1"},
             {{{"SIZE", "100000"}}, "Times 8  1"}}) {
        TNoxPigger element;
        for (const auto& [name, value] : attrs)
            element.AppendAttr(name, value);
        PrintFont font{QFont(QStringLiteral("Times")), 77};
        TO_settings_print::ReadFont(element, font);
        EXPECT_EQ(Described(font), read) << Attrs(element);
    }

    TNoxPigger element;
    QFont font(QStringLiteral("Arial"), 12);
    font.setBold(true);
    TO_settings_print::WriteFont(element, {font, 1});
    EXPECT_EQ(Attrs(element), "FACE=Arial SIZE=12 BOLD=YES");
    font.setBold(false);
    TO_settings_print::WriteFont(element, {font, 204});
    EXPECT_EQ(Attrs(element), "FACE=Arial SIZE=12 CHARSET=RUSSIAN") << "a regular font removes BOLD";
    for (auto style : {&QFont::setBold, &QFont::setItalic, &QFont::setUnderline, &QFont::setStrikeOut})
        (font.*style)(true);
    TO_settings_print::WriteFont(element, {font, 3});
    EXPECT_EQ(Attrs(element), "FACE=Arial SIZE=12 BOLD=YES ITALIC=YES UNDERLINE=YES STRIKEOUT=YES")
        << "a character set without a name goes like the default one";
    EXPECT_EQ(TO_settings_print::ColorToText(QColor(5, 0, 255)), "#0500FF");
}

TEST_F(PrintSettings, TheChoosersWriteIntoTheChosenAreaAtOnceAndCancellingChangesNothing) {
    const QStringList families = QFontDatabase::families();
    const QString face = families.contains("DejaVu Sans") ? QStringLiteral("DejaVu Sans") : families.value(0);
    const std::string header = "FACE=" + face.toStdString() + " SIZE=12 BOLD=YES";
    Choose<QFontDialog>(frame->Btn_font, [&](QFontDialog& d) {
        QFont bold(face, 12);
        bold.setBold(true);
        d.setCurrentFont(bold);
    });
    EXPECT_EQ(Font(0), header);
    EXPECT_EQ(Sample(), face.toStdString() + " 12 B 1 #000000 on #ffffff");
    Choose<QFontDialog>(frame->Btn_font, {});
    EXPECT_EQ(Font(0), header);

    frame->CB_area->setCurrentIndex(1);
    EXPECT_EQ(Sample(), "MS Sans Serif 8  1 #000000 on #ffffff") << "another area's face is not shown here";
    Choose<QColorDialog>(frame->text_color, [](QColorDialog& d) { d.setCurrentColor(QColor(5, 0, 255)); });
    Choose<QColorDialog>(frame->btn_bg_color, [](QColorDialog& d) { d.setCurrentColor(Qt::yellow); });
    Choose<QColorDialog>(frame->text_color, {});
    EXPECT_EQ(Attrs(Area(1)), "COLOR=#0500FF BGCOLOR=#FFFF00");
    EXPECT_EQ(Sample(), "MS Sans Serif 8  1 #0500ff on #ffff00");
    for (const auto& [name, stored] : {std::pair{"RUSSIAN", "CHARSET=RUSSIAN"}, std::pair{"DEFAULT", ""}}) {
        frame->CB_charset->setCurrentText(name);
        emit frame->CB_charset->activated(frame->CB_charset->currentIndex());
        EXPECT_EQ(Font(1), stored);
    }
    frame->AttachPrintSettings(reg().settings.PrintSettingsElement());
    EXPECT_EQ(frame->CB_area->currentIndex(), 0) << "the first area after every attach";
}

} // namespace
