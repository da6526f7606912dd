// A document's storage grows with what the document holds, not with how it was read or edited.
#include "markup/NoxPigger.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define QM_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_TEST_ASAN 1
#endif
#endif

#ifdef QM_TEST_ASAN
// Not every compiler ships the header that declares it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

size_t HeapInUse() {
#ifdef QM_TEST_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
#endif
}

} // namespace

TEST(StorageGrowth, TextBetweenChildrenTakesRoomInProportionToTheFile) {
    // A hand-made file: a letter of text after each of many empty children.
    std::string text = "<A>";
    for (int i = 0; i < 10000; ++i)
        text += "x<B/>";
    text += "</A>";

    const size_t before = HeapInUse();
    TNoxPigger root;
    root.SetText(text);
    const size_t used = HeapInUse() - before;

    EXPECT_EQ(root.Text.size(), 10000u);
    EXPECT_LT(used, 40 * text.size()) << used << " bytes for a " << text.size() << "-byte text";
}

TEST(StorageGrowth, CopiesAddedToALoadedDocumentAndDeletedLeaveNothingBehind) {
    std::string text = "<LIST>";
    for (int i = 0; i < 2000; ++i)
        text +=
            "<DAY D=\"" + std::to_string(i) + "\"><TASK N=\"a task\" C=\"1\">something to do</TASK></DAY>";
    text += "</LIST>";
    TNoxPigger root;
    root.SetText(text);
    TNoxPigger* day = root.Child(0);
    const std::string big(100000, 'q');
    day->Child(0)->Text = big;

    const size_t before = HeapInUse();
    for (int round = 0; round < 50; ++round) {
        // As an item is copied to another day and the copy deleted again.
        auto copy = std::make_unique<TNoxPigger>();
        copy->SetText(NormalizeLineBreaks(day->Child(0)->GetText()));
        copy->SetParent(root.Child(1));
        delete copy.release();
    }
    const size_t grown = HeapInUse() - before;
    EXPECT_LT(grown, 2 * big.size()) << grown << " bytes kept after 50 copies were deleted";
}
