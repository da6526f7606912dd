// Zipped bitmaps: the stored check-box and radio pictures, the "zbm" picture format, damaged streams.
#include "report/TReportConverter.h"
#include "report/TZippedBitmap.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPixmap>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

#include <stdexcept>

namespace {

QByteArray Hex(FixedPicture picture) {
    const std::string_view hex = FixedPictureHex(picture);
    return QByteArray::fromHex(QByteArray(hex.data(), static_cast<qsizetype>(hex.size())));
}

// Dark pixels as '#', light ones as '.', one string per row.
std::string Drawing(const QImage& image) {
    std::string out;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            out += qGray(image.pixel(x, y)) < 128 ? '#' : '.';
        out += '\n';
    }
    return out;
}

QByteArray Inflate(const QByteArray& packed) {
    QByteArray out(4096, '\0');
    uLongf size = 4096;
    uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(packed.data()),
               static_cast<uLong>(packed.size()));
    return out.left(static_cast<qsizetype>(size));
}

QByteArray Zbm(const QByteArray& bitmapFile) {
    uLongf size = compressBound(static_cast<uLong>(bitmapFile.size()));
    QByteArray out(static_cast<qsizetype>(size), '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bitmapFile.data()),
              static_cast<uLong>(bitmapFile.size()), Z_BEST_COMPRESSION);
    return "ZBM" + out.left(static_cast<qsizetype>(size));
}

// The ticked box's bitmap file, with 32-bit header fields changed.
QByteArray StoredBitmap(std::initializer_list<std::pair<int, quint32>> changes = {}) {
    QByteArray b = Inflate(Hex(FixedPicture::Checked).mid(3));
    for (auto [at, value] : changes)
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<char>(value >> (8 * i));
    return b;
}

QImage Opaque(QImage::Format format) {
    QImage image(23, 7, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 11, y * 36, (x * y) % 256));
    return image.convertToFormat(format);
}

class ZippedBitmapTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterZippedBitmapFormat(); }
};

} // namespace

TEST_F(ZippedBitmapTest, StoredPicturesShowTheirBoxesAndRings) {
    const struct {
        FixedPicture picture;
        const char* drawing;
    } cases[] = {
        {FixedPicture::Checked, "................\n.##############.\n.#............#.\n.#............#.\n"
                                ".#..........#.#.\n.#.........##.#.\n.#.#......###.#.\n.#.##....###..#.\n"
                                ".#..##..###...#.\n.#...##.##....#.\n.#....####....#.\n.#....###.....#.\n"
                                ".#.....#......#.\n.#............#.\n.##############.\n................\n"},
        {FixedPicture::Unchecked, "................\n.##############.\n.#............#.\n.#............#.\n"
                                  ".#............#.\n.#............#.\n.#............#.\n.#............#.\n"
                                  ".#............#.\n.#............#.\n.#............#.\n.#............#.\n"
                                  ".#............#.\n.#............#.\n.##############.\n................\n"},
        {FixedPicture::RadioOn, "................\n......###.......\n....##...##.....\n...#.......#....\n"
                                "..#...###...#...\n..#..#####..#...\n.#..#######..#..\n.#..#######..#..\n"
                                ".#..#######..#..\n..#..#####..#...\n..#...###...#...\n...#.......#....\n"
                                "....##...##.....\n......###.......\n................\n................\n"},
        {FixedPicture::RadioOff, "................\n......###.......\n....##...##.....\n...#.......#....\n"
                                 "..#.........#...\n..#.........#...\n.#...........#..\n.#...........#..\n"
                                 ".#...........#..\n..#.........#...\n..#.........#...\n...#.......#....\n"
                                 "....##...##.....\n......###.......\n................\n................\n"},
    };
    for (const auto& c : cases) {
        const QByteArray stream = Hex(c.picture);
        // Through the picture format, as any QImage user reads it.
        QBuffer buffer;
        buffer.setData(stream);
        QImageReader reader(&buffer);
        EXPECT_EQ(reader.format(), "zbm");
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), QSize(16, 16));
        EXPECT_EQ(image.colorCount(), 2);
        EXPECT_EQ(Drawing(image), c.drawing);

        // The bitmap file inside: 126 bytes, pixels at 62, and level 9 packs it to the stored bytes again.
        const QByteArray bitmap = Inflate(stream.mid(3));
        EXPECT_EQ(bitmap.size(), 126);
        EXPECT_EQ(bitmap.left(2), "BM");
        EXPECT_EQ(static_cast<quint8>(bitmap[10]), 62);
        EXPECT_EQ(Zbm(bitmap), stream);
    }
}

TEST_F(ZippedBitmapTest, PicturesSavedAsZbmLoadBackWithTheSamePixels) {
    QTemporaryDir dir;
    for (const QImage::Format format : {QImage::Format_Mono, QImage::Format_Indexed8, QImage::Format_RGB32}) {
        const QImage original = Opaque(format);
        const QByteArray stream = TZippedBitmap::Encode(original);
        EXPECT_EQ(stream.left(5), QByteArray::fromHex("5A424D78DA"));
        EXPECT_EQ(TZippedBitmap::Decode(stream).convertToFormat(QImage::Format_RGB32),
                  original.convertToFormat(QImage::Format_RGB32));

        // A file with the extension is written and read by QImage and QPixmap like any other picture.
        const QString file = dir.filePath(QStringLiteral("picture%1.zbm").arg(format));
        ASSERT_TRUE(original.save(file));
        QImage loaded(file);
        EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32),
                  original.convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(QPixmap(file).toImage().convertToFormat(QImage::Format_RGB32),
                  original.convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_TRUE(QImageWriter::supportedImageFormats().contains("zbm"));

    // The stream operations work at the device's position; an empty picture is refused unwritten.
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    buffer.write("head");
    TZippedBitmap(Opaque(QImage::Format_RGB32)).SaveToStream(buffer);
    EXPECT_THROW(TZippedBitmap().SaveToStream(buffer), std::runtime_error);
    buffer.seek(4);
    TZippedBitmap loaded;
    loaded.LoadFromStream(buffer);
    EXPECT_EQ(static_cast<const QImage&>(loaded), Opaque(QImage::Format_RGB32));
}

TEST_F(ZippedBitmapTest, BrokenStreamsFailWithAMessageAndChangeNothing) {
    QByteArray bomb(8 << 20, '\0'); // far more than a 16 x 16 picture holds
    bomb.replace(0, 126, StoredBitmap());
    QByteArray damaged = Hex(FixedPicture::Checked);
    damaged[20] = static_cast<char>(damaged[20] ^ 0x55);

    const struct {
        const char* what;
        QByteArray stream;
        const char* message;
    } cases[] = {
        {"empty", QByteArray(), kNotZippedBitmap},
        {"a plain bitmap", StoredBitmap(), kNotZippedBitmap},
        {"a tag and nothing", "ZBM", "The zipped bitmap is cut short"},
        {"not zlib", "ZBMhello, world", "The zipped bitmap is damaged"},
        {"zlib cut short", Hex(FixedPicture::Checked).left(30), "The zipped bitmap is cut short"},
        {"damaged zlib", damaged, "The zipped bitmap is damaged"},
        {"not a bitmap", Zbm("GIF89a and so on, long enough to hold a bitmap header or two"),
         "The zipped bitmap does not hold a Windows bitmap"},
        {"header cut short", Zbm(StoredBitmap().left(30)), "The zipped bitmap is cut short"},
        {"pixels cut short", Zbm(StoredBitmap().left(100)), "The zipped bitmap is cut short"},
        {"huge sides", Zbm(StoredBitmap({{18, 1000000}, {22, 1000000}})), "The zipped bitmap is too large"},
        {"too many pixels", Zbm(StoredBitmap({{18, 30000}, {22, 30000}})), "The zipped bitmap is too large"},
        {"pixels far away", Zbm(StoredBitmap({{10, 0x7fffffff}})),
         "The zipped bitmap does not hold a Windows bitmap"},
        {"more data than the header says", Zbm(bomb), "The zipped bitmap is too large"},
    };
    const TZippedBitmap before(Opaque(QImage::Format_RGB32));
    for (const auto& c : cases) {
        QString error;
        EXPECT_TRUE(TZippedBitmap::Decode(c.stream, &error).isNull()) << c.what;
        EXPECT_EQ(error.toStdString(), c.message) << c.what;

        TZippedBitmap picture = before;
        QBuffer buffer;
        buffer.setData(c.stream);
        buffer.open(QIODevice::ReadOnly);
        try {
            picture.LoadFromStream(buffer);
            ADD_FAILURE() << c.what << " loaded";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), c.message) << c.what;
        }
        EXPECT_EQ(static_cast<const QImage&>(picture), static_cast<const QImage&>(before)) << c.what;
    }
}
