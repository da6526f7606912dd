// Item text that is not valid UTF-8 reaches the report as the item's own bytes.
#include "report/ControlText.h"
#include "report/TDataStream.h"
#include "report/TReportConverter.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

TEST(ControlBytesTest, CaptionsKeepTheirBytesWhileTheControlShowsThem) {
    QWidget panel;
    QCheckBox& box = *new QCheckBox(&panel);
    SetControlBytes(box, "Caf\xE9 \xFF\"");
    TDataStream buffer;
    TReportConverter().AddControl(box, buffer);
    EXPECT_NE(buffer.View().find("<LABEL TEXT=\"Caf\xE9 \xFF%22\""), std::string::npos);
    // Once the control shows another text, that text is written.
    EXPECT_EQ(ControlBytes(box, QStringLiteral("Tea")), "Tea");
}

TEST(ControlBytesTest, TextBoxLinesKeepTheirBytesAcrossBreaksAndWraps) {
    QPlainTextEdit box;
    box.setFont(QFont(QStringLiteral("Arial"), 10));
    box.resize(400, 100);
    // A byte that is no UTF-8, a lone CR, a CR LF, a character outside the basic plane, a cut sequence.
    SetControlBytes(box, "ab\xFF\rcaf\xE9\r\n\xF0\x9F\x98\x80 \xE2\x82\r\n");
    EXPECT_EQ(LaidOutLines(box),
              (std::vector<std::string>{"ab\xFF", "caf\xE9", "\xF0\x9F\x98\x80 \xE2\x82"}));

    // Wrapped at a narrow width, the pieces still join to the paragraph's bytes.
    std::string paragraph;
    for (int i = 0; i < 12; ++i)
        paragraph += "word\xE9" + std::string(i % 3 ? " " : "\xFF ");
    SetControlBytes(box, paragraph);
    box.resize(90, 100);
    const std::vector<std::string> lines = LaidOutLines(box);
    EXPECT_GT(lines.size(), 2u);
    std::string joined;
    for (const std::string& line : lines)
        joined += line;
    EXPECT_EQ(joined, paragraph);

    // Text typed over the bytes is written as typed.
    box.setPlainText(QStringLiteral("new"));
    EXPECT_EQ(LaidOutLines(box), std::vector<std::string>{"new"});
}
