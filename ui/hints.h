// Hover hints of the main window: a line of help in the status bar for the
// Home page's buttons and images, and the version line when the pointer
// moves over the toolbar on the Home, Options or About page. A hint stays
// until another replaces it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ui {

class Hints {
  public:
    // `write` puts a text into the status bar's hint panel.
    explicit Hints(std::function<void(const std::string&)> write) : write_(std::move(write)) {}

    // The hint of a control (mouse entered a Home button or moved over an
    // image); controls without a hint change nothing.
    void show(const std::string& control);
    // The pointer moved over the toolbar while the outer page stack shows
    // `outerPage`: the version line, built anew, on Home, Options and About.
    void toolbarMoved(int outerPage, const std::function<std::string()>& versionLine);

    // The hint text of a control, or nullptr.
    static const char* textOf(const std::string& control);
    // The controls that have a hint, by name.
    static std::vector<std::string> controlNames();

  private:
    std::function<void(const std::string&)> write_;
};

} // namespace ui
