// The Downloads window's list: the system list view in report mode with a
// column per fact and a progress bar drawn in its own column. Texts are UTF-8.
#pragma once

#include "forms/controls.h"

#include <string>
#include <vector>

namespace downloads {

class DownloadList : public forms::Control {
  public:
    enum Tone { Plain, Good, Warning, Bad, Muted };

    DownloadList(forms::Form& form, std::string name, std::vector<std::string> columns,
                 std::vector<int> widthsPx, int progressColumn);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    void addRow();
    void removeRow(int row);
    void setCell(int row, int column, const std::string& text);
    const std::string& cell(int row, int column) const { return rows_.at(row).cells.at(column); }
    // 0-100, or -1 for no bar.
    void setProgress(int row, int percent);
    int progress(int row) const { return rows_.at(row).percent; }
    // The colour of the last column's text.
    void setTone(int row, Tone tone);
    int selectedRow() const;
    void selectRow(int row);

    std::function<void()> SelectionChanged;
    std::function<void()> DblClick;

  protected:
    HWND createWindow(HWND parent) override;
    void afterCreate() override;
    LRESULT onNotify(NMHDR*, bool& handled) override;

  private:
    struct Row {
        std::vector<std::string> cells;
        int percent = -1;
        Tone tone = Plain;
    };
    void insertItem(int row);
    void drawBar(HDC dc, int row, const RECT& cellRect, bool selected) const;

    std::vector<std::string> columns_;
    std::vector<int> widths_;
    int progressColumn_;
    std::vector<Row> rows_;
};

} // namespace downloads
