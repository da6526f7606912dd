#include "ui/ItemImages.h"

#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

namespace {
QImage image_of(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}
} // namespace

TEST(ItemImages, AllThirtySixPicturesLoadAt16PixelsAndDifferFromEachOther) {
    ASSERT_EQ(item_image_count(), 36);
    QSet<QByteArray> seen;
    for (int i = 0; i < item_image_count(); ++i) {
        QPixmap pixmap = item_pixmap(i);
        ASSERT_FALSE(pixmap.isNull()) << "picture " << i;
        EXPECT_EQ(pixmap.size(), QSize(16, 16)) << "picture " << i;
        EXPECT_FALSE(item_image(i).isNull()) << "picture " << i;
        QImage image = image_of(pixmap);
        QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
        EXPECT_FALSE(seen.contains(bytes)) << "picture " << i << " repeats an earlier one";
        seen.insert(bytes);
    }
}

TEST(ItemImages, AnIndexOutsideTheListShowsTheFirstPicture) {
    const QImage first = image_of(item_pixmap(0));
    EXPECT_EQ(image_of(item_pixmap(-1)), first);
    EXPECT_EQ(image_of(item_pixmap(36)), first);
    EXPECT_EQ(image_of(item_image(1000).pixmap(16, 16)), image_of(item_image(0).pixmap(16, 16)));
}

TEST(ItemImages, ToolPicturesAndTheApplicationIconLoad) {
    for (const char* name :
         {"add_item", "delete_item", "move_item", "search", "hour_grid", "tv_show", "stand_by"}) {
        QIcon icon = tool_icon(QString::fromLatin1(name));
        ASSERT_FALSE(icon.isNull()) << name;
        EXPECT_TRUE(icon.availableSizes().contains(QSize(24, 24))) << name;
    }
    EXPECT_TRUE(tool_icon(QStringLiteral("no_such_tool")).isNull());
    QIcon app = app_icon();
    ASSERT_FALSE(app.isNull());
    EXPECT_TRUE(app.availableSizes().contains(QSize(16, 16)));
    EXPECT_TRUE(app.availableSizes().contains(QSize(256, 256)));
}
