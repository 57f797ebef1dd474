// The program's Downloads service: links handed over go to the Downloads
// window, which asks where to save them and transfers them on worker threads.
#pragma once

#include "downloads/transfer.h"
#include "platform/services.h"

#include <memory>

namespace downloads {

class frmDownloads;

class DownloadsService : public platform::Downloads {
  public:
    explicit DownloadsService(platform::Services& services, Limits limits = {});
    ~DownloadsService() override;

    void download(HWND owner, const std::vector<std::string>& urls) override;
    bool confirmClose(HWND owner) override;
    bool confirmRestart(HWND owner) override;
    void shutdown() override;

    // The window, created on first use.
    frmDownloads& window();

  private:
    // Asks before the program closes or restarts (`ending`: "close", "restart").
    bool confirmEnding(HWND owner, const std::string& ending);
    platform::Services& services_;
    Limits limits_;
    std::unique_ptr<frmDownloads> form_;
    bool placed_ = false;
};

// The one Downloads service of the program, over the given services (their
// message boxes, file dialogs and shell).
platform::Downloads& systemDownloads(platform::Services& services);

} // namespace downloads
