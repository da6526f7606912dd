// What the painter hands to the device: the report's fonts, colours, fills and pictures, at the device's
// scale.
#include "LaidReportSupport.h"
#include "ReportText.h"
#include "printlib/ReportPainter.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextItem>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct TextCall {
    QString text;
    QFont font;
    QColor color;
    QTransform transform;
};

class RecordingEngine final : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyPen) pen_ = state.pen();
        if (state.state() & DirtyBrush) brush_ = state.brush();
        if (state.state() & DirtyTransform) transform_ = state.transform();
    }
    void drawRects(const QRectF*, int count) override { fills.insert(fills.end(), count, brush_.color()); }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawLines(const QLineF*, int count) override { lines += count; }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++pictures; }
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
        ++pictures;
    }
    void drawTextItem(const QPointF&, const QTextItem& item) override {
        texts.push_back({item.text(), item.font(), pen_.color(), transform_});
    }
    Type type() const override { return User; }

    std::vector<TextCall> texts;
    std::vector<QColor> fills;
    int lines = 0;
    int pictures = 0;

private:
    QPen pen_;
    QBrush brush_;
    QTransform transform_;
};

// A page of a 600 dots-per-inch printer.
class RecordingDevice final : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return 4960;
        case PdmHeight:
            return 7016;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 600;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(m);
        }
    }
    mutable RecordingEngine engine;
};

TEST(ReportPainterTest, HandsTheReportsFontsAndColoursToTheDevice) {
    using namespace ReportText;
    const Laid laid = LayText(Report(Title("Monday") + Item("Buy milk", true) + Description({"plain line"})));
    RecordingDevice device;
    {
        QPainter painter(&device);
        ReportPainter::PaintPage(laid.report, 0, painter);
    }
    const RecordingEngine& e = device.engine;
    const auto call = [&](const QString& text) {
        for (const TextCall& t : e.texts)
            if (t.text == text) return t;
        ADD_FAILURE() << text.toStdString() << " was not drawn";
        return TextCall{};
    };
    const TextCall title = call("Monday"), heading = call("Description:"), line = call("plain line");
    EXPECT_EQ(title.font.family(), "Arial");
    EXPECT_TRUE(title.font.bold());
    EXPECT_EQ(title.color, QColor(0x00, 0x00, 0x80));
    EXPECT_TRUE(heading.font.italic());
    EXPECT_EQ(heading.color, QColor(0x80, 0x00, 0x00));
    EXPECT_EQ(line.color, QColor(Qt::black));
    // Fonts are sized in twips and scaled to the device: 14 points at 600 dots per inch.
    EXPECT_NEAR(title.font.pixelSize() * title.transform.m22(), 14.0 * 600 / 72, 0.01);
    EXPECT_TRUE(call("Page 1 of 1").font.family().size() > 0);
    // White boxes behind the item and the line; the check box picture.
    EXPECT_EQ(std::count(e.fills.begin(), e.fills.end(), QColor(Qt::white)), 2);
    EXPECT_EQ(e.pictures, 1);
}

} // namespace
