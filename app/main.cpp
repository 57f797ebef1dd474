// Fetchlets: creates the main window, which runs the start-up sequence, and
// runs the message loop until the last window is gone.
#include "app/frmMain.h"
#include "downloads/downloads.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::Services& services = platform::systemServices();
    services.downloads = &downloads::systemDownloads(services);
    app::frmMain main(services);
    main.Load();
    if (!main.isLoaded())
        return 0; // another copy runs, or the window could not be created
    main.Show();
    return forms::run();
}
