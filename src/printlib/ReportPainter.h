// Replays laid out pages on a printer, a PDF writer or any other paint device.
#pragma once

#include "printlib/LaidReport.h"

class QPagedPaintDevice;
class QPainter;

class ReportPainter {
public:
    // Paints one page with the painter's origin at the printable area's top left corner; the scale comes
    // from the device's resolution.
    static void PaintPage(const LaidReport& report, size_t page, QPainter& painter);
    // Paints every page, one device page each. False when the device refuses to be painted on or to
    // begin a page.
    static bool Paint(const LaidReport& report, QPagedPaintDevice& device);
};
