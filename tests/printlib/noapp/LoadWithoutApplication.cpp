// The library loaded into a program that has no Qt application: it answers, but prints nothing.
#include "printlib/PrintResult.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>

TEST(LoadWithoutApplication, FailsCleanlyWithANegativeResult) {
    void* handle = dlopen(QM_PRINTLIB_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    auto print = reinterpret_cast<int32_t (*)(const char*, int32_t)>(dlsym(handle, "print_report"));
    auto active = reinterpret_cast<int32_t (*)()>(dlsym(handle, "has_active_processes"));
    ASSERT_TRUE(print && active);
    EXPECT_EQ(print("tmp.r", 0), PrintResult::kNoApplication);
    EXPECT_EQ(print(nullptr, 0), PrintResult::kNoApplication);
    EXPECT_EQ(active(), 0);
    EXPECT_EQ(dlclose(handle), 0);
}
