#include "ui/ItemImages.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <array>
#include <initializer_list>

// The resources live in a static library, so the linker drops them unless someone refers to their
// initializer; the macro must be used outside any namespace.
static void init_picture_resources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

namespace {

constexpr int kItemImageCount = 36;
constexpr int kItemSize = 16;
constexpr int kToolSize = 24;

QPixmap render_svg(QSvgRenderer& renderer, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

// The picture rendered at its own size and at twice that for high-density screens; views pick the
// crisp one. A missing or broken file gives null results.
struct Picture {
    QIcon icon;
    QPixmap pixmap; // at the first size
};

Picture load_picture(const QString& path, std::initializer_list<int> sizes) {
    init_picture_resources();
    Picture picture;
    if (!QFile::exists(path)) return picture;
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) return picture;
    for (int size : sizes) {
        QPixmap pixmap = render_svg(renderer, size);
        if (picture.pixmap.isNull()) picture.pixmap = pixmap;
        picture.icon.addPixmap(pixmap);
    }
    return picture;
}

// Rendered once per application. Pixmaps must not outlive the application object, so the cache is
// dropped when it goes away.
struct Cache {
    std::array<Picture, kItemImageCount> items;
    QHash<QString, QIcon> tools;
    QIcon app;
};

Cache* cache = nullptr;

void drop_cache() {
    delete cache;
    cache = nullptr;
}

Cache& pictures() {
    if (!cache) {
        cache = new Cache;
        for (int i = 0; i < kItemImageCount; ++i)
            cache->items[i] = load_picture(QStringLiteral(":/items/%1.svg").arg(i, 2, 10, QLatin1Char('0')),
                                           {kItemSize, 2 * kItemSize});
        cache->app = load_picture(QStringLiteral(":/quillmarch.svg"), {16, 24, 32, 48, 64, 128, 256}).icon;
        qAddPostRoutine(drop_cache);
    }
    return *cache;
}

int valid_index(int index) {
    return index >= 0 && index < kItemImageCount ? index : 0;
}

} // namespace

int item_image_count() {
    return kItemImageCount;
}

QIcon item_image(int index) {
    return pictures().items[valid_index(index)].icon;
}

QPixmap item_pixmap(int index) {
    return pictures().items[valid_index(index)].pixmap;
}

QIcon tool_icon(const QString& name) {
    auto& tools = pictures().tools;
    auto it = tools.find(name);
    if (it == tools.end())
        it = tools.insert(
            name, load_picture(QStringLiteral(":/tools/%1.svg").arg(name), {kToolSize, 2 * kToolSize}).icon);
    return *it;
}

QIcon app_icon() {
    return pictures().app;
}
