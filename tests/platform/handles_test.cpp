#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "platform/handles.h"

namespace {

bool alive(HGDIOBJ h) {
    return GetObjectType(h) != 0;
}

// An owner frees its object when it goes, when given another, and never twice:
// a moved-from owner and a reset to the object it holds free nothing.
TEST(Handles, OwnersFreeOnceAndOnlyTheirOwn) {
    HBRUSH first = CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH second = CreateSolidBrush(RGB(4, 5, 6));
    {
        platform::Brush a(first);
        a.reset(first); // the same object again: still held
        EXPECT_TRUE(alive(first));
        platform::Brush b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), first);
        b.reset(second);
        EXPECT_FALSE(alive(first));
        EXPECT_TRUE(alive(second));
        HBRUSH kept = b.release();
        EXPECT_EQ(kept, second);
    }
    EXPECT_TRUE(alive(second)); // released: the caller owns it now
    DeleteObject(second);
}

// The object selected into a device context goes back out before the owner
// frees it, so the font is really freed (a selected object is not).
TEST(Handles, SelectedPutsTheFormerObjectBack) {
    platform::MemoryDC dc(nullptr);
    ASSERT_TRUE(dc);
    HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_FONT);
    HFONT made = nullptr;
    {
        platform::Font font(
            CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
        made = font.get();
        platform::Selected keep(dc.get(), font.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), made);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), before);
    EXPECT_FALSE(alive(made));
}

} // namespace
