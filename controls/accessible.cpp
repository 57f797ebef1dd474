#include "controls/accessible.h"

#include <oleacc.h>

namespace controls {

namespace {

// Forwards everything to the standard client object except what makes it a
// button: role, state and default action.
class ButtonAccessible final : public IAccessible {
  public:
    ButtonAccessible(HWND hwnd, IAccessible* inner) : hwnd_(hwnd), inner_(inner) {}

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

    // IAccessible: the button's own answers
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!isSelf(child))
            return inner_->get_accRole(child, role);
        if (!role)
            return E_POINTER;
        VariantInit(role);
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!isSelf(child))
            return inner_->get_accState(child, state);
        if (!state)
            return E_POINTER;
        LONG s = STATE_SYSTEM_FOCUSABLE;
        if (!IsWindowVisible(hwnd_))
            s |= STATE_SYSTEM_INVISIBLE;
        if (!IsWindowEnabled(hwnd_))
            s |= STATE_SYSTEM_UNAVAILABLE;
        if (GetFocus() == hwnd_)
            s |= STATE_SYSTEM_FOCUSED;
        if (SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED)
            s |= STATE_SYSTEM_PRESSED;
        VariantInit(state);
        state->vt = VT_I4;
        state->lVal = s;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!isSelf(child))
            return inner_->get_accDefaultAction(child, action);
        if (!action)
            return E_POINTER;
        *action = SysAllocString(L"Press");
        return *action ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!isSelf(child))
            return inner_->accDoDefaultAction(child);
        if (!IsWindowEnabled(hwnd_))
            return E_FAIL;
        PostMessageA(hwnd_, BM_CLICK, 0, 0);
        return S_OK;
    }

    // IAccessible: the standard client object's answers
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
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override {
        return inner_->put_accName(c, n);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override {
        return inner_->put_accValue(c, v);
    }

  private:
    static bool isSelf(const VARIANT& v) { return v.vt == VT_I4 && v.lVal == CHILDID_SELF; }
    HWND hwnd_;
    IAccessible* inner_;
    long refs_ = 1;
};

} // namespace

IAccessible* createPushButtonAccessible(HWND hwnd) {
    IAccessible* inner = nullptr;
    if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, kIID_IAccessible,
                                         reinterpret_cast<void**>(&inner))) ||
        !inner)
        return nullptr;
    return new ButtonAccessible(hwnd, inner);
}

LRESULT answerAsPushButton(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT))
        return 0;
    IAccessible* button = createPushButtonAccessible(hwnd);
    if (!button)
        return 0;
    LRESULT r = LresultFromObject(kIID_IAccessible, wParam, button);
    button->Release();
    // A failure leaves the request to the system's default object.
    return r < 0 ? 0 : r;
}

} // namespace controls
