// The program's pictures: the item image list (36 pictures of 16 x 16, index 0 for new items, 35 a
// television for TV shows), the tool-button pictures (24 x 24) and the application icon. All are SVG
// compiled into the program and rendered once on first use; a QGuiApplication must exist by then.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

int item_image_count();
// The picture of an item image index; an index outside the list gives picture 0.
QIcon item_image(int index);
// The same picture as a 16 x 16 pixmap.
QPixmap item_pixmap(int index);
// A tool-button picture by name: "add_item", "delete_item", "move_item", "search", "hour_grid",
// "tv_show", "stand_by". An unknown name gives a null icon.
QIcon tool_icon(const QString& name);
QIcon app_icon();
