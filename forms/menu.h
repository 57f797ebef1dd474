// Pop-up menus: a named menu of named items, shown at the pointer by the form.
// The choice can be made by a chooser function instead of the modal menu loop,
// so that tests pick an item without a real menu.
#pragma once

#include "forms/controls.h"

#include <functional>
#include <string>
#include <deque>
#include <vector>

namespace forms {

class MenuItem {
  public:
    MenuItem(std::string name, std::string caption)
        : name_(std::move(name)), caption_(std::move(caption)) {}
    const std::string& name() const { return name_; }
    std::string Caption;
    bool Visible = true;
    bool Enabled = true;
    bool Checked = false;
    // Shown in bold: the item a double click would choose.
    bool Default = false;
    std::function<void()> Click;

  private:
    friend class PopupMenu;
    std::string name_;
    std::string caption_;
};

class PopupMenu : public Control {
  public:
    PopupMenu(Form& form, std::string name);
    // Adds an item; a caption of "-" is a separator.
    MenuItem& add(std::string name, std::string caption);
    std::deque<MenuItem>& items() { return items_; }
    MenuItem* item(const std::string& name);
    void Move(int, int, int, int) override {}

    // Shows the menu at the pointer and runs the chosen item's Click.
    // Returns the chosen item, or nullptr when none was chosen.
    MenuItem* Popup();

    // Replaces the modal menu loop for every menu (nullptr restores it): the
    // function gets the menu and returns the index of the chosen item or -1.
    static void setChooser(std::function<int(PopupMenu&)> chooser);

  protected:
    HWND createWindow(HWND parent) override;

  private:
    HWND owner_ = nullptr;
    std::deque<MenuItem> items_; // stable addresses for the references add() returns
};

} // namespace forms
