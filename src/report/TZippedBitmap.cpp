#include "report/TZippedBitmap.h"

#include <QBuffer>
#include <QIODevice>
#include <QImageReader>

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace {

constexpr char kTag[] = "ZBM";
constexpr int kTagSize = 3;

constexpr char kDamaged[] = "The zipped bitmap is damaged";
constexpr char kCutShort[] = "The zipped bitmap is cut short";
constexpr char kNoBitmap[] = "The zipped bitmap does not hold a Windows bitmap";
constexpr char kTooLarge[] = "The zipped bitmap is too large";
constexpr char kUnreadable[] = "The picture in the zipped bitmap cannot be read";
constexpr char kEmptyPicture[] = "An empty picture cannot be saved as a zipped bitmap";

// File header, then at least the part of the information header that gives size, depth and format.
constexpr int kFileHeader = 14;
constexpr int kHeadBytes = kFileHeader + 40;
// Room for a colour table, masks or a colour profile between the headers and the pixels.
constexpr qint64 kMaxPixelOffset = 1 << 20;
// Some writers leave a little more after the pixels than the header asks for.
constexpr qint64 kTrailingSlack = 64 << 10;

// zlib is built into the program; the library message stays for a zlib of the wrong kind at run time.
bool CompressorAvailable() {
    const char* version = zlibVersion();
    return version && version[0] == ZLIB_VERSION[0];
}

uint32_t U16(const QByteArray& b, int at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}

uint32_t U32(const QByteArray& b, int at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

// Inflates a zlib stream step by step into a buffer that grows only as data arrives.
class Inflater {
public:
    Inflater(const char* data, qint64 size) {
        zs_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        zs_.avail_in = static_cast<uInt>(size);
        ok_ = inflateInit(&zs_) == Z_OK;
    }
    ~Inflater() {
        if (ok_) inflateEnd(&zs_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Inflates until `want` bytes are out or the stream ends. Returns an error message, or nullptr.
    const char* InflateTo(qint64 want) {
        if (!ok_) return kCompressorMissing;
        while (!ended_ && out_.size() < want) {
            const qint64 have = out_.size();
            const qint64 room = std::min(want, std::max<qint64>(have * 2, 4096));
            out_.resize(room);
            zs_.next_out = reinterpret_cast<Bytef*>(out_.data() + have);
            zs_.avail_out = static_cast<uInt>(room - have);
            const int rc = inflate(&zs_, Z_NO_FLUSH);
            out_.resize(room - zs_.avail_out);
            if (rc == Z_STREAM_END) {
                ended_ = true;
            } else if (rc == Z_BUF_ERROR || (rc == Z_OK && zs_.avail_in == 0 && zs_.avail_out > 0)) {
                return kCutShort;
            } else if (rc != Z_OK) {
                return rc == Z_MEM_ERROR ? kTooLarge : kDamaged;
            }
        }
        return nullptr;
    }
    bool Ended() const { return ended_; }
    const QByteArray& Out() const { return out_; }

private:
    z_stream zs_{};
    QByteArray out_;
    bool ok_ = false;
    bool ended_ = false;
};

// What a bitmap file may hold at most, from its headers, or an error. `minimum` is what it must hold.
const char* BitmapBounds(const QByteArray& head, qint64& minimum, qint64& maximum) {
    if (head.size() < kFileHeader + 4 || head[0] != 'B' || head[1] != 'M') return kNoBitmap;
    const qint64 offset = U32(head, 10);
    const uint32_t infoSize = U32(head, kFileHeader);
    qint64 width = 0, height = 0;
    uint32_t bits = 0, compression = 0;
    if (infoSize == 12) {
        if (head.size() < kFileHeader + 12) return kCutShort;
        width = U16(head, 18);
        height = U16(head, 20);
        bits = U16(head, 24);
    } else if (infoSize >= 40 && infoSize <= 124) {
        if (head.size() < kFileHeader + 40) return kCutShort;
        width = static_cast<int32_t>(U32(head, 18));
        height = static_cast<int32_t>(U32(head, 22));
        bits = U16(head, 28);
        compression = U32(head, 30);
    } else {
        return kNoBitmap;
    }
    if (height < 0) height = -height; // rows stored top to bottom
    if (width <= 0 || height <= 0) return kNoBitmap;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return kNoBitmap;
    if (compression > 3) return kNoBitmap;
    if (width > TZippedBitmap::kMaxSide || height > TZippedBitmap::kMaxSide ||
        width * height * 4 > TZippedBitmap::kMaxPixelBytes)
        return kTooLarge;
    if (offset < kFileHeader + infoSize || offset > kMaxPixelOffset) return kNoBitmap;

    const qint64 raw = (width * bits + 31) / 32 * 4 * height;
    if (compression == 1 || compression == 2) {
        // Run-length data has no fixed size; at worst it takes two bytes a pixel plus row and end marks.
        const qint64 worst = 2 * raw + 4 * height + 16;
        minimum = offset;
        maximum = offset + worst + kTrailingSlack;
    } else {
        minimum = offset + raw;
        maximum = minimum + kTrailingSlack;
    }
    return nullptr;
}

QImage DecodePayload(const char* data, qint64 size, QString* error) {
    auto fail = [error](const char* message) {
        if (error) *error = QString::fromLatin1(message);
        return QImage();
    };
    if (!CompressorAvailable()) return fail(kCompressorMissing);
    if (size > TZippedBitmap::kMaxStreamBytes) return fail(kTooLarge);

    Inflater inflater(data, size);
    if (const char* message = inflater.InflateTo(kHeadBytes)) return fail(message);
    qint64 minimum = 0, maximum = 0;
    if (const char* message = BitmapBounds(inflater.Out(), minimum, maximum)) return fail(message);
    // One byte past the bound tells a stream that runs on from one that ends there.
    if (const char* message = inflater.InflateTo(maximum + 1)) return fail(message);
    if (!inflater.Ended()) return fail(kTooLarge);
    if (inflater.Out().size() < minimum) return fail(kCutShort);

    QBuffer buffer;
    buffer.setData(inflater.Out());
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    if (image.isNull()) return fail(kUnreadable);
    if (error) error->clear();
    return image;
}

} // namespace

QImage TZippedBitmap::Decode(const QByteArray& stream, QString* error) {
    if (stream.size() < kTagSize || std::memcmp(stream.constData(), kTag, kTagSize) != 0) {
        if (error) *error = QString::fromLatin1(kNotZippedBitmap);
        return {};
    }
    return DecodePayload(stream.constData() + kTagSize, stream.size() - kTagSize, error);
}

QByteArray TZippedBitmap::Encode(const QImage& image) {
    if (image.isNull() || !CompressorAvailable()) return {};
    QBuffer bitmap;
    bitmap.open(QIODevice::WriteOnly);
    if (!image.save(&bitmap, "BMP")) return {};
    const QByteArray& plain = bitmap.data();
    uLongf packedSize = compressBound(static_cast<uLong>(plain.size()));
    QByteArray out(kTagSize + static_cast<qsizetype>(packedSize), Qt::Uninitialized);
    std::memcpy(out.data(), kTag, kTagSize);
    if (compress2(reinterpret_cast<Bytef*>(out.data() + kTagSize), &packedSize,
                  reinterpret_cast<const Bytef*>(plain.constData()), static_cast<uLong>(plain.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return {};
    out.resize(kTagSize + static_cast<qsizetype>(packedSize));
    return out;
}

void TZippedBitmap::LoadFromStream(QIODevice& source) {
    if (!CompressorAvailable()) throw std::runtime_error(kCompressorMissing);
    const QByteArray tag = source.read(kTagSize);
    if (tag.size() != kTagSize || std::memcmp(tag.constData(), kTag, kTagSize) != 0)
        throw std::runtime_error(kNotZippedBitmap);
    // Read in pieces up to the limit, so an endless device fails instead of filling memory.
    QByteArray payload;
    for (;;) {
        const QByteArray piece = source.read(1 << 16);
        if (piece.isEmpty()) break;
        if (payload.size() + piece.size() > kMaxStreamBytes) throw std::runtime_error(kTooLarge);
        payload += piece;
    }
    QString error;
    QImage image = DecodePayload(payload.constData(), payload.size(), &error);
    if (image.isNull()) throw std::runtime_error(error.toStdString());
    QImage::operator=(std::move(image));
}

void TZippedBitmap::SaveToStream(QIODevice& destination) const {
    if (!CompressorAvailable()) throw std::runtime_error(kCompressorMissing);
    const QByteArray stream = Encode(*this);
    if (stream.isEmpty()) throw std::runtime_error(kEmptyPicture);
    if (destination.write(stream) != stream.size())
        throw std::runtime_error("Cannot write the zipped bitmap: " +
                                 destination.errorString().toStdString());
}
