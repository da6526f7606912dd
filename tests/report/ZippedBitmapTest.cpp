// Zipped bitmaps: the stored check-box and radio pictures, the "zbm" picture format, damaged streams.
#include "report/TZippedBitmap.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

#include <stdexcept>

namespace {

// The stored pictures as reports carry them.
const char* const kTicked =
    "5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF819881A101A86CFF5F068"
    "67D40BCA716886D19187602F166590686E5BD0C0CEB8F02E59F02F157883A1006E901E905006C4C1ABA";
const char* const kEmptyBox =
    "5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF819881A101A86CFF5"
    "FD230480F482F00FECC1EA3";
const char* const kRingDot =
    "5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF8198018CFFD433307C"
    "9ECFC0F0FE3D03C39D7206861BE60C0C1BA41118C4078983E441EA40EA41FA00B4E81BCA";
const char* const kRing =
    "5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF8198018CFFD433307C9EC"
    "FC0F0FE3D03C3FDEF10BCFF3702C3C440F2207520F5207D005BF7212B";

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
    uLongf size = static_cast<uLongf>(out.size());
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                         reinterpret_cast<const Bytef*>(packed.constData()),
                         static_cast<uLong>(packed.size())),
              Z_OK);
    out.resize(static_cast<qsizetype>(size));
    return out;
}

QByteArray Deflate(const QByteArray& plain) {
    uLongf size = compressBound(static_cast<uLong>(plain.size()));
    QByteArray out(static_cast<qsizetype>(size), '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(plain.constData()),
              static_cast<uLong>(plain.size()), Z_BEST_COMPRESSION);
    out.resize(static_cast<qsizetype>(size));
    return out;
}

QByteArray Zbm(const QByteArray& bitmapFile) {
    return "ZBM" + Deflate(bitmapFile);
}

QByteArray StoredBitmap() {
    return Inflate(QByteArray::fromHex(kTicked).mid(3));
}

void PutU32(QByteArray& b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>(v >> (8 * i));
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
        const char* hex;
        const char* drawing;
    } cases[] = {
        {kTicked, "................\n.##############.\n.#............#.\n.#............#.\n"
                  ".#..........#.#.\n.#.........##.#.\n.#.#......###.#.\n.#.##....###..#.\n"
                  ".#..##..###...#.\n.#...##.##....#.\n.#....####....#.\n.#....###.....#.\n"
                  ".#.....#......#.\n.#............#.\n.##############.\n................\n"},
        {kEmptyBox, "................\n.##############.\n.#............#.\n.#............#.\n"
                    ".#............#.\n.#............#.\n.#............#.\n.#............#.\n"
                    ".#............#.\n.#............#.\n.#............#.\n.#............#.\n"
                    ".#............#.\n.#............#.\n.##############.\n................\n"},
        {kRingDot, "................\n......###.......\n....##...##.....\n...#.......#....\n"
                   "..#...###...#...\n..#..#####..#...\n.#..#######..#..\n.#..#######..#..\n"
                   ".#..#######..#..\n..#..#####..#...\n..#...###...#...\n...#.......#....\n"
                   "....##...##.....\n......###.......\n................\n................\n"},
        {kRing, "................\n......###.......\n....##...##.....\n...#.......#....\n"
                "..#.........#...\n..#.........#...\n.#...........#..\n.#...........#..\n"
                ".#...........#..\n..#.........#...\n..#.........#...\n...#.......#....\n"
                "....##...##.....\n......###.......\n................\n................\n"},
    };
    for (const auto& c : cases) {
        const QByteArray stream = QByteArray::fromHex(c.hex);
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
    EXPECT_TRUE(QImageReader::supportedImageFormats().contains("zbm"));
}

TEST_F(ZippedBitmapTest, StreamOperationsReadAndWriteAtThePosition) {
    TZippedBitmap original(Opaque(QImage::Format_RGB32));
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    buffer.write("head");
    original.SaveToStream(buffer);
    buffer.seek(4);
    TZippedBitmap loaded;
    loaded.LoadFromStream(buffer);
    EXPECT_EQ(static_cast<const QImage&>(loaded), static_cast<const QImage&>(original));
    EXPECT_TRUE(buffer.atEnd());

    // An empty picture is refused before anything is written.
    QBuffer untouched;
    untouched.open(QIODevice::WriteOnly);
    EXPECT_THROW(TZippedBitmap().SaveToStream(untouched), std::runtime_error);
    EXPECT_EQ(untouched.size(), 0);
}

TEST_F(ZippedBitmapTest, BrokenStreamsFailWithAMessageAndChangeNothing) {
    QByteArray hugeHeader = StoredBitmap();
    PutU32(hugeHeader, 18, 1000000); // width
    PutU32(hugeHeader, 22, 1000000); // height
    QByteArray wideHeader = StoredBitmap();
    PutU32(wideHeader, 18, 30000);
    PutU32(wideHeader, 22, 30000);
    QByteArray badDepth = StoredBitmap();
    badDepth[28] = 7;
    QByteArray farPixels = StoredBitmap();
    PutU32(farPixels, 10, 0x7fffffff);
    QByteArray bomb(8 << 20, '\0'); // far more than a 16 x 16 picture holds
    bomb.replace(0, 126, StoredBitmap());
    QByteArray damaged = QByteArray::fromHex(kTicked);
    damaged[20] = static_cast<char>(damaged[20] ^ 0x55);

    const struct {
        const char* what;
        QByteArray stream;
        const char* message;
    } cases[] = {
        {"empty", QByteArray(), kNotZippedBitmap},
        {"two bytes", "ZB", kNotZippedBitmap},
        {"a plain bitmap", StoredBitmap(), kNotZippedBitmap},
        {"a tag and nothing", "ZBM", "The zipped bitmap is cut short"},
        {"not zlib", "ZBMhello, world", "The zipped bitmap is damaged"},
        {"zlib cut short", QByteArray::fromHex(kTicked).left(30), "The zipped bitmap is cut short"},
        {"damaged zlib", damaged, "The zipped bitmap is damaged"},
        {"not a bitmap", Zbm("GIF89a and so on, long enough to hold a bitmap header or two"),
         "The zipped bitmap does not hold a Windows bitmap"},
        {"header cut short", Zbm(StoredBitmap().left(30)), "The zipped bitmap is cut short"},
        {"pixels cut short", Zbm(StoredBitmap().left(100)), "The zipped bitmap is cut short"},
        {"huge header", Zbm(hugeHeader), "The zipped bitmap is too large"},
        {"too many pixels", Zbm(wideHeader), "The zipped bitmap is too large"},
        {"odd depth", Zbm(badDepth), "The zipped bitmap does not hold a Windows bitmap"},
        {"pixels far away", Zbm(farPixels), "The zipped bitmap does not hold a Windows bitmap"},
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
