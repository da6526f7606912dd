// The item image list: 36 pictures of 16 x 16, index 0 for new items, 35 (a television) for TV shows.
#pragma once

#include <QIcon>

int item_image_count();
QIcon item_image(int index);
