// Character set and colour names, hexadecimal image data and the report file.
#include "report/ReportFiles.h"
#include "report/ReportNames.h"

#include "markup/NoxPigger.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(NameTablesTest, CharsetsByNameAndByValue) {
    EXPECT_EQ(CharsetFromName("RUSSIAN", -1), 204);
    EXPECT_EQ(CharsetFromName("eastEurope", -1), 238);
    EXPECT_EQ(CharsetFromName("KLINGON", -1), -1);
    EXPECT_EQ(CharsetFromName("", 7), 7);
    EXPECT_EQ(CharsetToName(0), "ANSI");
    EXPECT_EQ(CharsetToName(77), "MAC");
    EXPECT_EQ(CharsetToName(186), "BALTIC");
    EXPECT_EQ(CharsetToName(3), "");
}

TEST(NameTablesTest, ColorsFromText) {
    const QColor fallback(1, 2, 3);
    const struct {
        const char* text;
        QColor color;
    } cases[] = {
        {"", fallback},
        {"#0000FF", QColor(0, 0, 255)},
        {"#12", QColor(0x12, 0, 0)},
        {"#1", QColor(1, 0, 0)},
        {"#GG80zz", QColor(0, 0x80, 0)},
        {"#a0b0c0d0", QColor(0xA0, 0xB0, 0xC0)},
        {"red", QColor(255, 0, 0)},
        {"Red", QColor(255, 0, 0)},
        {"GRAY", QColor(0xB0, 0xB0, 0xB0)},
        {"darkgray", QColor(0x80, 0x80, 0x80)},
        {"LightGray", QColor(0xE0, 0xE0, 0xE0)},
        {"purple", fallback},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorFromText(c.text, fallback), c.color) << c.text;
    EXPECT_EQ(ColorToText(QColor(0x0A, 0xBC, 0x01)), "#0ABC01");
}

TEST(NameTablesTest, HexEncodingIsTwoUpperCaseDigitsAByte) {
    EXPECT_EQ(HexEncode(std::string("\x00\x0F\xAB\xFFZ", 5)), "000FABFF5A");
    EXPECT_EQ(HexEncode(""), "");
}

TEST(NameTablesTest, WriteTextFileReplacesEvenAReadOnlyFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tmp.r"));
    WriteTextFile(path.toStdString(), "<REPORT>\r\n");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "<REPORT>\r\n");
    file.close();

    file.setPermissions(QFileDevice::ReadOwner);
    WriteTextFile(path.toStdString(), "");
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_TRUE(QFileInfo(path).isWritable());
    // Only the file itself is left: the temporary one was renamed over it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("tmp.r")});

    EXPECT_THROW(WriteTextFile(dir.filePath(QStringLiteral("no/such/folder/tmp.r")).toStdString(), "x"),
                 EStreamError);
}
