#include "ui/hints.h"

#include "ui/navigation.h"

namespace ui {

namespace {

struct Hint {
    const char* control;
    const char* text;
};

const Hint kHints[] = {
    {"cmdGetApps", "Here you will find a list of the Best and most common Applications for every "
                   "purpose."},
    {"cmdGetPortable", "Here you will find a list of the most useful Portable Apps."},
    {"cmdGetSlim", "Here you will find a list of Applications that are available only in the "
                   "Slim, Toolbar-free or Lite Version."},
    {"cmdWinStarterKit", "Here you will find Essential Applications and Runtimes that must be "
                         "Installed after Installing Windows."},
    {"cmdRecommendations", "Here you will find our Recommendations to you."},
    {"cmdGetHelp", "Need Help with a App or a Computer Problem. Here you will find Direct Links "
                   "for the Best Pages, Communities, Blogs or Online Virus and Malware Scanners."},
    {"cmdDDLManager", "Here you can Download and Manage Multiple Links of your Favorite Apps."},
    {"cmdShowInstalledApps", "Creates a Text File with all Installed Applications of your System."},
    {"cmdAppSuggestions", "Anything missing? Send as an App Suggestion. Please have understanding "
                          "that we only try to Add popular user-requested Apps to Fetchlets."},
    {"ImgUpdate", "Check for Fetchlets Updates and new Signature Files."},
    {"ImgTwitter", "Share Fetchlets on Twitter."},
    {"ImgFacebook", "Like Fetchlets on Facebook."},
};

} // namespace

const char* Hints::textOf(const std::string& control) {
    for (const Hint& h : kHints)
        if (control == h.control)
            return h.text;
    return nullptr;
}

std::vector<std::string> Hints::controlNames() {
    std::vector<std::string> names;
    for (const Hint& h : kHints)
        names.push_back(h.control);
    return names;
}

void Hints::show(const std::string& control) {
    if (const char* text = textOf(control); text && write_)
        write_(text);
}

void Hints::toolbarMoved(int outerPage, const std::function<std::string()>& versionLine) {
    if (outerPage != PageHome && outerPage != PageOptions && outerPage != PageAbout)
        return;
    if (write_ && versionLine)
        write_(versionLine());
}

} // namespace ui
