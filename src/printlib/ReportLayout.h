// Lays a report out on pages of a given printable area.
//
// Bands follow one another down the page. Inside a band, labels and pictures stand at their LEFT and TOP
// (millimetres from the band's top left corner); without LEFT they follow the previous one to the right,
// and in a band arranged vertically they go below what is there when they have no TOP. A band nested in
// another keeps its parent's frame but is pushed down just far enough to clear what stands above it, so
// rows made from one template stack without gaps. A band is never split across pages unless it is taller
// than a page; a table's head band is repeated at the top of every further page the table takes.
#pragma once

#include "printlib/LaidReport.h"

#include <QFontMetricsF>
#include <QSizeF>

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ReportSource;
class TNoxPigger;

class ReportLayout {
public:
    static constexpr double kTwipsPerMm = 1440.0 / 25.4;
    // Space between the body and the page footer.
    static constexpr double kFooterGapMm = 2.0;

    // Problems found on the way are noted in the source.
    ReportLayout(ReportSource& source, QSizeF areaMm);
    LaidReport Lay();

private:
    struct Item {
        DrawCommand command;
        double top;
        double bottom;
    };
    struct Span {
        double top;
        double bottom;
    };
    struct Table {
        double headTop, headBottom, firstRowBottom, end;
        size_t headBegin, headEnd; // the head's items in the galley
        bool hasRow;
    };
    struct Extent {
        double top = 0, bottom = 0, right = 0;
        bool empty = true;
        void Add(double t, double b, double r);
    };
    struct Flow {
        double x0, width;
        bool vertical;
        double cursor = 0; // the bottom of what is placed so far
        double hx = 0;     // where the next element without LEFT goes
        Extent extent;
    };
    struct PageRange {
        double start, end;
        int table; // whose head is repeated at the top, or -1
    };

    Extent LayContainer(const TNoxPigger& container, double x0, double width, bool vertical);
    Extent LayBand(const TNoxPigger& band, double x0, double width);
    void LayLabel(const TNoxPigger& label, Flow& flow);
    void LayImage(const TNoxPigger& image, Flow& flow);
    void Shift(size_t items, size_t spans, size_t tables, double dy);
    void AddItem(const DrawCommand& command, double top, double bottom);
    void AddLine(QLineF line, double width);

    std::vector<PageRange> Paginate(double end, double pageHeight);
    void FillPages(const std::vector<PageRange>& ranges);
    void AddFooters(const std::vector<Item>& footer, double footerTop);

    double Length(const TNoxPigger& e, const char* name, bool* given, double max);
    bool Colour(const TNoxPigger& e, const char* name, QColor& colour);
    int Font(const std::string& key);
    int Picture(const std::string& name);
    const QFontMetricsF& Metrics(int font);

    ReportSource& source_;
    QSizeF area_;
    LaidReport out_;
    std::vector<Item> galley_;
    std::vector<Item> footer_;
    std::vector<Item>* items_ = &galley_; // where laid out items go
    std::vector<Span> spans_;
    std::vector<Table> tables_;
    std::map<std::string, int> fontIndex_;  // by upper-case key
    std::map<std::string, int> imageIndex_; // by upper-case name, -1 for a missing picture
    std::vector<QSizeF> pictureSizes_;      // natural sizes in millimetres, by image index
    std::vector<std::unique_ptr<QFontMetricsF>> metrics_;
};
