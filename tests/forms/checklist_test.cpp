// forms::CheckList: the sorted list with a check box per item.
#include "forms/checklist.h"

#include "tests/support/fakes.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

class ListForm : public forms::Form {
  public:
    ListForm() : Form("frmCheckListTest", "CheckList"), List1(*this, "List1") {
        List1.ItemCheck = [this](int index) { checked.push_back(index); };
    }
    forms::CheckList List1;
    std::vector<int> checked;
};

std::string columnText(HWND list, int index, int column) {
    char buf[256] = {};
    LVITEMA it{};
    it.iSubItem = column;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&it));
    return buf;
}

TEST(CheckList, KeepsItemsSortedWithTheirTicksBeforeAndAfterItsWindowExists) {
    ListForm form;
    form.List1.AddItem("delta");
    form.List1.AddItem("Bravo");
    form.List1.setSelected(1, true); // delta
    form.Load();
    ASSERT_NE(form.List1.hwnd(), nullptr);
    EXPECT_EQ(form.List1.AddItem("alpha"), 0);
    EXPECT_EQ(form.List1.AddItem("Charlie"), 2);
    ASSERT_EQ(form.List1.ListCount(), 4);
    EXPECT_EQ(form.List1.List(0), "alpha");
    EXPECT_EQ(form.List1.List(1), "Bravo");
    EXPECT_EQ(form.List1.List(2), "Charlie");
    EXPECT_EQ(form.List1.List(3), "delta");
    EXPECT_FALSE(form.List1.Selected(0));
    EXPECT_TRUE(form.List1.Selected(3));
    EXPECT_EQ(form.checked, std::vector<int>{1}); // only the tick given before loading

    form.List1.RemoveItem(0);
    EXPECT_EQ(form.List1.List(0), "Bravo");
    EXPECT_TRUE(form.List1.Selected(2));
}

TEST(CheckList, ATabStartsTheSecondColumnAndTheTextComesBackWhole) {
    ListForm form;
    form.Load();
    form.List1.AddItem("b.ocx");
    form.List1.AddItem("a.ocx");
    form.List1.setSelected(1, true);
    form.List1.setList(1, "b.ocx\t Done");
    EXPECT_EQ(form.List1.List(1), "b.ocx\t Done");
    EXPECT_EQ(columnText(form.List1.hwnd(), 1, 0), "b.ocx");
    EXPECT_EQ(columnText(form.List1.hwnd(), 1, 1), " Done");
    EXPECT_TRUE(form.List1.Selected(1)); // the tick stays
    form.List1.setList(1, "b.ocx\t");
    EXPECT_EQ(form.List1.List(1), "b.ocx\t");
    EXPECT_EQ(columnText(form.List1.hwnd(), 1, 1), "");
    form.List1.Clear();
    EXPECT_EQ(form.List1.ListCount(), 0);
}

TEST(CheckList, TicksFromCodeAndFromTheKeyboardRunItemCheck) {
    ListForm form;
    form.Load();
    form.List1.AddItem("one");
    form.List1.AddItem("two");
    EXPECT_TRUE(form.checked.empty()); // adding is no tick
    form.List1.setSelected(0, true);
    form.List1.setSelected(0, true); // no change, no event
    EXPECT_EQ(form.checked, std::vector<int>{0});

    // The first item carries the focus mark from the start: space ticks it.
    SendMessageA(form.List1.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(form.List1.hwnd(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_FALSE(form.List1.Selected(0));
    EXPECT_EQ(form.checked, (std::vector<int>{0, 0}));
    form.checked.clear();

    // The space bar ticks the focused item.
    form.List1.setListIndex(1);
    EXPECT_EQ(form.List1.ListIndex(), 1);
    SendMessageA(form.List1.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(form.List1.hwnd(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(form.List1.Selected(1));
    EXPECT_EQ(form.checked, std::vector<int>{1});
    SendMessageA(form.List1.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(form.List1.hwnd(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_FALSE(form.List1.Selected(1));
}

} // namespace
