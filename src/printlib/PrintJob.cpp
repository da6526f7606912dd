#include "printlib/PrintJob.h"

#include "printlib/PrintResult.h"
#include "printlib/ReportLayout.h"
#include "printlib/ReportPainter.h"
#include "printlib/ReportSource.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QThread>
#include <QToolBar>

#include <algorithm>
#include <atomic>

namespace {

std::atomic<int32_t> active{0};

constexpr double kMarginMm = 10.0;

struct Running {
    Running() { ++active; }
    ~Running() { --active; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
};

bool OnApplicationThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

int32_t PrintJob::Active() {
    return active.load();
}

QPageLayout PrintJob::DefaultPageLayout() {
    const bool inches = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(inches ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

int32_t PrintJob::Run(const char* fileName, int32_t option) {
    // Fonts need a GUI application; the preview needs widgets. Without them there is nothing to do.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || !OnApplicationThread())
        return PrintResult::kNoApplication;
    if (option != 0) return PrintResult::kUnknownOption;
    // The preview runs an event loop, in which the program could ask again.
    if (active.load() > 0) return PrintResult::kBusy;
    const Running running;
    if (!fileName) return PrintResult::kCannotRead;

    ReportSource source;
    const int32_t read = source.LoadFile(QString::fromLocal8Bit(fileName));
    if (!source.Drawable()) return read;
    const QString pdf = qEnvironmentVariable("QUILLMARCH_PRINT_PDF");
    int32_t written;
    if (!pdf.isEmpty())
        written = WritePdf(source, pdf, DefaultPageLayout());
    else if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        written = PrintResult::kNoApplication;
    else
        written = Preview(source);
    if (written != PrintResult::kDone) return written;
    if (read != PrintResult::kDone) return read;
    return source.ProblemCount() > 0 ? PrintResult::kFlawed : PrintResult::kDone;
}

int32_t PrintJob::WritePdf(ReportSource& source, const QString& fileName, const QPageLayout& layout) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) return PrintResult::kOutputFailed;
    bool painted;
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Quillmarch"));
        writer.setTitle(QFileInfo(fileName).completeBaseName());
        writer.setPageLayout(layout);
        const LaidReport laid =
            ReportLayout(source, writer.pageLayout().paintRect(QPageLayout::Millimeter).size()).Lay();
        if (laid.result != PrintResult::kDone) {
            file.cancelWriting();
            return laid.result;
        }
        painted = ReportPainter::Paint(laid, writer);
    }
    if (!painted) {
        file.cancelWriting();
        return PrintResult::kOutputFailed;
    }
    return file.commit() ? PrintResult::kDone : PrintResult::kOutputFailed;
}

int32_t PrintJob::Preview(ReportSource& source) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
    // A report too large to lay out is refused before any window opens.
    {
        const LaidReport probe =
            ReportLayout(source, printer.pageLayout().paintRect(QPageLayout::Millimeter).size()).Lay();
        if (probe.result != PrintResult::kDone) return probe.result;
    }

    QPrintPreviewDialog dialog(&printer, QApplication::activeWindow());
    int32_t result = PrintResult::kDone;
    // Laid out afresh for every device: the page set-up and the printer may change the paper. Nothing may
    // be thrown through Qt's signals.
    QObject::connect(
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&source, &result](QPrinter* target) {
            try {
                const LaidReport laid =
                    ReportLayout(source, target->pageLayout().paintRect(QPageLayout::Millimeter).size())
                        .Lay();
                if (laid.result != PrintResult::kDone)
                    result = laid.result;
                else if (!ReportPainter::Paint(laid, *target))
                    result = PrintResult::kOutputFailed;
            } catch (...) {
                result = PrintResult::kTooLarge;
            }
        });

    if (QToolBar* tools = dialog.findChild<QToolBar*>()) {
        tools->addSeparator();
        QAction* save = tools->addAction(QObject::tr("Save as PDF..."));
        save->setObjectName(QStringLiteral("SaveAsPdf"));
        save->setToolTip(QObject::tr("Save the pages as a PDF file"));
        QObject::connect(save, &QAction::triggered, &dialog, [&dialog, &printer, &source] {
            const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            QString name = QFileDialog::getSaveFileName(&dialog, QObject::tr("Save as PDF"),
                                                        QDir(folder).filePath(QStringLiteral("report.pdf")),
                                                        QObject::tr("PDF files (*.pdf)"));
            if (name.isEmpty()) return;
            if (!name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) name += QLatin1String(".pdf");
            int32_t written;
            try {
                written = WritePdf(source, name, printer.pageLayout());
            } catch (...) {
                written = PrintResult::kOutputFailed;
            }
            if (written != PrintResult::kDone)
                QMessageBox::warning(
                    &dialog, QObject::tr("Save as PDF"),
                    QObject::tr("The file %1 could not be written.").arg(QDir::toNativeSeparators(name)));
        });
    }

    // Large enough to read a page without zooming, and wide enough for the whole tool bar where the
    // screen allows: on a small or scaled screen its print and save buttons would hide behind a menu.
    if (const QScreen* screen = dialog.screen()) {
        const QRect free = screen->availableGeometry();
        int width = free.width() * 3 / 4;
        if (const QToolBar* bar = dialog.findChild<QToolBar*>())
            width = std::max(width, bar->sizeHint().width() +
                                        2 * dialog.style()->pixelMetric(QStyle::PM_LayoutLeftMargin));
        dialog.resize(std::min(width, free.width()), free.height() * 9 / 10);
    }
    dialog.exec();
    return result;
}
