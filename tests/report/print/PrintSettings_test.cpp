#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "app/TD_settings_user.h"
#include "report/TD_print.h"
#include "report/TO_settings_print.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The attributes of an element as "NAME=value NAME=value".
std::string Attrs(const TNoxPigger& e) {
    std::string out;
    for (const auto& [name, value] : e.Attributes())
        out += (out.empty() ? "" : " ") + name + "=" + value;
    return out;
}

std::string Children(const TNoxPigger& e) {
    std::string out;
    for (const TNoxPigger* child : e.Children())
        out += (out.empty() ? "" : " ") + child->TagName();
    return out;
}

// A font as "Face size BIUS charset".
std::string Described(const PrintFont& f) {
    return f.font.family().toStdString() + " " + std::to_string(f.font.pointSize()) + " " +
           (f.font.bold() ? "B" : "") + (f.font.italic() ? "I" : "") + (f.font.underline() ? "U" : "") +
           (f.font.strikeOut() ? "S" : "") + " " + std::to_string(f.charset);
}

class PrintSettings : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Create(ProgramWindows::SettingsDialog | ProgramWindows::Msg | ProgramWindows::Print);
        frame = program->PrintSettingsFrame();
    }
    TNoxPigger& Element() { return *reg().settings.PrintSettingsElement(); }
    TNoxPigger& Font(int area) { return *TO_settings_print::FontElement(*frame->AreaElement(area)); }
    std::string Sample() const {
        return Described({frame->Label_font->font(), 0}) + " " +
               frame->SampleTextColor().name().toStdString() + " on " +
               frame->SampleBackground().name().toStdString();
    }

    TO_settings_print* frame = nullptr;
};

TEST_F(PrintSettings, ThePrintPageShowsTheFrameAndAttachingLeavesAHeaderWithAnEmptyFont) {
    ExpectControls(*frame, {{"Label1", "Print settings for:"},
                            {"Label_font", "Font example"},
                            {"Btn_font", "Font"},
                            {"text_color", "Text color"},
                            {"btn_bg_color", "BG color"},
                            {"Label_charset", "Character set:"}});
    EXPECT_EQ(frame->objectName(), "O_settings_print1");
    EXPECT_EQ(frame->parentWidget(), reg().settingsDialog->TabSheet_print);
    EXPECT_EQ(frame->Label1->buddy(), frame->CB_area);
    EXPECT_EQ(frame->Label_charset->buddy(), frame->CB_charset);
    QStringList areas;
    for (int i = 0; i < frame->CB_area->count(); ++i)
        areas << frame->CB_area->itemText(i);
    EXPECT_EQ(areas, QStringList({"HEADER", "TEXT", "DETAIL_HEADER", "DETAIL_TEXT"}));
    EXPECT_FALSE(frame->CB_area->isEditable());
    EXPECT_EQ(frame->CB_charset->count(), 18);
    EXPECT_EQ(frame->CB_charset->currentText(), "DEFAULT");
    EXPECT_EQ(Sample(), "MS Sans Serif 8  0 #000000 on #ffffff");
    EXPECT_EQ(Children(Element()), "HEADER");
    EXPECT_EQ(Children(*Element().Child(0)), "FONT");
    EXPECT_EQ(Attrs(Font(0)), "");
}

TEST_F(PrintSettings, FontsAreReadWithTheirDefaultsAndWrittenWithoutWhatTheyLack) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> attrs;
        const char* read;
    };
    const Case cases[] = {
        {{}, "Times 8  1"},
        {{{"FACE", "Arial"}, {"SIZE", "12"}, {"BOLD", "YES"}, {"ITALIC", "yes"}}, "Arial 12 BI 1"},
        {{{"SIZE", "abc"}, {"UNDERLINE", "Y"}, {"STRIKEOUT", "Yes"}, {"CHARSET", "russian"}},
         "Times 8 S 204"},
        {{{"FACE", ""}, {"SIZE", "0"}, {"CHARSET", "KLINGON"}}, "Times 8  1"},
        {{{"SIZE", "100000"}, {"CHARSET", "DEFAULT"}}, "Times 8  1"},
    };
    for (const Case& c : cases) {
        TNoxPigger element;
        element.SetTagName("FONT");
        for (const auto& [name, value] : c.attrs)
            element.AppendAttr(name, value);
        PrintFont font{QFont(QStringLiteral("Times")), 77};
        TO_settings_print::ReadFont(element, font);
        EXPECT_EQ(Described(font), c.read) << Attrs(element);
    }

    TNoxPigger element;
    QFont bold(QStringLiteral("Arial"), 12);
    bold.setBold(true);
    TO_settings_print::WriteFont(element, {bold, 1});
    EXPECT_EQ(Attrs(element), "FACE=Arial SIZE=12 BOLD=YES");
    TO_settings_print::WriteFont(element, {QFont(QStringLiteral("Arial"), 12), 204});
    EXPECT_EQ(Attrs(element), "FACE=Arial SIZE=12 CHARSET=RUSSIAN") << "a regular font removes BOLD";
    QFont all(QStringLiteral("Courier"), 9);
    for (auto set : {&QFont::setBold, &QFont::setItalic, &QFont::setUnderline, &QFont::setStrikeOut})
        (all.*set)(true);
    TO_settings_print::WriteFont(element, {all, 3});
    EXPECT_EQ(Attrs(element), "FACE=Courier SIZE=9 BOLD=YES ITALIC=YES UNDERLINE=YES STRIKEOUT=YES")
        << "a character set without a name is removed like the default one";
    EXPECT_EQ(TO_settings_print::ColorToText(QColor(5, 0, 255)), "#0500FF");
}

TEST_F(PrintSettings, TheChoosersWriteIntoTheChosenAreaAtOnceAndCancellingChangesNothing) {
    const QStringList families = QFontDatabase::families();
    const QString face = families.contains("DejaVu Sans") ? QStringLiteral("DejaVu Sans") : families.value(0);
    ASSERT_FALSE(face.isEmpty());
    {
        ModalAnswer answer([&](QWidget* d) {
            auto* chooser = qobject_cast<QFontDialog*>(d);
            ASSERT_TRUE(chooser);
            QFont chosen(face, 12);
            chosen.setBold(true);
            chooser->setCurrentFont(chosen);
            chooser->accept();
        });
        frame->Btn_font->click();
    }
    EXPECT_EQ(Attrs(Font(0)), "FACE=" + face.toStdString() + " SIZE=12 BOLD=YES");
    EXPECT_EQ(Sample(), face.toStdString() + " 12 B 0 #000000 on #ffffff");
    {
        ModalAnswer answer([](QWidget* d) { qobject_cast<QDialog*>(d)->reject(); });
        frame->Btn_font->click();
    }
    EXPECT_EQ(Attrs(Font(0)), "FACE=" + face.toStdString() + " SIZE=12 BOLD=YES");

    frame->CB_area->setCurrentIndex(1);
    EXPECT_EQ(Sample(), "MS Sans Serif 8  0 #000000 on #ffffff") << "another area's face is not shown";
    for (const auto& [button, color, attrs] :
         {std::tuple{frame->text_color, QColor(5, 0, 255), "COLOR=#0500FF"},
          std::tuple{frame->btn_bg_color, QColor(Qt::yellow), "COLOR=#0500FF BGCOLOR=#FFFF00"}}) {
        ModalAnswer answer([&](QWidget* d) {
            auto* chooser = qobject_cast<QColorDialog*>(d);
            ASSERT_TRUE(chooser);
            chooser->setCurrentColor(color);
            chooser->accept();
        });
        button->click();
        EXPECT_EQ(Attrs(*frame->AreaElement(1)), attrs);
    }
    EXPECT_EQ(Sample(), "MS Sans Serif 8  0 #0500ff on #ffff00");
    {
        ModalAnswer answer([](QWidget* d) { qobject_cast<QDialog*>(d)->reject(); });
        frame->text_color->click();
    }
    EXPECT_EQ(Attrs(*frame->AreaElement(1)), "COLOR=#0500FF BGCOLOR=#FFFF00");

    for (const auto& [name, stored] : {std::pair{"RUSSIAN", "CHARSET=RUSSIAN"}, std::pair{"DEFAULT", ""}}) {
        const int i = frame->CB_charset->findText(name);
        frame->CB_charset->setCurrentIndex(i);
        emit frame->CB_charset->activated(i);
        EXPECT_EQ(Attrs(Font(1)), stored);
    }
    EXPECT_EQ(Children(Element()), "HEADER TEXT");
    frame->AttachPrintSettings(&Element());
    EXPECT_EQ(frame->CB_area->currentIndex(), 0) << "the first area after every attach";
}

TEST_F(PrintSettings, ApplyingStylesTheFourTemplatesWithTheFaceOfTheAreaBeforeWhereOneHasNone) {
    Element().SetText(
        "<PRINT_SETTINGS><TEXT BGCOLOR=\"yellow\"><FONT SIZE=\"10\" ITALIC=\"YES\"/></TEXT>"
        "<HEADER COLOR=\"#0500FF\"><FONT FACE=\"Arial\" SIZE=\"14\"/></HEADER></PRINT_SETTINGS>");
    TD_print& print = *program->PrintWindow();
    TO_settings_print::ApplyPrintSettings(Element(), print);
    EXPECT_EQ(Children(Element()), "TEXT HEADER DETAIL_HEADER DETAIL_TEXT");
    const std::pair<QWidget*, const char*> expected[] = {
        {print.Label_title, "Arial 14  0 #0500ff on #ffffff"},
        {print.CB_label, "Arial 10 I 0 #000000 on #ffff00"},
        {print.Label_memo_title, "Arial 8  0 #000000 on #ffffff"},
        {print.Memo1, "Arial 8  0 #000000 on #ffffff"}};
    for (const auto& [control, look] : expected) {
        SCOPED_TRACE(control->objectName().toStdString());
        const QPalette& p = control->palette();
        EXPECT_EQ(Described({control->font(), 0}) + " " +
                      p.color(control->foregroundRole()).name().toStdString() + " on " +
                      p.color(control->backgroundRole()).name().toStdString(),
                  look);
        EXPECT_TRUE(control->autoFillBackground()) << "the report writes its background";
    }
    EXPECT_EQ(print.Memo1->palette().color(QPalette::Base), QColor(Qt::white));
}

} // namespace
