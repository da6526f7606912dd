// What the painter hands to the device: the report's fonts and colours, fills and pictures, at the
// device's scale.
#include "LaidReportSupport.h"
#include "ReportText.h"
#include "printlib/ReportPainter.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextItem>
#include <gtest/gtest.h>

#include <map>

namespace {

struct TextCall {
    QFont font;
    QColor color;
    double scale = 0;
};

class RecordingEngine final : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& s) override {
        if (s.state() & DirtyPen) pen_ = s.pen();
        if (s.state() & DirtyBrush) brush_ = s.brush();
        if (s.state() & DirtyTransform) scale_ = s.transform().m22();
    }
    void drawRects(const QRectF*, int count) override { fills.insert(fills.end(), count, brush_.color()); }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
        ++pictures;
    }
    void drawTextItem(const QPointF&, const QTextItem& item) override {
        texts[item.text()] = {item.font(), pen_.color(), scale_};
    }
    Type type() const override { return User; }

    std::map<QString, TextCall> texts;
    std::vector<QColor> fills;
    int pictures = 0;

private:
    QPen pen_;
    QBrush brush_;
    double scale_ = 1;
};

// A sheet of A4 on a 600 dots-per-inch printer.
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
    const std::string styled = "<band><LABEL TEXT=\"styled\" FONT=\"courier12us\" COLOR=\"#12ab3C\" "
                               "BGCOLOR=\"#FFFF00\"/></band>";
    const Laid laid =
        LayText(Report(Title("Monday") + Item("Buy milk", true) + Description({"plain"}) + styled,
                       "<FONT NAME=\"Courier12US\" SIZE=\"12\" FACE=\"Courier New\" "
                       "UNDERLINE=\"YES\" STRIKEOUT=\"YES\"/>"));
    EXPECT_TRUE(laid.problems.empty()) << laid.problems.front();
    RecordingDevice device;
    {
        QPainter painter(&device);
        ReportPainter::PaintPage(laid.report, 0, painter);
    }
    auto& texts = device.engine.texts;
    EXPECT_EQ(texts["Monday"].font.family(), "Arial");
    EXPECT_TRUE(texts["Monday"].font.bold());
    EXPECT_EQ(texts["Monday"].color, QColor(0x00, 0x00, 0x80));
    // Fonts are sized in twips and scaled to the device: 14 points at 600 dots per inch.
    EXPECT_NEAR(texts["Monday"].font.pixelSize() * texts["Monday"].scale, 14.0 * 600 / 72, 0.01);
    EXPECT_TRUE(texts["Description:"].font.italic());
    EXPECT_EQ(texts["Description:"].color, QColor(0x80, 0x00, 0x00));
    EXPECT_EQ(texts["plain"].color, QColor(Qt::black));
    const QFont courier = texts["styled"].font;
    EXPECT_EQ(courier.family(), "Courier New");
    EXPECT_TRUE(courier.underline() && courier.strikeOut() && !courier.bold() && !courier.italic());
    EXPECT_NEAR(courier.pixelSize() * texts["styled"].scale, 12.0 * 600 / 72, 0.01);
    EXPECT_EQ(texts["styled"].color, QColor(0x12, 0xAB, 0x3C));
    EXPECT_EQ(texts.count("Page 1 of 1"), 1u);
    // The white boxes behind the item and the line, the yellow one; the check box picture.
    const std::vector<QColor> fills{Qt::white, Qt::white, Qt::yellow};
    EXPECT_EQ(device.engine.fills, fills);
    EXPECT_EQ(device.engine.pictures, 1);
}

} // namespace
