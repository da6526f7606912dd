#include "ControlTable.h"
#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "hourgrid/TFhour_grid.h"
#include "report/TD_print.h"
#include "report/TD_print_hour_grid.h"
#include "report/TReportConverter.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <regex>
#include <sstream>

namespace {

// The report's body in short: [...] a panel; x or o a ticked or empty box before an item's text; | between
// the texts of one panel (the description's heading and its lines).
std::string Outline(const std::string& report) {
    static const std::regex token(R"re(<band arrange|<band left|</band>|"__(UN)?CHECKED"|TEXT="([^"]*)")re");
    const size_t begin = report.find("<BODY>"), end = report.find("</BODY>");
    if (begin == std::string::npos || end == std::string::npos) return "<no body>";
    const std::string body = report.substr(begin, end - begin);
    std::string out;
    std::vector<bool> panels;
    bool apart = false;
    for (auto it = std::sregex_iterator(body.begin(), body.end(), token); it != std::sregex_iterator();
         ++it) {
        const std::string match = (*it)[0];
        if (match == "<band arrange") {
            out += "[";
            panels.push_back(true);
            apart = false;
        } else if (match == "<band left") {
            panels.push_back(false);
        } else if (match == "</band>") {
            if (!panels.empty() && panels.back()) out += "]";
            if (!panels.empty()) panels.pop_back();
        } else if (match[0] == '"') {
            out += std::string(apart ? "|" : "") + ((*it)[1].matched ? "o " : "x ");
            apart = false;
        } else {
            std::string text = (*it)[2];
            if (text.ends_with("  ")) text.resize(text.size() - 2);
            out += (apart ? "|" : "") + text;
            apart = true;
        }
    }
    return out;
}

std::string Children(const TNoxPigger& e) {
    std::string out;
    for (const TNoxPigger* child : e.Children())
        out += (out.empty() ? "" : " ") + child->TagName();
    return out;
}

// The controls of a window that Tab reaches, in its order, among the named ones.
QStringList TabChain(QWidget* first, const QStringList& names) {
    QStringList chain;
    QWidget* w = first;
    for (int guard = 0; w && guard < 200 && chain.size() < names.size(); ++guard, w = w->nextInFocusChain())
        if (names.contains(w->objectName()) && !chain.contains(w->objectName())) chain << w->objectName();
    return chain;
}

class PrintDialogs : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        ReportConverter().SetPixelsPerInch(96, 96);
        ASSERT_TRUE(QDir(folder.path()).mkdir("tmp"));
        savedTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(Path("tmp")));
        qputenv("QM_STANDIN_LOG", QFile::encodeName(Path("log")));
        qputenv("QM_STANDIN_COPY", QFile::encodeName(Path("copy.r")));
        qputenv("QM_STANDIN_BUSY", "3");
        Open(ProgramWindows::SettingsDialog | ProgramWindows::Msg | ProgramWindows::Print |
             ProgramWindows::HourGrid | ProgramWindows::PrintHourGrid);
    }
    void TearDown() override {
        if (savedTmp.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", savedTmp);
        ProgramFixture::TearDown();
    }
    void Open(unsigned windows) {
        Create(windows);
        print = program->PrintWindow();
        gridPrint = program->PrintHourGridWindow();
        for (TD_print* dialog : {print, static_cast<TD_print*>(gridPrint)}) {
            dialog->ShowError = [this](const QString& text) { messages << text; };
            dialog->Library.Candidates = {QStringLiteral(QM_STANDIN_WHOLE)};
        }
        day = todo::find_or_create_day(reg().list.Doc(), "12/8/2026");
    }
    TNoxPigger* Item(const std::string& caption, const std::string& done = "",
                     const char* description = nullptr, const std::string& hour = "") {
        TNoxPigger* item = day->AddChild("TASK");
        item->SetAttr("CAPTION", caption);
        item->SetAttr("D", done);
        if (!hour.empty()) todo::set_item_time(*item, std::stoi(hour), 0);
        if (description) item->AddChild("DSC")->Text = description;
        return item;
    }
    std::string Report(TD_print& dialog) {
        dialog.BuildReport(Path("r").toStdString());
        return ReadBytes(Path("r"));
    }
    // The library's log without the report's path, which is checked on its own.
    std::string Log(std::vector<std::string>* files = nullptr) {
        std::string out, line;
        std::istringstream in(QFile::exists(Path("log")) ? ReadBytes(Path("log")) : std::string());
        while (std::getline(in, line)) {
            if (!line.starts_with("file "))
                out += line + "\n";
            else if (files)
                files->push_back(line.substr(5));
        }
        QFile::remove(Path("log"));
        return out;
    }
    bool NothingLeftInTmp() const {
        return QDir(Path("tmp")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QByteArray savedTmp;
    TD_print* print = nullptr;
    TD_print_hour_grid* gridPrint = nullptr;
    TNoxPigger* day = nullptr;
    QStringList messages;
};

TEST_F(PrintDialogs, BothDialogsShowTheirOptionsAndKeepTheirTemplatesHiddenWhereThePageLayoutWantsThem) {
    EXPECT_EQ(print->objectName(), "D_print");
    EXPECT_EQ(print->windowTitle(), "Print");
    EXPECT_EQ(gridPrint->objectName(), "D_print_hour_grid");
    EXPECT_EQ(gridPrint->windowTitle(), "Print hour grid");
    for (TD_print* dialog : {print, static_cast<TD_print*>(gridPrint)})
        ExpectControls(*dialog, {{"RB_date", "Current date", {}, {}, {}, {}, true},
                                 {"RB_current", "Current item", {}, {}, {}, {}, false},
                                 {"CB_item_text", "Print item text", {}, {}, {}, {}, true},
                                 {"CB_Description", "Print description", {}, {}, {}, {}, false},
                                 {"OKBtn", "Print", {}, {}, {}, true},
                                 {"CancelBtn", "Close"},
                                 {"Btn_settings", "Settings..."},
                                 {"Btn_help", "Help"}});
    ExpectControls(*gridPrint, {{"CB_empty_time", "Print empty time lines", {}, {}, {}, {}, true},
                                {"CB_time_independed", "Ptint time independed items", {}, {}, {}, {}, true}});
    EXPECT_FALSE(print->GB_range->isHidden());
    EXPECT_TRUE(gridPrint->GB_range->isHidden()) << "day or item is no choice on the hour grid";

    const std::tuple<TD_print*, QWidget*, QRect> templates[] = {
        {print, print->CB_label, {7, 0, 700, 17}},
        {print, print->Memo1, {28, 14, 600, 22}},
        {gridPrint, gridPrint->CB_label, {42, 0, 650, 17}},
        {gridPrint, gridPrint->Memo1, {42, 14, 600, 22}}};
    for (const auto& [dialog, control, place] : templates)
        EXPECT_EQ(control->geometry(), place) << control->objectName().toStdString();
    const std::tuple<QLabel*, QPoint> labels[] = {{print->Label_title, {7, 7}},
                                                  {print->Label_memo_title, {28, 0}},
                                                  {gridPrint->Label_memo_title, {42, 0}},
                                                  {gridPrint->Label_time, {7, 0}}};
    for (const auto& [label, place] : labels) {
        EXPECT_EQ(label->pos(), place) << label->objectName().toStdString();
        EXPECT_EQ(label->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed) << "sized to its text";
    }
    for (QWidget* panel : {print->Panel_title, print->Panel_label, print->Panel_memo, gridPrint->Panel_hour})
        EXPECT_TRUE(panel->isHidden());

    const QStringList buttons{"OKBtn", "CancelBtn", "Btn_settings", "Btn_help"};
    const QStringList order =
        QStringList{"RB_date", "RB_current", "CB_item_text", "CB_Description"} + buttons;
    EXPECT_EQ(TabChain(print->RB_date, order), order);
    const QStringList gridOrder =
        QStringList{"CB_empty_time", "CB_time_independed", "CB_item_text", "CB_Description"} + buttons;
    EXPECT_EQ(TabChain(gridPrint->CB_empty_time, gridOrder), gridOrder);
}

TEST_F(PrintDialogs, TheReportHoldsTheTitleThenEachItemsBoxTextAndDescriptionAsTheOptionsAsk) {
    TNoxPigger* milk = Item("Buy milk", "", "one\r\ntwo");
    TNoxPigger* bob = Item("Call Bob", "Y", " \r\n\t ");
    day->AddChild("NOTE")->SetAttr("CAPTION", "not an item");
    Item("Pay <rent> 100%", "yes");
    TNoxPigger* undated = todo::find_or_create_day(reg().list.Doc(), "N/A");
    undated->AddChild("TASK")->SetAttr("CAPTION", "Some day");
    struct Case {
        TNoxPigger* day;
        bool wholeDay, text, description;
        TNoxPigger* current;
        const char* outline;
    };
    const Case cases[] = {
        {day, true, true, false, bob, "[12/8/2026][o Buy milk][x Call Bob][x Pay %3Crent%3E 100%25]"},
        {day, true, true, true, nullptr,
         "[12/8/2026][o Buy milk][Description:|one|two][x Call Bob][x Pay %3Crent%3E 100%25]"},
        {day, true, false, true, nullptr, "[12/8/2026][Description:|one|two]"},
        {day, false, true, true, bob, "[12/8/2026][x Call Bob]"},
        {day, false, true, true, milk, "[12/8/2026][o Buy milk][Description:|one|two]"},
        {day, false, true, true, nullptr, "[12/8/2026]"},
        {undated, true, true, true, nullptr, "[N/A][o Some day]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outline);
        ASSERT_TRUE(print->Prepare(c.day, c.current));
        (c.wholeDay ? print->RB_date : print->RB_current)->setChecked(true);
        print->CB_item_text->setChecked(c.text);
        print->CB_Description->setChecked(c.description);
        const std::string report = Report(*print);
        EXPECT_EQ(Outline(report), c.outline);
        const std::string outline = c.outline;
        EXPECT_EQ(report.find("<IMAGES>") != std::string::npos,
                  outline.find("[o ") != std::string::npos || outline.find("[x ") != std::string::npos)
            << "the box pictures exactly when a box was printed";
        EXPECT_TRUE(report.ends_with("</IMAGES>\r\n</REPORT>\r\n") ||
                    report.ends_with("</HEAD>\r\n</REPORT>\r\n"));
        EXPECT_NE(report.find("<label text=\"Page [[PAGE]] of [[PAGES]]\""), std::string::npos);
    }
    EXPECT_FALSE(print->Prepare(nullptr, milk));
}

TEST_F(PrintDialogs, TheTemplatesCarryTheFontsAndColoursOfThePrintSettingsToTheirPlacesOnThePage) {
    reg().settings.PrintSettingsElement()->SetText(
        "<PRINT_SETTINGS><HEADER><FONT FACE=\"Arial\" SIZE=\"12\" BOLD=\"YES\"/></HEADER>"
        "<TEXT COLOR=\"#000080\" BGCOLOR=\"#0500FF\"><FONT SIZE=\"12\" "
        "BOLD=\"YES\"/></TEXT></PRINT_SETTINGS>");
    Item("Buy milk", "", "one");
    print->Prepare(day, nullptr);
    print->CB_Description->setChecked(true);
    const std::string report = Report(*print);
    for (const char* part :
         {"<LABEL TEXT=\"12/8/2026\" ALIGNMENT=\"LEFT\"  LEFT=\"1.85\" TOP=\"2.12\" HEIGHT=\"",
          "\"  FONT=\"Arial12B\"  BGCOLOR=\"#FFFFFF\" COLOR=\"#000000\"/>\r\n</band>\r\n",
          "<IMAGE NAME=\"__UNCHECKED\" LEFT=\"1.85\" TOP=\"0.00\"/><LABEL TEXT=\"Buy milk\" LEFT=\"6.61\" "
          "TOP=\"0.00\" HEIGHT=\"4.50\" WIDTH=\"180.45\"  FONT=\"Arial12B\"  BGCOLOR=\"#0500FF\" "
          "COLOR=\"#000080\"/>\r\n",
          "<band left=\"0\">\r\n<LABEL VALIGN=\"BOTTOM\" LEFT=\"7.41\" TOP=\"3.97\" HEIGHT=\"5.82\"  "
          "FONT=\"Arial8\"  BGCOLOR=\"#FFFFFF\" COLOR=\"#000000\" TEXT=\"one  \"/>\r\n</band>\r\n",
          "</PAGEFOOTER>\r\n\r\n\t<FONT NAME=\"Arial12B\" SIZE=\"12\" FACE=\"Arial\" CHARSET=\"RUSSIAN\" "
          "BOLD=\"YES\"/>\r\n\t<FONT NAME=\"Arial8\" ",
          "<IMAGES>\r\n<IMAGEDATA NAME=\"__CHECKED\">5A424D"})
        EXPECT_NE(report.find(part), std::string::npos) << part << "\n" << report;
    EXPECT_EQ(Children(*reg().settings.PrintSettingsElement()), "HEADER TEXT DETAIL_HEADER DETAIL_TEXT");
}

TEST_F(PrintDialogs, TheHourGridPrintsItsTimeLinesWithTheirItemsThenTheItemsWithoutATime) {
    reg().settings.SetGridHours(8, 10);
    reg().settings.SetTimeResolution(60);
    Item("a", "", "note", "09");
    Item("b");
    Item("c", "Y", nullptr, "07");
    TNoxPigger* other = todo::find_or_create_day(reg().list.Doc(), "12/9/2026");
    ASSERT_TRUE(program->HourGridWindow()->OpenDay(day, nullptr));
    struct Case {
        TNoxPigger* day;
        bool empty, independent, description;
        const char* outline;
    };
    const Case cases[] = {
        {day, true, true, true,
         "[Hour grid of 12/8/2026][before 08 : 00][x c][08 : 00][09 : 00][o a][Description:|note][10 : 00]"
         "[Time independed To Do Items of 12/8/2026][o b]"},
        {day, false, true, false,
         "[Hour grid of 12/8/2026][before 08 : 00][x c][09 : 00][o a][Time independed To Do Items of "
         "12/8/2026][o b]"},
        {day, false, false, false, "[Hour grid of 12/8/2026][before 08 : 00][x c][09 : 00][o a]"},
        {other, true, true, false, "[Hour grid of 12/9/2026][Time independed To Do Items of 12/9/2026]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outline);
        gridPrint->Prepare(c.day, nullptr);
        gridPrint->CB_empty_time->setChecked(c.empty);
        gridPrint->CB_time_independed->setChecked(c.independent);
        gridPrint->CB_Description->setChecked(c.description);
        EXPECT_EQ(Outline(Report(*gridPrint)), c.outline);
    }
}

TEST_F(PrintDialogs, PrintHandsTheLibraryAPrivateFileThatStaysUntilTheLibraryIsIdleAndGoesAfterwards) {
    Item("Buy milk", "", "one");
    print->Prepare(day, nullptr);
    print->OKBtnClick();
    print->OKBtnClick();
    std::vector<std::string> files;
    const std::string once = "print 0 700\nbusy file\nbusy file\nbusy file\nbusy file\n";
    EXPECT_EQ(Log(&files), once + once) << "printed twice, each time polled until idle, the file there";
    ASSERT_EQ(files.size(), 2u);
    for (const std::string& file : files) {
        const QString path = QString::fromStdString(file);
        EXPECT_TRUE(path.startsWith(Path("tmp/quillmarch-print-"))) << file;
        EXPECT_TRUE(path.endsWith("/tmp.r")) << file;
    }
    EXPECT_NE(files[0], files[1]) << "a fresh folder for each print";
    EXPECT_TRUE(NothingLeftInTmp());
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
    EXPECT_EQ(Outline(ReadBytes(Path("copy.r"))), "[12/8/2026][o Buy milk]");

    QProcess tool;
    tool.start(QStringLiteral(QM_TOOL_PATH), {QStringLiteral("check"), Path("copy.r")});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
}

TEST_F(PrintDialogs, AMissingLibraryIsNamedAndAMissingExportLeavesTheOtherInUse) {
    struct Case {
        QString library;
        int32_t result;
        const char* log;
        QStringList messages;
    };
    const Case cases[] = {
        {Path("nowhere/libprnrepnoxua.so"), -1, "", {"libprnrepnoxua.so not found"}},
        {QM_STANDIN_NO_PRINT, -1, "busy no file\n", {}},
        {QM_STANDIN_NO_POLL, 7, "print 0 700\n", {}},
        {QM_STANDIN_WHOLE, 7, "print 0 700\nbusy file\nbusy file\nbusy file\nbusy file\n", {}},
    };
    WriteBytes(Path("report.r"), "<REPORT/>");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.library.toStdString());
        messages.clear();
        print->Library.Candidates = {Path("nowhere/else.so"), c.library};
        EXPECT_EQ(print->PrintReportFile(Path("report.r").toStdString(), 0), c.result);
        EXPECT_EQ(Log(), c.log);
        EXPECT_EQ(messages, c.messages);
    }
    print->Prepare(day, nullptr);
    print->Library.Candidates = {Path("nowhere/libprnrepnoxua.so")};
    print->OKBtnClick();
    EXPECT_EQ(messages, QStringList{"libprnrepnoxua.so not found"});
    EXPECT_TRUE(NothingLeftInTmp()) << "the report goes also when nothing printed it";
}

TEST_F(PrintDialogs, AReportThatCannotBeWrittenIsShownAndTheDialogStaysOpenWithoutCallingTheLibrary) {
    WriteBytes(Path("not-a-folder"), "x");
    qputenv("TMPDIR", QFile::encodeName(Path("not-a-folder")));
    bool open = false;
    {
        ModalAnswer answer([&](QWidget* d) {
            print->OKBtn->click();
            open = d->isVisible();
            click_button(d, "Close");
        });
        print->Execute(day, nullptr);
    }
    EXPECT_TRUE(open);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Cannot create a folder for the report in " + Path("not-a-folder")))
        << messages[0].toStdString();
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(print->Day(), nullptr) << "nothing of the document is kept after closing";
}

TEST_F(PrintDialogs, CtrlPThenEnterPrintsTheShownDayAndEscapeCloses) {
    Open(ProgramWindows::All);
    main->add_item(main->current_day, "Buy milk");
    main->add_item(main->current_day, "Call Bob");
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    bool shown = false, open = false;
    {
        ModalAnswer answer([&](QWidget* d) {
            shown = d == print;
            QTest::keyClick(d->focusWidget(), Qt::Key_Return);
            open = d->isVisible();
            QTest::keyClick(d->focusWidget(), Qt::Key_Escape);
        });
        QTest::keyClick(main, Qt::Key_P, Qt::ControlModifier);
    }
    EXPECT_TRUE(shown);
    EXPECT_TRUE(open) << "printing leaves the dialog open";
    EXPECT_FALSE(print->isVisible());
    EXPECT_EQ(Outline(ReadBytes(Path("copy.r"))),
              "[" + render_day_key(QDate::currentDate()) + "][o Buy milk][o Call Bob]");
    EXPECT_TRUE(messages.isEmpty());
}

} // namespace
