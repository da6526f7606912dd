// Feeds bytes to the zipped bitmap reader twice: as a zipped bitmap stream, and as the bitmap file inside
// one (zipped here, since mutated zlib data seldom gets past the checksum). A picture that is read must
// survive a save and a load unchanged; anything else must fail with a message, within bounded memory.
#include "report/TZippedBitmap.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>

namespace {

void Check(const QByteArray& stream) {
    QString error;
    const QImage image = TZippedBitmap::Decode(stream, &error);
    if (image.isNull()) {
        if (error.isEmpty()) std::abort(); // a failure without a message
        return;
    }
    const QImage again = TZippedBitmap::Decode(TZippedBitmap::Encode(image), &error);
    // The bitmap form keeps no alpha channel: compare what it keeps.
    if (again.convertToFormat(QImage::Format_RGB32) != image.convertToFormat(QImage::Format_RGB32))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));

    uLongf packed = compressBound(static_cast<uLong>(size));
    QByteArray zipped(3 + static_cast<qsizetype>(packed), '\0');
    zipped.replace(0, 3, "ZBM");
    if (compress2(reinterpret_cast<Bytef*>(zipped.data() + 3), &packed, data, static_cast<uLong>(size), 1) ==
        Z_OK) {
        zipped.resize(3 + static_cast<qsizetype>(packed));
        Check(zipped);
    }
    return 0;
}
