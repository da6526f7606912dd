#include "TF_plugins.h"
#include "WindowRegistry.h"

#include <gtest/gtest.h>

TEST(TF_plugins, IsAnEmptyWindowCaptionedPlugins) {
    WindowRegistry reg;
    TF_plugins plugins(reg);
    EXPECT_EQ(plugins.windowTitle(), "Plugins");
    EXPECT_TRUE(plugins.findChildren<QWidget*>().isEmpty());
    EXPECT_FALSE(plugins.isVisible());
}
