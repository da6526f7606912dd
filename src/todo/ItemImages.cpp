#include "ItemImages.h"

int item_image_count() { return 36; }
QIcon item_image(int) { return QIcon(); }
