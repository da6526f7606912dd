// The shared library as the print dialogs use it: loaded by file name into a running application.
#include "ReportText.h"
#include "printlib/PrintResult.h"

#include <QAction>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using PrintReport = int32_t (*)(const char*, int32_t);
using HasActive = int32_t (*)();

class PrintLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        handle_ = dlopen(QM_PRINTLIB_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        print_ = reinterpret_cast<PrintReport>(dlsym(handle_, "print_report"));
        active_ = reinterpret_cast<HasActive>(dlsym(handle_, "has_active_processes"));
        ASSERT_TRUE(print_ && active_);
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override {
        qunsetenv("QUILLMARCH_PRINT_PDF");
        if (handle_) dlclose(handle_);
    }

    int32_t PrintToPdf(const QString& report, const QString& pdf) {
        qputenv("QUILLMARCH_PRINT_PDF", pdf.toLocal8Bit());
        const int32_t result = print_(report.toLocal8Bit().constData(), 0);
        qunsetenv("QUILLMARCH_PRINT_PDF");
        return result;
    }

    static QString PdfText(const QString& pdf) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        if (!p.waitForFinished(30000)) return {};
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    void* handle_ = nullptr;
    PrintReport print_ = nullptr;
    HasActive active_ = nullptr;
    QTemporaryDir dir_;
};

TEST_F(PrintLibraryTest, WritesASmallDayAsAPdfHoldingEveryText) {
    using namespace ReportText;
    const QString report = Write(
        QDir(dir_.path()), "tmp.r",
        Report(Title("12/8/2026") + Item("Buy milk", true) + Description({"two litres", "  and butter"}) +
               Item("Call the plumber", false) + Item("Caf\xC3\xA9 at 10 %25 less", false)));
    const QString pdf = dir_.filePath("day.pdf");
    EXPECT_EQ(PrintToPdf(report, pdf), PrintResult::kDone);
    EXPECT_EQ(active_(), 0);
    const QString text = PdfText(pdf);
    for (const char* expected : {"12/8/2026", "Buy milk", "Description:", "two litres", "and butter",
                                 "Call the plumber", "Caf\xC3\xA9 at 10 % less", "Page 1 of 1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << " not in:\n"
                                                                << text.toStdString();
}

TEST_F(PrintLibraryTest, AnswersNegativelyForAFlawedReportOrAPdfItCannotWrite) {
    const QString flawed = ReportText::Write(
        QDir(dir_.path()), "flawed.r", ReportText::Report(ReportText::Item("kept", false) + "<CHART/>"));
    const QString pdf = dir_.filePath("flawed.pdf");
    EXPECT_EQ(PrintToPdf(flawed, pdf), PrintResult::kFlawed);
    EXPECT_TRUE(PdfText(pdf).contains("kept"));

    const QString good =
        ReportText::Write(QDir(dir_.path()), "good.r", ReportText::Report(ReportText::Item("x", true)));
    EXPECT_EQ(PrintToPdf(good, dir_.filePath("no/such/folder/x.pdf")), PrintResult::kOutputFailed);
    EXPECT_EQ(PrintToPdf(dir_.filePath("absent.r"), pdf), PrintResult::kCannotRead);
    EXPECT_EQ(print_(good.toLocal8Bit().constData(), 1), PrintResult::kUnknownOption);
    EXPECT_EQ(print_(nullptr, 0), PrintResult::kCannotRead);
    EXPECT_EQ(active_(), 0);
}

TEST_F(PrintLibraryTest, ExportsItsTwoFunctionsAndHidesItsInnards) {
    // The markup code linked into it and its own classes stay out of the program's way.
    for (const char* hidden : {"_Z12MarkupEncodeRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE",
                               "_ZN12ReportLayout3LayEv", "_ZN8PrintJob3RunEPKci"})
        EXPECT_EQ(dlsym(handle_, hidden), nullptr) << hidden;
}

TEST_F(PrintLibraryTest, ShowsAPreviewAndIsBusyUntilItCloses) {
    const QString report =
        ReportText::Write(QDir(dir_.path()), "tmp.r", ReportText::Report(ReportText::Item("Buy milk", true)));
    int32_t activeWhileOpen = -1;
    bool sawPreview = false, sawSaveAction = false;
    QTimer poll;
    int ticks = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
            sawPreview = true;
            activeWhileOpen = active_();
            const QAction* save = preview->findChild<QAction*>(QStringLiteral("SaveAsPdf"));
            sawSaveAction = save && save->text() == QStringLiteral("Save as PDF...");
            preview->reject();
        } else if (++ticks > 200) {
            poll.stop(); // print_report has returned without a window, or something else is open
            if (modal) modal->close();
        }
    });
    poll.start(50);
    EXPECT_EQ(print_(report.toLocal8Bit().constData(), 0), PrintResult::kDone);
    poll.stop();
    EXPECT_TRUE(sawPreview);
    EXPECT_TRUE(sawSaveAction);
    EXPECT_EQ(activeWhileOpen, 1);
    EXPECT_EQ(active_(), 0);
}

} // namespace
