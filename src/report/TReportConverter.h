// Turns a panel of widgets into report markup, control by control, from their own geometry, text, fonts
// and colours. The print dialogs fill hidden template panels and convert them; the print settings
// restyle the templates' fonts and colours.
#pragma once

#include "markup/NoxPigger.h"

#include <QColor>
#include <QRect>

#include <string>
#include <string_view>

class QFont;
class QWidget;
class TDataStream;

// The four fixed pictures of check boxes and radio buttons, as zipped bitmap streams in hexadecimal.
enum class FixedPicture { Checked, Unchecked, RadioOn, RadioOff };
std::string_view FixedPictureHex(FixedPicture picture);

// A length in millimetres as reports write it: two decimals and a full stop, whatever the locale.
std::string FormatLength(double millimetres);

// The key a font is shared by in a report: face, size in points, then B, I, U, S for its styles.
std::string FontKey(const QFont& font);

class TReportConverter final {
public:
    TReportConverter();

    void BeginReport(TDataStream& buffer);
    void AddPanel(const QWidget& panel, TDataStream& buffer);
    void AddControl(const QWidget& control, TDataStream& buffer);
    void EndReport(TDataStream& buffer);

    // "HLINES" and "VLINES" = "Y" draw grid lines in tables.
    TNoxPigger& PrintOptions() { return printOptions_; }
    const TNoxPigger& Fonts() const { return fonts_; }

    // Millimetres per pixel come from the screen's logical dots per inch, measured once (at 96 until a
    // screen is there); a caller may fix them instead.
    void SetPixelsPerInch(double x, double y);
    double Kx() const { return kx_; }
    double Ky() const { return ky_; }

private:
    void MeasureScreen();

    std::string Geometry(const QRect& r, bool withWidth) const;
    std::string Font(const QFont& font);

    void AddLabel(const QWidget& label, TDataStream& buffer);
    void AddPicture(const QWidget& label, TDataStream& buffer);
    void AddButton(const QWidget& button, bool radio, TDataStream& buffer);
    void AddTextBox(const QWidget& box, TDataStream& buffer);
    void AddField(const QWidget& field, const QString& text, TDataStream& buffer);
    void AddTable(const QWidget& view, TDataStream& buffer);

    TNoxPigger fonts_;
    TNoxPigger printOptions_;
    bool checkImages_ = false;
    bool radioImages_ = false;
    int32_t imageCounter_ = 0;
    std::string pendingImages_;
    double kx_ = 25.4 / 96;
    double ky_ = 25.4 / 96;
    bool measured_ = false;
};

// The program's one converter, shared by every report; reports are built one at a time on the GUI thread.
TReportConverter& ReportConverter();

void BeginReport(TDataStream& buffer);
void AddPanel(const QWidget& panel, TDataStream& buffer);
void AddControl(const QWidget& control, TDataStream& buffer);
void EndReport(TDataStream& buffer);
