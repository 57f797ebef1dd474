#include "app/pure/text_rules.h"

namespace app {

std::string versionText(int major, int minor, int revision) {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision) +
           " RC5";
}

bool trimParenthesis(std::string& text) {
    size_t open = text.rfind('(');
    if (open == std::string::npos)
        return false;
    text.resize(open);
    return true;
}

std::string creditsText() {
    return "The Fetchlets team would like to acknowledge the following Contributors: \r\n"
           " \r\n"
           "Icons: the Tango Desktop Project's public-domain icon set\r\n"
           "App suggestions: the users who sent their favourite free tools\r\n"
           "\r\n"
           "Catalog: most entries are based on the download pages of the applications' own "
           "publishers";
}

} // namespace app
