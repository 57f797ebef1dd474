// Accessibility for owner-drawn controls. ClientAccessible wraps the system's
// standard client object of a window and passes every call on to it; the
// push-button object below and the bars' object (bar_accessible.h) answer for
// themselves only where their control differs. The push-button object answers
// with the push-button role, the button's states and "Press" as its default
// action (a BM_CLICK).
#pragma once

#include <windows.h>

#include <oleacc.h>

namespace controls {

// IAccessible's interface identifier, spelled out: the import library's data
// symbol of the same name does not resolve to the identifier with MinGW.
inline constexpr IID kIID_IAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// An accessible object that forwards everything to the window's standard
// client object (`inner`, whose reference it takes over) and releases it when
// its own last reference goes.
class ClientAccessible : public IAccessible {
  public:
    ClientAccessible(HWND hwnd, IAccessible* inner) : hwnd_(hwnd), inner_(inner) {}
    ClientAccessible(const ClientAccessible&) = delete;
    ClientAccessible& operator=(const ClientAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, kIID_IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        long n = --refs_;
        if (n == 0) {
            inner_->Release();
            delete this;
        }
        return static_cast<ULONG>(n);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        return inner_->GetTypeInfoCount(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
        return inner_->GetTypeInfo(i, l, t);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l,
                                            DISPID* d) override {
        return inner_->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v,
                                     EXCEPINFO* e, UINT* a) override {
        return inner_->Invoke(d, r, l, f, p, v, e, a);
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override {
        return inner_->get_accParent(p);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override {
        return inner_->get_accChildCount(n);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override {
        return inner_->get_accChild(c, d);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT c, BSTR* n) override {
        return inner_->get_accName(c, n);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override {
        return inner_->get_accValue(c, v);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override {
        return inner_->get_accDescription(c, d);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* role) override {
        return inner_->get_accRole(c, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* state) override {
        return inner_->get_accState(c, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override {
        return inner_->get_accHelp(c, h);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, LONG* t) override {
        return inner_->get_accHelpTopic(f, c, t);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
        return inner_->get_accKeyboardShortcut(c, k);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* v) override { return inner_->get_accFocus(v); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* v) override {
        return inner_->get_accSelection(v);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* action) override {
        return inner_->get_accDefaultAction(c, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG f, VARIANT c) override {
        return inner_->accSelect(f, c);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* l, LONG* t, LONG* w, LONG* h, VARIANT c) override {
        return inner_->accLocation(l, t, w, h, c);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG d, VARIANT s, VARIANT* e) override {
        return inner_->accNavigate(d, s, e);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* c) override {
        return inner_->accHitTest(x, y, c);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override {
        return inner_->accDoDefaultAction(c);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override {
        return inner_->put_accName(c, n);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override {
        return inner_->put_accValue(c, v);
    }

  protected:
    virtual ~ClientAccessible() = default;
    static bool isSelf(const VARIANT& v) { return v.vt == VT_I4 && v.lVal == CHILDID_SELF; }

    HWND hwnd_;
    IAccessible* inner_;

  private:
    long refs_ = 1;
};

// The system's standard client object of `hwnd` (one reference for the
// caller), or nothing.
IAccessible* createStdClientAccessible(HWND hwnd);
// Answers a role or state: `value` as a number in `out` (which must not be null).
HRESULT answerNumber(VARIANT* out, long value);

// The answer to WM_GETOBJECT with `object` (whose reference it takes over;
// nothing gives 0). 0 also when the hand-over fails: the request is then left
// to the system's default object.
LRESULT answerWithAccessible(WPARAM wParam, IAccessible* object);

// Whether a WM_GETOBJECT request is for the window's client area.
inline bool isClientObjectRequest(LPARAM lParam) {
    return static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT);
}

// The accessible object itself (one reference for the caller), or nothing.
IAccessible* createPushButtonAccessible(HWND hwnd);

// The answer to WM_GETOBJECT for a push-button-like window; 0 when the
// request is not for the client area (then pass it on to DefWindowProc).
LRESULT answerAsPushButton(HWND hwnd, WPARAM wParam, LPARAM lParam);

} // namespace controls
