// The object behind each window the program makes itself: forms, the form
// controls that hook standard windows, the themed button and the bars. One
// table for all of them, keyed by the window and the object's type (a themed
// button's window is also hooked by the form control that holds it).
//
//   attachObject(hwnd, this);                   // at WM_NCCREATE, or on hooking
//   if (auto* self = objectOf<ToolBar>(hwnd))   // in the window procedure
//   detachObject(hwnd, this);                   // at WM_NCDESTROY, or on unhooking
#pragma once

#include <windows.h>

#include <typeindex>
#include <typeinfo>

namespace controls {

namespace detail {
void attach(HWND hwnd, std::type_index type, void* object);
void* find(HWND hwnd, std::type_index type);
} // namespace detail

template <class T> void attachObject(HWND hwnd, T* object) {
    detail::attach(hwnd, typeid(T), object);
}

// The window's object of type T, or null.
template <class T> T* objectOf(HWND hwnd) {
    return static_cast<T*>(detail::find(hwnd, typeid(T)));
}

// Takes the window's entry that points to `object` out of the table (the
// window's entries for other objects stay).
void detachObject(HWND hwnd, const void* object);

} // namespace controls
