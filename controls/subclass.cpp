#include "controls/subclass.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace controls {

// The hooks of one window, oldest first, and the procedure they replaced.
struct HookChain {
    HWND hwnd = nullptr;
    WNDPROC original = nullptr;
    bool unicode = false;
    int depth = 0; // messages of this window currently inside the dispatcher
    bool destroyed = false;
    std::vector<std::shared_ptr<WindowHook>> hooks;

    static LRESULT CALLBACK dispatcher(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT callBelow(const WindowHook* hook, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT run(const std::shared_ptr<WindowHook>& hook, UINT msg, WPARAM wParam, LPARAM lParam);
    void collect();
};

namespace {

// Windows belong to the thread that made them and every control runs on the
// one user-interface thread, so a plain table suffices.
std::map<HWND, HookChain*>& chains() {
    static std::map<HWND, HookChain*> table;
    return table;
}

HookChain* chainOf(HWND hwnd) {
    auto it = chains().find(hwnd);
    return it == chains().end() ? nullptr : it->second;
}

void freeChain(HookChain* chain) {
    chains().erase(chain->hwnd);
    delete chain;
}

} // namespace

LRESULT HookChain::callBelow(const WindowHook* hook, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The hook's place is looked up on every call: hooks may come and go while
    // a message is on its way down.
    auto it =
        std::find_if(hooks.begin(), hooks.end(), [hook](const auto& h) { return h.get() == hook; });
    std::shared_ptr<WindowHook> below;
    if (it != hooks.end() && it != hooks.begin())
        below = *(it - 1);
    else if (it == hooks.end()) {
        // A hook no longer in the chain passes straight to the window's own procedure.
    }
    if (below)
        return run(below, msg, wParam, lParam);
    return unicode ? CallWindowProcW(original, hwnd, msg, wParam, lParam)
                   : CallWindowProcA(original, hwnd, msg, wParam, lParam);
}

LRESULT HookChain::run(const std::shared_ptr<WindowHook>& hook, UINT msg, WPARAM wParam,
                       LPARAM lParam) {
    std::shared_ptr<WindowHook> keep = hook; // alive until this message is done
    bool handled = false;
    LRESULT result = 0;
    if (keep->before.contains(msg) && keep->callback_)
        keep->callback_(true, handled, result, hwnd, msg, wParam, lParam, keep->userValue);
    if (!handled) {
        ++keep->inUse_;
        result = callBelow(keep.get(), msg, wParam, lParam);
        --keep->inUse_;
    }
    if (keep->after.contains(msg) && keep->callback_)
        keep->callback_(false, handled, result, hwnd, msg, wParam, lParam, keep->userValue);
    return result;
}

void HookChain::collect() {
    // Released hooks with no message inside the previous procedure leave the chain.
    for (auto it = hooks.begin(); it != hooks.end();) {
        if ((*it)->released_ && (*it)->inUse_ == 0) {
            (*it)->attached_ = false;
            it = hooks.erase(it);
        } else {
            ++it;
        }
    }
}

LRESULT CALLBACK HookChain::dispatcher(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    HookChain* chain = chainOf(hwnd);
    if (!chain)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    ++chain->depth;
    LRESULT result;
    if (chain->hooks.empty())
        result = chain->callBelow(nullptr, msg, wParam, lParam);
    else
        result = chain->run(chain->hooks.back(), msg, wParam, lParam);
    --chain->depth;

    if (msg == WM_NCDESTROY) {
        // The window is gone: every hook on it ends here.
        for (auto& h : chain->hooks) {
            h->released_ = true;
            h->attached_ = false;
            h->before.clear();
            h->after.clear();
        }
        chain->hooks.clear();
        chain->destroyed = true;
    }
    if (chain->destroyed) {
        if (chain->depth == 0)
            freeChain(chain);
        return result;
    }
    chain->collect();
    if (chain->hooks.empty() && chain->depth == 0) {
        // Put the original procedure back, unless someone replaced ours since;
        // then the (empty) chain keeps forwarding.
        auto current =
            reinterpret_cast<WNDPROC>(chain->unicode ? GetWindowLongPtrW(hwnd, GWLP_WNDPROC)
                                                     : GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
        if (current == &HookChain::dispatcher) {
            if (chain->unicode)
                SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->original));
            else
                SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->original));
            freeChain(chain);
        }
    }
    return result;
}

std::shared_ptr<WindowHook> WindowHook::attach(HWND hwnd, HookCallback cb, LONG_PTR user,
                                               int listLimit, DWORD* error) {
    HookChain* chain = chainOf(hwnd);
    if (!chain) {
        auto fresh = std::make_unique<HookChain>();
        fresh->hwnd = hwnd;
        fresh->unicode = IsWindowUnicode(hwnd) != FALSE;
        SetLastError(0);
        LONG_PTR previous =
            fresh->unicode ? SetWindowLongPtrW(hwnd, GWLP_WNDPROC,
                                               reinterpret_cast<LONG_PTR>(&HookChain::dispatcher))
                           : SetWindowLongPtrA(hwnd, GWLP_WNDPROC,
                                               reinterpret_cast<LONG_PTR>(&HookChain::dispatcher));
        DWORD err = GetLastError();
        if (previous == 0 && err != 0) {
            if (error)
                *error = err;
            return nullptr;
        }
        fresh->original = reinterpret_cast<WNDPROC>(previous);
        chain = fresh.release();
        chains()[hwnd] = chain;
    }
    auto hook = std::make_shared<WindowHook>(hwnd, std::move(cb), user, listLimit);
    hook->attached_ = true;
    chain->hooks.push_back(hook);
    if (error)
        *error = 0;
    return hook;
}

void WindowHook::release() {
    released_ = true;
    before.clear();
    after.clear();
    HookChain* chain = chainOf(hwnd_);
    if (!chain || !attached_)
        return;
    if (chain->depth == 0) {
        // Not inside any message of the window: leave at once.
        chain->collect();
        if (chain->hooks.empty()) {
            auto current =
                reinterpret_cast<WNDPROC>(chain->unicode ? GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)
                                                         : GetWindowLongPtrA(hwnd_, GWLP_WNDPROC));
            if (current == &HookChain::dispatcher) {
                if (chain->unicode)
                    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC,
                                      reinterpret_cast<LONG_PTR>(chain->original));
                else
                    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC,
                                      reinterpret_cast<LONG_PTR>(chain->original));
                freeChain(chain);
            }
        }
    }
    // Otherwise the dispatcher finishes the release when the message returns.
}

LRESULT WindowHook::callPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
    HookChain* chain = chainOf(hwnd_);
    if (!chain)
        return DefWindowProcW(hwnd_, msg, wParam, lParam);
    ++inUse_;
    LRESULT r = chain->callBelow(this, msg, wParam, lParam);
    --inUse_;
    return r;
}

bool isHookDispatcher(HWND hwnd) {
    auto proc =
        reinterpret_cast<WNDPROC>(IsWindowUnicode(hwnd) ? GetWindowLongPtrW(hwnd, GWLP_WNDPROC)
                                                        : GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    return proc == &HookChain::dispatcher;
}

// ---------------------------------------------------------------------------
// Subclasser

Subclasser::Subclasser(std::string typeName, HookCallback defaultCallback)
    : typeName_(std::move(typeName)), defaultCallback_(std::move(defaultCallback)) {}

Subclasser::~Subclasser() {
    sc_ReleaseAll();
}

std::string Subclasser::keyOf(HWND hwnd) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(hwnd)) + "h";
}

void Subclasser::error(const char* routine, const std::string& message) {
    lastError_ = typeName_ + "." + routine + ": " + message;
    HANDLE log = RegisterEventSourceA(nullptr, typeName_.c_str());
    if (log) {
        const char* strings[] = {lastError_.c_str()};
        ReportEventA(log, EVENTLOG_ERROR_TYPE, 0, 0, nullptr, 1, 0, strings, nullptr);
        DeregisterEventSource(log);
    }
    if (onError)
        onError(lastError_);
}

bool Subclasser::sc_Subclass(HWND hwnd, LONG_PTR userValue, HookCallback callback) {
    if (!IsWindow(hwnd)) {
        error("sc_Subclass", "Invalid window handle");
        return false;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId()) {
        error("sc_Subclass", "Window handle belongs to another process");
        return false;
    }
    HookCallback cb = callback ? std::move(callback) : defaultCallback_;
    if (!cb) {
        error("sc_Subclass", "Callback method not found");
        return false;
    }
    started_ = true;
    std::string key = keyOf(hwnd);
    for (auto& [k, h] : hooks_) {
        if (k == key) {
            error("sc_Subclass", "Window handle is already subclassed");
            return false;
        }
    }
    DWORD err = 0;
    auto hook = WindowHook::attach(hwnd, std::move(cb), userValue, MSG_ENTRIES, &err);
    if (!hook) {
        error("sc_Subclass", "SetWindowLong failed, error #" + std::to_string(err));
        return false;
    }
    hooks_.emplace_back(key, hook);
    return true;
}

void Subclasser::sc_UnSubclass(HWND hwnd) {
    if (!started_) {
        error("sc_UnSubclass", "Window handle isn't subclassed");
        return;
    }
    std::string key = keyOf(hwnd);
    auto it = std::find_if(hooks_.begin(), hooks_.end(),
                           [&key](const auto& e) { return e.first == key; });
    if (it == hooks_.end()) {
        error("zMap_hWnd", "Window handle isn't subclassed");
        return;
    }
    auto hook = it->second;
    hooks_.erase(it);
    if (hook->attached())
        hook->release();
}

void Subclasser::sc_ReleaseAll() {
    if (!started_)
        return;
    while (!hooks_.empty()) {
        auto hook = hooks_.back().second;
        hooks_.pop_back();
        if (hook->attached())
            hook->release();
    }
    started_ = false;
}

std::shared_ptr<WindowHook> Subclasser::zMap_hWnd(HWND hwnd) {
    if (!started_) {
        error("zMap_hWnd", "Subclassing hasn't been started");
        return nullptr;
    }
    std::string key = keyOf(hwnd);
    for (auto& [k, h] : hooks_)
        if (k == key)
            return h;
    error("zMap_hWnd", "Window handle isn't subclassed");
    return nullptr;
}

void Subclasser::sc_AddMessage(HWND hwnd, long msg, int when) {
    auto hook = zMap_hWnd(hwnd);
    if (!hook || !hook->attached())
        return;
    auto add = [this, msg](MessageList& list) {
        if (list.add(msg) == MessageList::AddResult::Overflow)
            error("zAddMsg", "Message table overflow. Either increase the value of Const "
                             "MSG_ENTRIES or use ALL_MESSAGES instead of specific message values");
    };
    if (when & MSG_BEFORE)
        add(hook->before);
    if (when & MSG_AFTER)
        add(hook->after);
}

void Subclasser::sc_RemoveMessage(HWND hwnd, long msg, int when) {
    auto hook = zMap_hWnd(hwnd);
    if (!hook || !hook->attached())
        return;
    auto del = [this, msg](MessageList& list) {
        if (!list.remove(msg)) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "%lX", static_cast<unsigned long>(msg));
            error("zDelMsg", std::string("Message &H") + hex + " not found in table");
        }
    };
    if (when & MSG_BEFORE)
        del(hook->before);
    if (when & MSG_AFTER)
        del(hook->after);
}

LRESULT Subclasser::sc_CallPrevious(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto hook = zMap_hWnd(hwnd);
    if (!hook || !hook->attached())
        return 0;
    return hook->callPrevious(msg, wParam, lParam);
}

LONG_PTR Subclasser::sc_HookValue(HWND hwnd) {
    auto hook = zMap_hWnd(hwnd);
    return hook ? hook->userValue : 0;
}

void Subclasser::sc_HookValue(HWND hwnd, LONG_PTR value) {
    if (auto hook = zMap_hWnd(hwnd))
        hook->userValue = value;
}

// ---------------------------------------------------------------------------
// WindowWatcher

WindowWatcher::WindowWatcher(Proc zSubclass_Proc) : proc_(std::move(zSubclass_Proc)) {}

WindowWatcher::~WindowWatcher() {
    zDetachAll();
}

std::shared_ptr<WindowHook> WindowWatcher::entry(HWND hwnd) const {
    for (const auto& e : entries_)
        if (e && e->hwnd() == hwnd && e->attached())
            return e;
    return nullptr;
}

long WindowWatcher::zAttach(HWND hwnd) {
    if (!IsWindow(hwnd))
        return -1;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i] && entries_[i]->hwnd() == hwnd && entries_[i]->attached())
            return static_cast<long>(i);
    Proc proc = proc_;
    auto cb = [proc](bool bBefore, bool& bHandled, LRESULT& lReturn, HWND h, UINT m, WPARAM w,
                     LPARAM& l, LONG_PTR&) {
        if (proc)
            proc(bBefore, bHandled, lReturn, h, m, w, l);
    };
    auto hook = WindowHook::attach(hwnd, cb, 0, 0, nullptr);
    if (!hook)
        return -1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!entries_[i] || !entries_[i]->attached()) {
            entries_[i] = hook;
            return static_cast<long>(i);
        }
    }
    entries_.push_back(hook);
    return static_cast<long>(entries_.size() - 1);
}

void WindowWatcher::zDetach(HWND hwnd) {
    for (auto& e : entries_) {
        if (e && e->hwnd() == hwnd) {
            if (e->attached())
                e->release();
            e.reset();
        }
    }
}

void WindowWatcher::zDetachAll() {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (*it && (*it)->attached())
            (*it)->release();
        it->reset();
    }
    entries_.clear();
}

void WindowWatcher::zAddWatch(HWND hwnd, long msg, int when) {
    if (auto e = entry(hwnd)) {
        if (when & WATCH_AFTER)
            e->after.add(msg);
        if (when & WATCH_BEFORE)
            e->before.add(msg);
    }
}

void WindowWatcher::zRemoveWatch(HWND hwnd, long msg, int when) {
    if (auto e = entry(hwnd)) {
        if (when & WATCH_AFTER)
            e->after.remove(msg);
        if (when & WATCH_BEFORE)
            e->before.remove(msg);
    }
}

LRESULT WindowWatcher::zCallPrevious(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (auto e = entry(hwnd))
        return e->callPrevious(msg, wParam, lParam);
    return 0;
}

} // namespace controls
