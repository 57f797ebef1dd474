#include "controls/accessible.h"

#include <oleacc.h>

namespace controls {

IAccessible* createStdClientAccessible(HWND hwnd) {
    IAccessible* inner = nullptr;
    if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, kIID_IAccessible,
                                         reinterpret_cast<void**>(&inner))))
        return nullptr;
    return inner;
}

HRESULT answerNumber(VARIANT* out, long value) {
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

LRESULT answerWithAccessible(WPARAM wParam, IAccessible* object) {
    if (!object)
        return 0;
    LRESULT r = LresultFromObject(kIID_IAccessible, wParam, object);
    object->Release();
    // A failure leaves the request to the system's default object.
    return r < 0 ? 0 : r;
}

// ---- the push button ------------------------------------------------------------

namespace {

// The standard client object but for what makes it a button: role, state and
// default action.
class ButtonAccessible final : public ClientAccessible {
  public:
    using ClientAccessible::ClientAccessible;

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!isSelf(child))
            return inner_->get_accRole(child, role);
        if (!role)
            return E_POINTER;
        return answerNumber(role, ROLE_SYSTEM_PUSHBUTTON);
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
        return answerNumber(state, s);
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
};

} // namespace

IAccessible* createPushButtonAccessible(HWND hwnd) {
    IAccessible* inner = createStdClientAccessible(hwnd);
    return inner ? new ButtonAccessible(hwnd, inner) : nullptr;
}

LRESULT answerAsPushButton(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (!isClientObjectRequest(lParam))
        return 0;
    return answerWithAccessible(wParam, createPushButtonAccessible(hwnd));
}

} // namespace controls
