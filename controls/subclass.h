// Window message hooks for the custom controls.
//
// One mechanism: the window procedure of a hooked window is replaced by a
// dispatcher that keeps, per window, a chain of hooks (newest on top). Each
// hook has an owner callback and a "before" and an "after" message list; for
// a message it calls the callback before and/or after the previous procedure
// (the hooks below it, then the window's original procedure). Unhooking only
// marks a hook: it leaves the chain once no message of it is inside the
// previous procedure any more, and the original window procedure is put back
// when the outermost message of the window has returned.
//
// Two faces over it: Subclasser (limited lists of 32 messages, errors written
// to the application event log) and WindowWatcher (growing lists, silent).
// All calls happen on the window's own thread.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/pure/messagelist.h"

namespace controls {

// bBefore, bHandled, lReturn, window, message, wParam, lParam, user value.
using HookCallback =
    std::function<void(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lng_hWnd, UINT uMsg,
                       WPARAM wParam, LPARAM& lParam, LONG_PTR& lParamUser)>;

class WindowHook {
  public:
    WindowHook(HWND hwnd, HookCallback cb, LONG_PTR user, int listLimit)
        : before(listLimit), after(listLimit), userValue(user), hwnd_(hwnd),
          callback_(std::move(cb)) {}

    // Installs a new hook on top of the window's chain. On failure answers
    // nothing and sets *error to the system error number.
    static std::shared_ptr<WindowHook> attach(HWND hwnd, HookCallback cb, LONG_PTR user,
                                              int listLimit, DWORD* error);

    // Marks the hook for release and empties both lists; it leaves the chain
    // as soon as none of its messages is inside the previous procedure.
    void release();

    // The previous procedure's answer for a message (the hooks below this one,
    // then the window's own procedure).
    LRESULT callPrevious(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd() const { return hwnd_; }
    bool released() const { return released_; }
    // Still part of its window's chain (false once freed or the window is gone).
    bool attached() const { return attached_; }
    int inUse() const { return inUse_; }

    MessageList before;
    MessageList after;
    LONG_PTR userValue;

  private:
    friend struct HookChain;
    HWND hwnd_;
    HookCallback callback_;
    bool released_ = false;
    bool attached_ = false;
    int inUse_ = 0;
};

// True when the window's procedure is currently the hook dispatcher.
bool isHookDispatcher(HWND hwnd);

// ---------------------------------------------------------------------------
// Subclasser: hooks with at most 32 messages per list. Each failure is written
// to the application event log as "<type name>.<routine>: <message>" (and kept
// as lastError()) instead of interrupting the caller.
class Subclasser {
  public:
    static constexpr int MSG_ENTRIES = 32;
    static constexpr long ALL_MESSAGES = kAllMessages;
    enum When { MSG_BEFORE = 1, MSG_AFTER = 2, MSG_BEFORE_AND_AFTER = 3 };

    // typeName names the owner in error texts; defaultCallback is used when
    // sc_Subclass is given no callback of its own.
    explicit Subclasser(std::string typeName, HookCallback defaultCallback = {});
    ~Subclasser();
    Subclasser(const Subclasser&) = delete;
    Subclasser& operator=(const Subclasser&) = delete;

    bool sc_Subclass(HWND hwnd, LONG_PTR userValue = 0, HookCallback callback = {});
    void sc_UnSubclass(HWND hwnd);
    void sc_ReleaseAll();
    void sc_AddMessage(HWND hwnd, long msg, int when = MSG_AFTER);
    void sc_RemoveMessage(HWND hwnd, long msg, int when = MSG_AFTER);
    LRESULT sc_CallPrevious(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LONG_PTR sc_HookValue(HWND hwnd);
    void sc_HookValue(HWND hwnd, LONG_PTR value);

    // The hook of a window (nothing, with the error logged, when there is none).
    std::shared_ptr<WindowHook> zMap_hWnd(HWND hwnd);

    const std::string& typeName() const { return typeName_; }
    const std::string& lastError() const { return lastError_; }
    // Receives each error text besides the event log (tests, diagnostics).
    std::function<void(const std::string&)> onError;

  private:
    void error(const char* routine, const std::string& message);
    static std::string keyOf(HWND hwnd);

    std::string typeName_;
    HookCallback defaultCallback_;
    bool started_ = false;
    std::vector<std::pair<std::string, std::shared_ptr<WindowHook>>> hooks_;
    std::string lastError_;
};

// ---------------------------------------------------------------------------
// WindowWatcher: hooks with growing lists that report nothing. The when
// argument numbers the other way round from Subclasser: 1 after, 2 before.
class WindowWatcher {
  public:
    using Proc = std::function<void(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lng_hWnd,
                                    UINT uMsg, WPARAM wParam, LPARAM& lParam)>;
    enum When { WATCH_AFTER = 1, WATCH_BEFORE = 2, WATCH_BOTH = 3 };
    static constexpr long ALL_MESSAGES = kAllMessages;

    explicit WindowWatcher(Proc zSubclass_Proc);
    ~WindowWatcher();
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    // Index of the window's entry (a free entry is reused before the table
    // grows); -1 when the window cannot be hooked.
    long zAttach(HWND hwnd);
    void zDetach(HWND hwnd);
    void zDetachAll();
    void zAddWatch(HWND hwnd, long msg, int when = WATCH_AFTER);
    void zRemoveWatch(HWND hwnd, long msg, int when = WATCH_AFTER);
    LRESULT zCallPrevious(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    std::size_t entryCount() const { return entries_.size(); }

  private:
    std::shared_ptr<WindowHook> entry(HWND hwnd) const;
    Proc proc_;
    std::vector<std::shared_ptr<WindowHook>> entries_;
};

} // namespace controls
