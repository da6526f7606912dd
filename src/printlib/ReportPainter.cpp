#include "printlib/ReportPainter.h"

#include "printlib/ReportLayout.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

namespace {

constexpr double k = ReportLayout::kTwipsPerMm;

QRectF Twips(const QRectF& mm) {
    return QRectF(mm.x() * k, mm.y() * k, mm.width() * k, mm.height() * k);
}

void Draw(const LaidReport& report, const DrawCommand& c, QPainter& painter) {
    switch (c.kind) {
    case DrawCommand::Kind::Fill:
        painter.fillRect(Twips(c.rect), c.color);
        break;
    case DrawCommand::Kind::Line:
        painter.setPen(QPen(c.color, c.penWidth * k, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QLineF(c.line.p1() * k, c.line.p2() * k));
        break;
    case DrawCommand::Kind::Image:
        if (c.image >= 0 && static_cast<size_t>(c.image) < report.images.size())
            painter.drawImage(Twips(c.rect), report.images[static_cast<size_t>(c.image)]);
        break;
    case DrawCommand::Kind::Text: {
        if (c.font < 0 || static_cast<size_t>(c.font) >= report.fonts.size()) break;
        const QRectF box = Twips(c.rect);
        painter.setFont(report.fonts[static_cast<size_t>(c.font)]);
        painter.setPen(c.color);
        if (c.clip) {
            // Cut at the sides only: the box is as high as its text needs.
            painter.save();
            painter.setClipRect(QRectF(box.left(), box.top() - box.height(), box.width(), box.height() * 3),
                                Qt::IntersectClip);
            painter.drawText(box, c.flags | Qt::TextDontClip, c.text);
            painter.restore();
        } else {
            painter.drawText(box, c.flags | Qt::TextDontClip, c.text);
        }
        break;
    }
    }
}

} // namespace

void ReportPainter::PaintPage(const LaidReport& report, size_t page, QPainter& painter) {
    if (page >= report.pages.size()) return;
    const LaidPage& p = report.pages[page];
    const QPaintDevice* device = painter.device();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    // Small pictures were enlarged pixel by pixel during layout; smoothing keeps them sharp both ways.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.scale(device->logicalDpiX() / 1440.0, device->logicalDpiY() / 1440.0);
    if (p.clipped) {
        const double wide = (report.area.width() + 100) * k;
        painter.setClipRect(QRectF(-wide, p.clipTop * k, 3 * wide, (p.clipBottom - p.clipTop) * k));
    }
    for (const DrawCommand& c : p.body)
        Draw(report, c, painter);
    painter.setClipping(false);
    for (const DrawCommand& c : p.footer)
        Draw(report, c, painter);
    painter.restore();
}

bool ReportPainter::Paint(const LaidReport& report, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (size_t i = 0; i < report.pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        PaintPage(report, i, painter);
    }
    return painter.end();
}
