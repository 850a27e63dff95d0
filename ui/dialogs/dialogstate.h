#pragma once
// The state a dialog or an options page keeps while its window lives: made at WM_INITDIALOG,
// kept in the window (DWLP_USER), freed at WM_DESTROY. Messages that come before
// WM_INITDIALOG, or to a window whose state could not be had, find none.
#include <windows.h>

#include <prsht.h>

#include <new>

template <typename State> State* dialogState(HWND window)
{
    return reinterpret_cast<State*>(GetWindowLongPtrA(window, DWLP_USER));
}

// At WM_INITDIALOG: a new state kept in the window; null when there is no memory for it.
template <typename State> State* createDialogState(HWND window)
{
    auto* state = new (std::nothrow) State {};
    SetWindowLongPtrA(window, DWLP_USER, LONG_PTR(state));
    return state;
}

// At WM_DESTROY.
template <typename State> void freeDialogState(HWND window)
{
    delete dialogState<State>(window);
    SetWindowLongPtrA(window, DWLP_USER, 0);
}

// True when a WM_NOTIFY is the sheet's Apply (OK or Apply pressed).
inline bool isApplyNotification(LPARAM lParam)
{
    return reinterpret_cast<const NMHDR*>(lParam)->code == UINT(PSN_APPLY);
}

// A page's answer to Apply once it has taken its fields.
inline INT_PTR acceptApply(HWND page)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
    return TRUE;
}
