// The print settings frame on the settings dialog's "Print" page: the font, text colour and background
// colour of the four areas of a printout. Every choice goes into the print settings element at once; the
// settings file is written when the settings are.
#pragma once

#include "markup/NoxPigger.h"
#include "ui/WindowEntries.h"

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QStringList>

class QColorDialog;
class QComboBox;
class QFontDialog;
class QLabel;
class QPushButton;
class TD_print;

// A font as the print settings hold it. Qt fonts carry no character set, so it is kept beside the font.
struct PrintFont {
    QFont font{QStringLiteral("MS Sans Serif")};
    int charset = 1;
};

class TO_settings_print final : public QFrame, public PrintSettingsPage {
    Q_OBJECT
public:
    // The areas in the order of CB_area: the title, the item text, the description heading and text.
    static const QStringList& AreaNames();

    explicit TO_settings_print(QWidget* parent = nullptr);
    ~TO_settings_print() override;

    void AttachPrintSettings(TNoxPigger* printSettings) override;
    TNoxPigger* PrintSettings() const { return printSettings_; }

    // The area element of an index of CB_area, and an area's FONT element; both created when missing.
    static TNoxPigger* AreaElement(TNoxPigger& printSettings, int index);
    static TNoxPigger* FontElement(TNoxPigger& area);
    TNoxPigger* AreaElement(int index) const;
    TNoxPigger* CurrentAreaElement() const;

    static void ReadFont(const TNoxPigger& fontElement, PrintFont& font);
    static void WriteFont(TNoxPigger& fontElement, const PrintFont& font);
    static std::string ColorToText(const QColor& color);

    // Styles the print dialog's four template controls from the print settings.
    static void ApplyPrintSettings(TNoxPigger& printSettings, TD_print& dialog);

    void RefreshSample();

    void CB_areaChange();
    void CB_charsetChange();
    void Btn_fontClick();
    void text_colorClick();
    void btn_bg_colorClick();

    QLabel* Label1 = nullptr;
    QComboBox* CB_area = nullptr;
    QFrame* Shape1 = nullptr;
    QLabel* Label_font = nullptr;
    QPushButton* Btn_font = nullptr;
    QLabel* Label_charset = nullptr;
    QComboBox* CB_charset = nullptr;
    QPushButton* text_color = nullptr;
    QPushButton* btn_bg_color = nullptr;
    // Made when first needed.
    QFontDialog* FontDialog1 = nullptr;
    QColorDialog* ColorDialog1 = nullptr;

    // What the sample shows.
    QColor SampleTextColor() const;
    QColor SampleBackground() const;

private:
    // The colour chooser, starting at the sample's colour; a confirmed colour goes into the attribute.
    void ChooseColor(const char* attribute, const QColor& start);

    TNoxPigger* printSettings_ = nullptr;
};
