// Reads and writes "zbm" pictures for QImageReader and QImageWriter.
#pragma once

#include <QImageIOHandler>

class ZippedBitmapHandler final : public QImageIOHandler {
public:
    bool canRead() const override;
    bool read(QImage* image) override;
    bool write(const QImage& image) override;

    // Whether the device's next bytes start a zipped bitmap; the device's position stays.
    static bool canRead(QIODevice* device);
};
