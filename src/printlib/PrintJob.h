// One call of print_report: reads the report, then writes it to the PDF file named by QUILLMARCH_PRINT_PDF
// or shows it in a print preview, from which it can be printed or saved as a PDF file.
#pragma once

#include <QPageLayout>
#include <QString>

#include <cstdint>

class ReportSource;

class PrintJob {
public:
    static int32_t Run(const char* fileName, int32_t option);
    // How many calls of Run are under way; one while the preview is open.
    static int32_t Active();

    // Writes the pages crash-safely (temporary file, then rename).
    static int32_t WritePdf(ReportSource& source, const QString& fileName, const QPageLayout& layout);
    // The locale's paper (Letter where inches rule, else A4), upright, 10 mm margins.
    static QPageLayout DefaultPageLayout();

private:
    static int32_t Preview(ReportSource& source);
};
