#include "downloads/download_list.h"

#include "platform/handles.h"
#include "platform/utf8.h"

#include <commctrl.h>

namespace downloads {

DownloadList::DownloadList(forms::Form& form, std::string name, std::vector<std::string> columns,
                           std::vector<int> widthsPx, int progressColumn)
    : Control(form, std::move(name), forms::Kind::Custom), columns_(std::move(columns)),
      widths_(std::move(widthsPx)), progressColumn_(progressColumn) {
    width_ = 6000;
    height_ = 3000;
}

HWND DownloadList::createWindow(HWND parent) {
    DWORD style = WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL;
    return makeWindow(parent, WC_LISTVIEWA, "", style, WS_EX_CLIENTEDGE);
}

void DownloadList::afterCreate() {
    if (!hwnd_)
        return;
    DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP;
    SendMessageW(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
    for (size_t i = 0; i < columns_.size(); ++i) {
        std::wstring text = platform::widen(columns_[i]);
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = text.data();
        col.cx = i < widths_.size() ? widths_[i] : 100;
        col.iSubItem = static_cast<int>(i);
        SendMessageW(hwnd_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
    }
    // Rows tall enough for a readable bar: a list view takes its row height
    // from its small-image list.
    int rowHeight = MulDiv(20, forms::screenDpi(), 96);
    if (HIMAGELIST spacer = ImageList_Create(1, rowHeight, ILC_COLOR, 0, 1))
        ListView_SetImageList(hwnd_, spacer, LVSIL_SMALL);
    for (int r = 0; r < rowCount(); ++r)
        insertItem(r);
}

void DownloadList::insertItem(int row) {
    if (!hwnd_)
        return;
    std::wstring first = platform::widen(rows_[row].cells[0]);
    LVITEMW it{};
    it.mask = LVIF_TEXT;
    it.iItem = row;
    it.pszText = first.data();
    SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
    for (size_t c = 1; c < columns_.size(); ++c) {
        std::wstring text = platform::widen(rows_[row].cells[c]);
        LVITEMW sub{};
        sub.iSubItem = static_cast<int>(c);
        sub.pszText = text.data();
        SendMessageW(hwnd_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
    }
}

void DownloadList::addRow() {
    rows_.push_back({std::vector<std::string>(columns_.size()), -1, Plain});
    insertItem(rowCount() - 1);
}

void DownloadList::removeRow(int row) {
    if (row < 0 || row >= rowCount())
        return;
    rows_.erase(rows_.begin() + row);
    if (hwnd_)
        SendMessageW(hwnd_, LVM_DELETEITEM, row, 0);
}

void DownloadList::setCell(int row, int column, const std::string& text) {
    std::string& cell = rows_.at(row).cells.at(column);
    if (cell == text)
        return;
    cell = text;
    if (!hwnd_)
        return;
    std::wstring w = platform::widen(text);
    LVITEMW it{};
    it.iSubItem = column;
    it.pszText = w.data();
    SendMessageW(hwnd_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&it));
}

void DownloadList::setProgress(int row, int percent) {
    if (rows_.at(row).percent == percent)
        return;
    rows_[row].percent = percent;
    if (!hwnd_)
        return;
    RECT r{};
    r.top = progressColumn_;
    r.left = LVIR_BOUNDS;
    if (SendMessageW(hwnd_, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&r)))
        InvalidateRect(hwnd_, &r, FALSE);
}

void DownloadList::setTone(int row, Tone tone) {
    if (rows_.at(row).tone == tone)
        return;
    rows_[row].tone = tone;
    if (hwnd_)
        SendMessageW(hwnd_, LVM_REDRAWITEMS, row, row);
}

int DownloadList::selectedRow() const {
    if (!hwnd_)
        return -1;
    return static_cast<int>(
        SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void DownloadList::selectRow(int row) {
    if (!hwnd_)
        return;
    LVITEMW it{};
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    it.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(hwnd_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&it));
    SendMessageW(hwnd_, LVM_ENSUREVISIBLE, row, FALSE);
}

void DownloadList::drawBar(HDC dc, int row, const RECT& cell, bool selected) const {
    (void)selected; // the bar keeps its own colours on a chosen row
    FillRect(dc, &cell, GetSysColorBrush(COLOR_WINDOW));
    int percent = rows_[row].percent;
    if (percent < 0)
        return;
    RECT bar = cell;
    InflateRect(&bar, -4, -3);
    if (bar.right <= bar.left || bar.bottom <= bar.top)
        return;
    platform::Brush frame(CreateSolidBrush(RGB(188, 188, 188)));
    FrameRect(dc, &bar, frame.get());
    RECT inner = bar;
    InflateRect(&inner, -1, -1);
    RECT back = inner;
    FillRect(dc, &back, GetSysColorBrush(COLOR_WINDOW));
    RECT fill = inner;
    fill.right = inner.left + (inner.right - inner.left) * percent / 100;
    COLORREF colour = rows_[row].tone == Bad ? RGB(218, 38, 38) : RGB(6, 176, 37);
    if (rows_[row].tone == Muted)
        colour = RGB(160, 160, 160);
    platform::Brush b(CreateSolidBrush(colour));
    FillRect(dc, &fill, b.get());
    wchar_t text[8];
    wsprintfW(text, L"%d%%", percent);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, text, -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT DownloadList::onNotify(NMHDR* nm, bool& handled) {
    handled = false;
    if (nm->code == LVN_ITEMCHANGED) {
        auto* lv = reinterpret_cast<NMLISTVIEW*>(nm);
        if ((lv->uChanged & LVIF_STATE) && ((lv->uNewState ^ lv->uOldState) & LVIS_SELECTED) &&
            SelectionChanged)
            SelectionChanged();
        return 0;
    }
    if (nm->code == NM_DBLCLK) {
        if (DblClick)
            DblClick();
        return 0;
    }
    if (nm->code != NM_CUSTOMDRAW)
        return 0;
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(nm);
    handled = true;
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        int row = static_cast<int>(cd->nmcd.dwItemSpec);
        if (row < 0 || row >= rowCount())
            return CDRF_DODEFAULT;
        bool selected = SendMessageW(hwnd_, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
        if (cd->iSubItem == progressColumn_) {
            RECT r{};
            r.top = progressColumn_;
            r.left = LVIR_BOUNDS;
            SendMessageW(hwnd_, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&r));
            drawBar(cd->nmcd.hdc, row, r, selected);
            return CDRF_SKIPDEFAULT;
        }
        COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        if (cd->iSubItem == static_cast<int>(columns_.size()) - 1 && !selected) {
            switch (rows_[row].tone) {
            case Good:
                text = RGB(0, 120, 40);
                break;
            case Warning:
                text = RGB(176, 96, 0);
                break;
            case Bad:
                text = RGB(192, 0, 0);
                break;
            case Muted:
                text = GetSysColor(COLOR_GRAYTEXT);
                break;
            case Plain:
                break;
            }
        }
        cd->clrText = text;
        return CDRF_NEWFONT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

} // namespace downloads
