#include "report/ZippedBitmapHandler.h"

#include "report/TZippedBitmap.h"

#include <QIODevice>

#include <stdexcept>

bool ZippedBitmapHandler::canRead() const {
    if (!canRead(device())) return false;
    setFormat(kZippedBitmapFormat);
    return true;
}

bool ZippedBitmapHandler::canRead(QIODevice* device) {
    return device && device->peek(3) == "ZBM";
}

bool ZippedBitmapHandler::read(QImage* image) {
    if (!device() || !image) return false;
    TZippedBitmap picture;
    try {
        picture.LoadFromStream(*device());
    } catch (const std::runtime_error& e) {
        qWarning("%s", e.what());
        return false;
    }
    *image = picture;
    return true;
}

bool ZippedBitmapHandler::write(const QImage& image) {
    if (!device()) return false;
    try {
        TZippedBitmap(image).SaveToStream(*device());
    } catch (const std::runtime_error& e) {
        qWarning("%s", e.what());
        return false;
    }
    return true;
}
