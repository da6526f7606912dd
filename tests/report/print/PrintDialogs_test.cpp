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
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <regex>

namespace {

// The report's body in short: [...] a panel; x or o a ticked or empty box before an item's text; | between
// the texts of one panel (the description's heading and lines).
std::string Outline(const std::string& report) {
    static const std::regex token(R"re(<band arrange|"__(UN)?CHECKED"|TEXT="([^"]*?)(  )?")re");
    const size_t begin = report.find("<BODY>"), end = report.find("</BODY>");
    if (begin == std::string::npos || end == std::string::npos) return "no body";
    const std::string body = report.substr(begin, end - begin);
    std::string out;
    bool apart = false;
    for (auto it = std::sregex_iterator(body.begin(), body.end(), token); it != std::sregex_iterator();
         ++it) {
        const std::string match = (*it)[0];
        if (match[0] == '<') out += out.empty() ? "[" : "][";
        if (match[0] == '"') out += std::string(apart ? "|" : "") + ((*it)[1].matched ? "o " : "x ");
        if (match[0] == 'T') out += (apart ? "|" : "") + (*it)[2].str();
        apart = match[0] == 'T';
    }
    return out + (out.empty() ? "" : "]");
}

class PrintDialogs : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        ReportConverter().SetPixelsPerInch(96, 96);
        ASSERT_TRUE(QDir(folder.path()).mkdir("tmp"));
        for (const auto& [name, value] : {std::pair{"QM_STANDIN_LOG", Path("log")},
                                          {"QM_STANDIN_COPY", Path("copy.r")},
                                          {"QM_STANDIN_BUSY", QString("3")},
                                          {"TMPDIR", Path("tmp")}})
            qputenv(name, QFile::encodeName(value));
        Open(ProgramWindows::SettingsDialog | ProgramWindows::Msg | ProgramWindows::Print |
             ProgramWindows::HourGrid | ProgramWindows::PrintHourGrid);
    }
    void TearDown() override {
        qunsetenv("TMPDIR");
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
                     const char* description = nullptr, int hour = -1) {
        TNoxPigger* item = day->AddChild("TASK");
        item->SetAttr("CAPTION", caption);
        item->SetAttr("D", done);
        if (hour >= 0) todo::set_item_time(*item, hour, 0);
        if (description) item->AddChild("DSC")->Text = description;
        return item;
    }
    std::string Report(TD_print& dialog) {
        dialog.BuildReport(Path("r").toStdString());
        return ReadBytes(Path("r"));
    }
    // The library's calls since the last look, report paths left out.
    std::string Calls(std::vector<std::string>* paths = nullptr) {
        std::string log = QFile::exists(Path("log")) ? ReadBytes(Path("log")) : "";
        QFile::remove(Path("log"));
        static const std::regex path(" (/[^\n]*)");
        for (auto it = std::sregex_iterator(log.begin(), log.end(), path);
             paths && it != std::sregex_iterator(); ++it)
            paths->push_back((*it)[1]);
        return std::regex_replace(log, path, "");
    }
    bool TmpIsEmpty() const {
        return QDir(Path("tmp")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    TD_print* print = nullptr;
    TD_print_hour_grid* gridPrint = nullptr;
    TNoxPigger* day = nullptr;
    QStringList messages;
};

const char* const kPolledUntilIdle = "print 0 700\nbusy file\nbusy file\nbusy file\nbusy file\n";

TEST_F(PrintDialogs, BothDialogsShowTheirOptionsAndKeepTheirTemplatesHiddenWhereThePageLayoutWantsThem) {
    EXPECT_EQ(print->windowTitle(), "Print");
    EXPECT_EQ(gridPrint->windowTitle(), "Print hour grid");
    EXPECT_EQ(gridPrint->objectName(), "D_print_hour_grid");
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
    EXPECT_TRUE(gridPrint->GB_range->isHidden()) << "a day or an item is no choice on the hour grid";

    const std::pair<QWidget*, QRect> places[] = {
        {print->Label_title, {7, 7, 0, 0}},       {print->CB_label, {7, 0, 700, 17}},
        {print->Label_memo_title, {28, 0, 0, 0}}, {print->Memo1, {28, 14, 600, 22}},
        {gridPrint->CB_label, {42, 0, 650, 17}},  {gridPrint->Label_memo_title, {42, 0, 0, 0}},
        {gridPrint->Memo1, {42, 14, 600, 22}},    {gridPrint->Label_time, {7, 0, 0, 0}}};
    for (const auto& [control, place] : places) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_EQ(control->pos(), place.topLeft());
        // A zero width stands for a label sized to its text.
        EXPECT_TRUE(place.width() ? control->size() == place.size()
                                  : control->sizePolicy().horizontalPolicy() == QSizePolicy::Fixed);
        EXPECT_TRUE(control->parentWidget()->isHidden()) << "on a hidden panel";
    }

    const QStringList tail{"CB_item_text", "CB_Description", "OKBtn",
                           "CancelBtn",    "Btn_settings",   "Btn_help"};
    EXPECT_EQ(tab_chain(print->RB_date, QStringList{"RB_date", "RB_current"} + tail),
              QStringList({"RB_date", "RB_current"}) + tail);
    EXPECT_EQ(tab_chain(gridPrint->CB_empty_time, QStringList{"CB_empty_time", "CB_time_independed"} + tail),
              QStringList({"CB_empty_time", "CB_time_independed"}) + tail);
}

TEST_F(PrintDialogs, TheReportHoldsTheTitlesTimeLinesBoxesTextsAndDescriptionsTheOptionsAsk) {
    TNoxPigger* milk = Item("Buy milk", "", "one\r\ntwo");
    TNoxPigger* bob = Item("Call Bob", "Y", " \r\n\t ");
    day->AddChild("NOTE")->SetAttr("CAPTION", "not an item");
    Item("Pay <rent> 100%", "yes");
    TNoxPigger* undated = todo::find_or_create_day(reg().list.Doc(), "N/A");
    undated->AddChild("TASK")->SetAttr("CAPTION", "Some day");
    day = todo::find_or_create_day(reg().list.Doc(), "12/9/2026");
    Item("a", "", "note", 9);
    Item("b");
    Item("c", "Y", nullptr, 7);
    reg().settings.SetGridHours(8, 10);
    reg().settings.SetTimeResolution(60);
    ASSERT_TRUE(program->HourGridWindow()->OpenDay(day, nullptr));
    TNoxPigger* const day8 = milk->Parent();
    struct Case {
        TD_print* dialog;
        TNoxPigger *day, *current;
        std::string options; // the ticked ones of: item day text description empty independent
        const char* outline;
    };
    for (const Case& c :
         {Case{print, day8, bob, "day text", "[12/8/2026][o Buy milk][x Call Bob][x Pay %3Crent%3E 100%25]"},
          Case{print, day8, nullptr, "day text description",
               "[12/8/2026][o Buy milk][Description:|one|two][x Call Bob][x Pay %3Crent%3E 100%25]"},
          Case{print, day8, nullptr, "day description", "[12/8/2026][Description:|one|two]"},
          Case{print, day8, bob, "item text description", "[12/8/2026][x Call Bob]"},
          Case{print, day8, milk, "item text description", "[12/8/2026][o Buy milk][Description:|one|two]"},
          Case{print, day8, nullptr, "item text description", "[12/8/2026]"},
          Case{print, undated, nullptr, "day text", "[N/A][o Some day]"},
          Case{gridPrint, day, nullptr, "text description empty independent",
               "[Hour grid of 12/9/2026][before 08 : 00][x c][08 : 00][09 : 00][o a][Description:|note][10 : "
               "00]"
               "[Time independed To Do Items of 12/9/2026][o b]"},
          Case{gridPrint, day, nullptr, "text independent",
               "[Hour grid of 12/9/2026][before 08 : 00][x c][09 : 00][o a][Time independed To Do Items of "
               "12/9/2026][o b]"},
          Case{gridPrint, day, nullptr, "text",
               "[Hour grid of 12/9/2026][before 08 : 00][x c][09 : 00][o a]"},
          Case{gridPrint, day8, nullptr, "text empty independent",
               "[Hour grid of 12/8/2026][Time independed To Do Items of 12/8/2026]"}}) {
        SCOPED_TRACE(c.outline);
        ASSERT_TRUE(c.dialog->Prepare(c.day, c.current));
        const auto ticked = [&](const char* option) { return c.options.find(option) != std::string::npos; };
        (ticked("day") ? c.dialog->RB_date : c.dialog->RB_current)->setChecked(true);
        c.dialog->CB_item_text->setChecked(ticked("text"));
        c.dialog->CB_Description->setChecked(ticked("description"));
        gridPrint->CB_empty_time->setChecked(ticked("empty"));
        gridPrint->CB_time_independed->setChecked(ticked("independent"));
        const std::string report = Report(*c.dialog);
        EXPECT_EQ(Outline(report), c.outline);
        const bool boxes = std::regex_search(c.outline, std::regex("\\[[xo] "));
        EXPECT_TRUE(
            report.ends_with(boxes ? "</IMAGEDATA></IMAGES>\r\n</REPORT>\r\n" : "</HEAD>\r\n</REPORT>\r\n"));
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
    // The face of the area before goes on where an area names none.
    for (const char* part :
         {"<LABEL TEXT=\"12/8/2026\" ALIGNMENT=\"LEFT\"  LEFT=\"1.85\" TOP=\"2.12\" HEIGHT=\"",
          "\"  FONT=\"Arial12B\"  BGCOLOR=\"#FFFFFF\" COLOR=\"#000000\"/>\r\n</band>\r\n",
          "<IMAGE NAME=\"__UNCHECKED\" LEFT=\"1.85\" TOP=\"0.00\"/><LABEL TEXT=\"Buy milk\" LEFT=\"6.61\" "
          "TOP=\"0.00\" "
          "HEIGHT=\"4.50\" WIDTH=\"180.45\"  FONT=\"Arial12B\"  BGCOLOR=\"#0500FF\" COLOR=\"#000080\"/>\r\n",
          "<band left=\"0\">\r\n<LABEL VALIGN=\"BOTTOM\" LEFT=\"7.41\" TOP=\"3.97\" HEIGHT=\"5.82\"  "
          "FONT=\"Arial8\"  "
          "BGCOLOR=\"#FFFFFF\" COLOR=\"#000000\" TEXT=\"one  \"/>\r\n</band>\r\n",
          "</PAGEFOOTER>\r\n\r\n\t<FONT NAME=\"Arial12B\" SIZE=\"12\" FACE=\"Arial\" CHARSET=\"RUSSIAN\" "
          "BOLD=\"YES\"/>"
          "\r\n\t<FONT NAME=\"Arial8\" "})
        EXPECT_NE(report.find(part), std::string::npos) << part << "\n" << report;
    std::string areas;
    for (const TNoxPigger* area : reg().settings.PrintSettingsElement()->Children())
        areas += area->TagName() + " ";
    EXPECT_EQ(areas, "HEADER TEXT DETAIL_HEADER DETAIL_TEXT ") << "every area is there after the first print";
}

TEST_F(PrintDialogs, CtrlPThenEnterPrintsTheShownDayThroughAPrivateFileThatGoesOnceTheLibraryIsIdle) {
    Open(ProgramWindows::All);
    main->add_item(main->current_day, "Buy milk");
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    bool shown = false, open = false;
    {
        ModalAnswer answer([&](QWidget* d) {
            shown = d == print;
            QTest::keyClick(d->focusWidget(), Qt::Key_Return);
            QTest::keyClick(d->focusWidget(), Qt::Key_Return);
            open = d->isVisible();
            QTest::keyClick(d->focusWidget(), Qt::Key_Escape);
        });
        QTest::keyClick(main, Qt::Key_P, Qt::ControlModifier);
    }
    EXPECT_TRUE(shown);
    EXPECT_TRUE(open) << "printing leaves the dialog open";
    EXPECT_FALSE(print->isVisible());
    EXPECT_EQ(print->Day(), nullptr) << "nothing of the document is kept after closing";
    std::vector<std::string> paths;
    EXPECT_EQ(Calls(&paths), std::string(kPolledUntilIdle) + kPolledUntilIdle)
        << "polled until idle, the file there";
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_NE(paths[0], paths[1]) << "a folder of its own for each print";
    EXPECT_TRUE(
        std::regex_match(paths[0], std::regex(Path("tmp").toStdString() + "/quillmarch-print-\\w+/tmp\\.r")));
    EXPECT_TRUE(TmpIsEmpty());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(Outline(ReadBytes(Path("copy.r"))),
              "[" + render_day_key(QDate::currentDate()) + "][o Buy milk]");
    QProcess tool;
    tool.start(QStringLiteral(QM_TOOL_PATH), {QStringLiteral("check"), Path("copy.r")});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
}

TEST_F(PrintDialogs, AMissingLibraryIsNamedAMissingExportLeavesTheOtherInUseAndAnUnwritableReportIsShown) {
    struct Case {
        QString library;
        int32_t result;
        std::string calls;
        QStringList messages;
    };
    WriteBytes(Path("report.r"), "<REPORT/>");
    for (const Case& c : {Case{Path("nowhere/libprnrepnoxua.so"), -1, "", {"libprnrepnoxua.so not found"}},
                          Case{QM_STANDIN_NO_PRINT, -1, "busy no file\n", {}},
                          Case{QM_STANDIN_NO_POLL, 7, "print 0 700\n", {}},
                          Case{QM_STANDIN_WHOLE, 7, kPolledUntilIdle, {}}}) {
        SCOPED_TRACE(c.library.toStdString());
        messages.clear();
        print->Library.Candidates = {Path("nowhere/else.so"), c.library};
        EXPECT_EQ(print->PrintReportFile(Path("report.r").toStdString(), 0), c.result);
        EXPECT_EQ(Calls(), c.calls);
        EXPECT_EQ(messages, c.messages);
    }
    print->Prepare(day, nullptr);
    print->Library.Candidates = {Path("nowhere/libprnrepnoxua.so")};
    print->OKBtnClick();
    EXPECT_EQ(messages, QStringList{"libprnrepnoxua.so not found"});
    EXPECT_TRUE(TmpIsEmpty()) << "the report goes also when nothing printed it";

    messages.clear();
    print->Library.Candidates = {QM_STANDIN_WHOLE};
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
    EXPECT_EQ(messages.value(0).left(40), "Cannot create a folder for the report in");
    EXPECT_EQ(Calls(), "") << "the library is not called";
}

} // namespace
