#include "ui/pictures.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A set of pictures frees every icon it made, however many it holds.
TEST(Pictures, PictureSetFreesEveryIcon) {
    std::vector<HICON> made;
    {
        ui::PictureSet set;
        for (int i = 0; i < 80; ++i)
            made.push_back(set.add(ui::Picture::Home, 16));
    }
    int left = 0;
    for (HICON icon : made) {
        ICONINFO ii{};
        if (GetIconInfo(icon, &ii)) {
            ++left;
            DeleteObject(ii.hbmColor);
            DeleteObject(ii.hbmMask);
        }
    }
    EXPECT_EQ(left, 0);
}

} // namespace
