// Mendkit.exe: registers the OCX components that lie beside it.
#include "mendkit/frmMendkit.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Visual styles and the list view need the common controls first.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);

    frmMendkit form(platform::systemServices());
    form.Load();
    if (!form.isLoaded())
        return 0; // a second copy, or no components to list
    form.Show();
    form.List1.SetFocus();
    return forms::run();
}
