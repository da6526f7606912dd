#include "ProgramFixture.h"
#include "dialogs/TF_plugins.h"

#include <gtest/gtest.h>

TEST(TF_plugins, IsAnEmptyWindowCaptionedPlugins) {
    TestProgram program;
    TF_plugins plugins(program.reg());
    EXPECT_EQ(plugins.windowTitle(), "Plugins");
    EXPECT_TRUE(plugins.findChildren<QWidget*>().isEmpty());
    EXPECT_FALSE(plugins.isVisible());
}
