#include "afxwin.h"

bool CCmdTarget::DispatchMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY& entry : map->entries) {
      if (entry.nMessage != message) continue;
      if (message == WM_COMMAND) {
        UINT id = LOWORD(wParam);
        if (entry.nCode != HIWORD(wParam) || id < entry.nID || id > entry.nLastID) continue;
      }
      if (entry.handler(this, wParam, lParam, result)) return true;
    }
  }
  return false;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static constexpr AFX_MSGMAP map{nullptr, {}};
  return &map;
}
