// The "zbm" picture format as a Qt image format plugin, linked statically into whoever uses it.
#pragma once

#include <QImageIOPlugin>

class ZippedBitmapPlugin final : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "zbm.json")

public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override;
    QImageIOHandler* create(QIODevice* device, const QByteArray& format = QByteArray()) const override;
};
