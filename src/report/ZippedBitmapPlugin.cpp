#include "report/ZippedBitmapPlugin.h"

#include "report/TZippedBitmap.h"
#include "report/ZippedBitmapHandler.h"

#include <QtPlugin>

QImageIOPlugin::Capabilities ZippedBitmapPlugin::capabilities(QIODevice* device,
                                                              const QByteArray& format) const {
    if (format == kZippedBitmapFormat) return CanRead | CanWrite;
    if (!format.isEmpty() || !device || !device->isOpen()) return {};
    Capabilities caps;
    if (device->isReadable() && ZippedBitmapHandler::canRead(device)) caps |= CanRead;
    if (device->isWritable()) caps |= CanWrite;
    return caps;
}

QImageIOHandler* ZippedBitmapPlugin::create(QIODevice* device, const QByteArray& format) const {
    auto* handler = new ZippedBitmapHandler;
    handler->setDevice(device);
    handler->setFormat(format.isEmpty() ? QByteArray(kZippedBitmapFormat) : format);
    return handler;
}

// The moc output of this class, built with QT_STATICPLUGIN, defines qt_static_plugin_ZippedBitmapPlugin().
extern const QStaticPlugin qt_static_plugin_ZippedBitmapPlugin();

void RegisterZippedBitmapFormat() {
    static const bool registered = [] {
        qRegisterStaticPluginFunction(qt_static_plugin_ZippedBitmapPlugin());
        return true;
    }();
    (void)registered;
}
