// A report laid out on pages: for each page the drawing commands in millimetres from the top left corner
// of the printable area. Painting replays them; tests read them.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <vector>

struct DrawCommand {
    enum class Kind : uint8_t { Fill, Line, Text, Image };
    Kind kind = Kind::Fill;
    QRectF rect;         // the box of a fill, a text or a picture
    QLineF line;         // a line's ends
    double penWidth = 0; // a line's width
    QColor color;        // fill, line or text colour
    QString text;
    int font = -1;     // into LaidReport::fonts
    int image = -1;    // into LaidReport::images
    int flags = 0;     // Qt alignment and wrapping flags of a text
    bool clip = false; // a text wider than its box is cut at the box's sides
};

struct LaidPage {
    std::vector<DrawCommand> body; // includes a table head repeated at the top
    std::vector<DrawCommand> footer;
    // A part taller than a page is cut where the page ends: the body is then clipped to this band.
    bool clipped = false;
    double clipTop = 0;
    double clipBottom = 0;
};

struct LaidReport {
    QSizeF area; // the printable area, millimetres
    std::vector<LaidPage> pages;
    // Fonts are sized in twips (pixel size = points x 20), the unit the painter draws in.
    std::vector<QFont> fonts;
    std::vector<QImage> images;
    // 0, or kTooLarge when the pages would be more than any report can have (pages is then empty).
    int32_t result = 0;
};
