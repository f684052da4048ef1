// Message tables: constant arrays that map a window message, or a command id,
// to a member handler. A class's table names its base class's table, and
// dispatch walks the chain from the most derived class up.
//
//   const AFX_MSGMAP* CMyDlg::GetThisMessageMap() {
//     static constexpr AFX_MSGMAP_ENTRY entries[] = {
//         ON_WM_SIZE<&CMyDlg::OnSize>(),
//         ON_COMMAND<ID_FILE_EXIT, &CMyDlg::OnExit>(),
//     };
//     static constexpr AFX_MSGMAP map{&CDialog::GetThisMessageMap, entries};
//     return &map;
//   }
#pragma once

#include <span>

#include "windows.h"

class CCmdTarget;

// Runs one handler; false when the handler chose not to handle the message.
using AFX_HANDLER = bool (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* result);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // window message, or WM_COMMAND
  UINT nCode;     // command notification code
  UINT nID;       // first command id
  UINT nLastID;   // last command id
  AFX_HANDLER handler;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  std::span<const AFX_MSGMAP_ENTRY> entries;
};

namespace afx_detail {

template <class F>
struct MemberOf;
template <class C, class R, class... A>
struct MemberOf<R (C::*)(A...)> {
  using Class = C;
};
template <auto pfn>
using ClassOf = typename MemberOf<decltype(pfn)>::Class;

}  // namespace afx_detail

// WM_COMMAND with notification 0 (a menu item or an accelerator): void Handler().
template <UINT nID, auto pfn>
constexpr AFX_MSGMAP_ENTRY ON_COMMAND() {
  return {WM_COMMAND, 0, nID, nID, [](CCmdTarget* t, WPARAM, LPARAM, LRESULT*) {
            (static_cast<afx_detail::ClassOf<pfn>*>(t)->*pfn)();
            return true;
          }};
}

// WM_SIZE: void OnSize(UINT nType, int cx, int cy).
template <auto pfn>
constexpr AFX_MSGMAP_ENTRY ON_WM_SIZE() {
  return {WM_SIZE, 0, 0, 0, [](CCmdTarget* t, WPARAM wParam, LPARAM lParam, LRESULT*) {
            (static_cast<afx_detail::ClassOf<pfn>*>(t)->*pfn)(static_cast<UINT>(wParam), LOWORD(lParam),
                                                              HIWORD(lParam));
            return true;
          }};
}

// Any message: LRESULT Handler(WPARAM, LPARAM).
template <UINT nMessage, auto pfn>
constexpr AFX_MSGMAP_ENTRY ON_MESSAGE() {
  return {nMessage, 0, 0, 0, [](CCmdTarget* t, WPARAM wParam, LPARAM lParam, LRESULT* result) {
            *result = (static_cast<afx_detail::ClassOf<pfn>*>(t)->*pfn)(wParam, lParam);
            return true;
          }};
}
