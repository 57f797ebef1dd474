#include "downloads/downloads.h"

#include "downloads/frmDownloads.h"
#include "platform/pure/link_scheme.h"

namespace downloads {

DownloadsService::DownloadsService(platform::Services& services, Limits limits)
    : services_(services), limits_(limits) {}

DownloadsService::~DownloadsService() {
    shutdown();
}

frmDownloads& DownloadsService::window() {
    if (!form_)
        form_ = std::make_unique<frmDownloads>(services_, limits_);
    return *form_;
}

void DownloadsService::download(HWND owner, const std::vector<std::string>& urls) {
    std::vector<std::string> web;
    for (const auto& u : urls) {
        platform::LinkCheck c = platform::checkLink(u);
        if (c.kind == platform::LinkKind::Web)
            web.push_back(c.target);
    }
    if (web.empty())
        return;
    frmDownloads& f = window();
    bool first = !f.isLoaded();
    f.Load();
    if (first || !placed_) {
        // The window has no owner (it keeps its own taskbar button and
        // outlives a reload of the main window); it opens over the window
        // that handed the links over.
        RECT o{};
        if (owner && GetWindowRect(owner, &o)) {
            RECT w{};
            GetWindowRect(f.window(), &w);
            int x = o.left + ((o.right - o.left) - (w.right - w.left)) / 2;
            int y = o.top + ((o.bottom - o.top) - (w.bottom - w.top)) / 2;
            HMONITOR mon = MonitorFromRect(&o, MONITOR_DEFAULTTONEAREST);
            MONITORINFO mi{};
            mi.cbSize = sizeof mi;
            if (GetMonitorInfoW(mon, &mi)) {
                x = std::max<int>(mi.rcWork.left,
                                  std::min<int>(x, mi.rcWork.right - (w.right - w.left)));
                y = std::max<int>(mi.rcWork.top,
                                  std::min<int>(y, mi.rcWork.bottom - (w.bottom - w.top)));
            }
            SetWindowPos(f.window(), nullptr, x, y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        placed_ = true;
    }
    if (!f.Visible())
        f.Show();
    if (web.size() == 1)
        f.addOne(web.front());
    else
        f.addSeveral(web);
}

bool DownloadsService::confirmClose(HWND owner) {
    return confirmEnding(owner, "close");
}

bool DownloadsService::confirmRestart(HWND owner) {
    return confirmEnding(owner, "restart");
}

bool DownloadsService::confirmEnding(HWND owner, const std::string& ending) {
    if (!form_ || form_->runningCount() == 0)
        return true;
    int n = form_->runningCount();
    std::string text = n == 1 ? "A download is still running. Cancel it and " + ending + "?"
                              : std::to_string(n) +
                                    " downloads are still running. Cancel them and " + ending + "?";
    if (services_.messageBoxes &&
        services_.messageBoxes->show(owner, text, "", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) !=
            IDYES)
        return false;
    form_->cancelAll(3000);
    return true;
}

void DownloadsService::shutdown() {
    if (form_ && form_->isLoaded())
        form_->Unload(forms::vbFormCode);
}

platform::Downloads& systemDownloads(platform::Services& services) {
    static DownloadsService service(services);
    return service;
}

} // namespace downloads
