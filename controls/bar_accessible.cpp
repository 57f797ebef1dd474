#include "controls/bar_accessible.h"

#include "controls/accessible.h"

#include <oleacc.h>

#include <vector>

namespace controls {

namespace {

BSTR toBstr(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<wchar_t> w(n + 1);
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), w.data(), n);
    return SysAllocStringLen(w.data(), n);
}

// The standard client object for the bar itself; its items are answered here.
class BarAccessible final : public ClientAccessible {
  public:
    BarAccessible(HWND hwnd, IAccessible* inner, BarItems items)
        : ClientAccessible(hwnd, inner), items_(std::move(items)) {}

    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override {
        if (!n)
            return E_POINTER;
        *n = alive() ? items_.count() : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override {
        if (!d)
            return E_POINTER;
        *d = nullptr;
        return item(c) >= 0 ? S_FALSE : E_INVALIDARG; // simple elements
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* role) override {
        if (!role)
            return E_POINTER;
        if (!isSelf(c) && item(c) < 0)
            return E_INVALIDARG;
        return answerNumber(role, isSelf(c) ? items_.role : items_.itemRole);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT c, BSTR* n) override {
        if (isSelf(c))
            return inner_->get_accName(c, n);
        return text(c, items_.name, n);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override {
        if (isSelf(c))
            return inner_->get_accValue(c, v);
        return text(c, items_.value, v);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* state) override {
        if (isSelf(c))
            return inner_->get_accState(c, state);
        const int i = item(c);
        if (!state)
            return E_POINTER;
        if (i < 0)
            return E_INVALIDARG;
        long s = items_.state ? items_.state(i) : 0;
        if (!IsWindowVisible(hwnd_))
            s |= STATE_SYSTEM_INVISIBLE;
        return answerNumber(state, s);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* action) override {
        if (isSelf(c))
            return inner_->get_accDefaultAction(c, action);
        if (!action)
            return E_POINTER;
        *action = nullptr;
        if (item(c) < 0)
            return E_INVALIDARG;
        if (!items_.defaultAction)
            return S_FALSE;
        *action = SysAllocString(items_.defaultAction);
        return *action ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override {
        if (isSelf(c))
            return inner_->accDoDefaultAction(c);
        const int i = item(c);
        if (i < 0)
            return E_INVALIDARG;
        if (!items_.doDefaultAction)
            return DISP_E_MEMBERNOTFOUND;
        items_.doDefaultAction(i);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* l, LONG* t, LONG* w, LONG* h, VARIANT c) override {
        if (isSelf(c))
            return inner_->accLocation(l, t, w, h, c);
        const int i = item(c);
        if (!l || !t || !w || !h)
            return E_POINTER;
        if (i < 0 || !items_.rect)
            return E_INVALIDARG;
        RECT r = items_.rect(i);
        MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        *l = r.left;
        *t = r.top;
        *w = r.right - r.left;
        *h = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* c) override {
        if (!c)
            return E_POINTER;
        POINT pt{x, y};
        RECT client{};
        if (!alive() || !ScreenToClient(hwnd_, &pt) || !GetClientRect(hwnd_, &client) ||
            !PtInRect(&client, pt)) {
            VariantInit(c);
            return S_FALSE;
        }
        VariantInit(c);
        c->vt = VT_I4;
        c->lVal = CHILDID_SELF;
        if (items_.rect)
            for (int i = 0, n = items_.count(); i < n; ++i) {
                RECT r = items_.rect(i);
                if (PtInRect(&r, pt)) {
                    c->lVal = i + 1;
                    break;
                }
            }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG dir, VARIANT start, VARIANT* end) override {
        if (!end)
            return E_POINTER;
        const int n = alive() ? items_.count() : 0;
        int to = -1;
        if (isSelf(start)) {
            if (dir == NAVDIR_FIRSTCHILD && n > 0)
                to = 1;
            else if (dir == NAVDIR_LASTCHILD && n > 0)
                to = n;
            else
                return inner_->accNavigate(dir, start, end);
        } else {
            const int i = item(start);
            if (i < 0)
                return E_INVALIDARG;
            if ((dir == NAVDIR_NEXT || dir == NAVDIR_DOWN) && i + 1 < n)
                to = i + 2;
            else if ((dir == NAVDIR_PREVIOUS || dir == NAVDIR_UP) && i > 0)
                to = i;
        }
        VariantInit(end);
        if (to < 0)
            return S_FALSE;
        end->vt = VT_I4;
        end->lVal = to;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override {
        return isSelf(c) ? inner_->get_accDescription(c, d) : none(d);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override {
        return isSelf(c) ? inner_->get_accHelp(c, h) : none(h);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
        return isSelf(c) ? inner_->get_accKeyboardShortcut(c, k) : none(k);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG f, VARIANT c) override {
        return isSelf(c) ? inner_->accSelect(f, c) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    static HRESULT none(BSTR* out) {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        return S_FALSE;
    }
    // The bar's window and with it the object that answers for its items
    // may be gone while a client still holds this object.
    bool alive() const { return IsWindow(hwnd_) != FALSE && items_.count; }
    // The item a child identifier names (from 0), or -1.
    int item(const VARIANT& v) const {
        if (v.vt != VT_I4 || !alive())
            return -1;
        const int i = static_cast<int>(v.lVal) - 1;
        return i >= 0 && i < items_.count() ? i : -1;
    }
    HRESULT text(const VARIANT& c, const std::function<std::string(int)>& of, BSTR* out) const {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        const int i = item(c);
        if (i < 0)
            return E_INVALIDARG;
        if (!of)
            return S_FALSE;
        *out = toBstr(of(i));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    BarItems items_;
};

} // namespace

LRESULT answerAsBar(HWND hwnd, WPARAM wParam, LPARAM lParam, const BarItems& items) {
    if (!isClientObjectRequest(lParam))
        return 0;
    IAccessible* inner = createStdClientAccessible(hwnd);
    if (!inner)
        return 0;
    return answerWithAccessible(wParam, new BarAccessible(hwnd, inner, items));
}

} // namespace controls
