// Zipped bitmaps: "ZBM" followed by a zlib stream of a complete Windows bitmap file. This is how
// pictures travel inside reports, and the "zbm" picture format for files.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QIODevice;

// The messages a load or save fails with.
inline constexpr char kNotZippedBitmap[] = "Not a zipped bitmap";
inline constexpr char kCompressorMissing[] = "Compressor library NoxComp.dll not found";

// The picture format's name as QImageReader and QImageWriter know it, and its description.
inline constexpr char kZippedBitmapFormat[] = "zbm";
inline constexpr char kZippedBitmapDescription[] = "Zipped bitmap";

// A picture whose stream form is the zipped bitmap; everything else is the QImage's own.
class TZippedBitmap : public QImage {
public:
    TZippedBitmap() = default;
    explicit TZippedBitmap(const QImage& image) : QImage(image) {}

    // Reads a zipped bitmap from the device's position to its end and becomes that picture. Throws
    // std::runtime_error with a message for the user; the picture is then unchanged.
    void LoadFromStream(QIODevice& source);
    // Writes the picture as a zipped bitmap at the device's position. Throws std::runtime_error; nothing
    // is written when the picture cannot be encoded.
    void SaveToStream(QIODevice& destination) const;

    // The picture in a whole zipped bitmap stream, or a null image and the reason in error.
    static QImage Decode(const QByteArray& stream, QString* error = nullptr);
    // The zipped bitmap stream of a picture (level 9); empty for a null image.
    static QByteArray Encode(const QImage& image);

    // Limits on what a stream may ask for: a damaged or hostile stream fails instead of exhausting memory.
    static constexpr qint64 kMaxStreamBytes = 256ll << 20;
    static constexpr int kMaxSide = 32767;
    static constexpr qint64 kMaxPixelBytes = 256ll << 20; // as decoded, at 32 bits a pixel
};

// Makes "zbm" known to QImage, QImageReader and QImageWriter (and so QPixmap). Programs that link this
// library call it once after creating the application object, or write Q_IMPORT_PLUGIN(ZippedBitmapPlugin).
void RegisterZippedBitmapFormat();
