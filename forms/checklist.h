// A sorted list with a check box in front of every item: the system's list
// view in report mode with check boxes, so the space bar ticks the focused
// item and screen readers announce each item's state. A TAB in an item's text
// starts a second column (as a list box with tab stops shows it); the text
// before the TAB decides the sort order.
#pragma once

#include "forms/controls.h"

#include <functional>
#include <string>
#include <vector>

namespace forms {

class CheckList : public Control {
  public:
    CheckList(Form& form, std::string name, bool sorted = true);

    // Adds an item, unticked; returns its index.
    int AddItem(const std::string& item);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const;
    std::string List(int index) const;
    // Replaces an item's text; its tick and position stay.
    void setList(int index, const std::string& text);
    // Whether an item is ticked.
    bool Selected(int index) const;
    // Ticks or unticks an item; runs ItemCheck when that changes it.
    void setSelected(int index, bool ticked);
    // The focused (highlighted) item, or -1.
    int ListIndex() const;
    void setListIndex(int index);
    void Move(int left, int top, int width, int height) override;

    // The highlighted item changed.
    std::function<void()> Click;
    // An item was ticked or unticked (by the user or from code).
    std::function<void(int index)> ItemCheck;

  protected:
    HWND createWindow(HWND parent) override;
    void afterCreate() override;
    void onDestroy() override;
    LRESULT onNotify(NMHDR*, bool& handled) override;

  private:
    struct Item {
        std::string text;
        bool ticked = false;
    };
    int insert(const Item& item);
    int pendingPosition(const std::string& text) const;
    void fitColumns();

    bool sorted_;
    bool inserting_ = false;
    std::vector<Item> pending_;
};

} // namespace forms
