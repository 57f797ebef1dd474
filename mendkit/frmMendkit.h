// Mendkit's one window: lists the OCX component files found in the program's
// folder, copies the ticked ones into the system folder when they are missing
// there, registers each with regsvr32.exe and ends.
#pragma once

#include "forms/checklist.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "platform/pure/endpoints.h"
#include "platform/services.h"

#include <commctrl.h>

#include <string>

class frmMendkit : public forms::Form {
  public:
    explicit frmMendkit(platform::Services& services);
    ~frmMendkit() override;

    // The maker's homepage, shown by lblHomepage and opened when it is clicked.
    static constexpr const char* kHomepage = platform::endpoints::kProductHomePage;
    // How long one registration may take before its item counts as failed
    // (and its regsvr32.exe is ended).
    static constexpr unsigned long kRegistrationTimeoutMs = 30000;
    unsigned long registrationTimeoutMs = kRegistrationTimeoutMs;
    // Widest line of a name in the closing message, in characters.
    static constexpr size_t kNameWidth = 48;

    forms::CheckList List1;
    forms::CommandButton Command1;
    forms::CommandButton Command2;
    forms::Image ImgHomepage;
    forms::Label lblHomepage;

    // The two folders, each with a trailing backslash (set when loading).
    const std::string& programFolder() const { return programFolder_; }
    const std::string& systemFolder() const { return systemFolder_; }

  protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  private:
    void Command1_Click();
    void Command2_Click();
    void lblHomepage_Click();
    // Ends the program: the window goes, and with it the message loop.
    void endProgram();
    // Copies a missing component into the system folder of its kind (32- or
    // 64-bit) and registers it there with that folder's regsvr32.exe; true
    // when both succeeded.
    bool repair(const std::string& name);

    platform::Services& services_;
    std::string programFolder_;
    std::string systemFolder_;
    std::string wow64Folder_; // empty on 32-bit Windows
    std::string windowsFolder_;
    // The controls show these: they live as long as the window.
    platform::Icon fixPicture_;
    platform::Font linkFont_;
    platform::Icon homepagePicture_;
    bool busy_ = false;
};
