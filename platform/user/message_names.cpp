#include <utility>

#include "commctrl.h"
#include "service.h"

namespace platform {

std::string_view MessageName(UINT message) {
  static constexpr std::pair<UINT, std::string_view> kNames[] = {
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETTEXT, "WM_SETTEXT"},
      {WM_GETTEXT, "WM_GETTEXT"},
      {WM_CLOSE, "WM_CLOSE"},
      {WM_SETTINGCHANGE, "WM_SETTINGCHANGE"},
      {WM_NOTIFY, "WM_NOTIFY"},
      {WM_SETICON, "WM_SETICON"},
      {WM_INITDIALOG, "WM_INITDIALOG"},
      {WM_COMMAND, "WM_COMMAND"},
      {STM_SETIMAGE, "STM_SETIMAGE"},
      {STM_GETIMAGE, "STM_GETIMAGE"},
      {LB_SETCURSEL, "LB_SETCURSEL"},
      {LB_GETCURSEL, "LB_GETCURSEL"},
      {CB_GETCURSEL, "CB_GETCURSEL"},
      {CB_SETCURSEL, "CB_SETCURSEL"},
      {LVM_SETIMAGELIST, "LVM_SETIMAGELIST"},
      {LVM_GETITEMCOUNT, "LVM_GETITEMCOUNT"},
      {LVM_DELETEALLITEMS, "LVM_DELETEALLITEMS"},
      {LVM_SETITEMSTATE, "LVM_SETITEMSTATE"},
      {LVM_GETITEMSTATE, "LVM_GETITEMSTATE"},
      {LVM_SETEXTENDEDLISTVIEWSTYLE, "LVM_SETEXTENDEDLISTVIEWSTYLE"},
      {LVM_GETSELECTIONMARK, "LVM_GETSELECTIONMARK"},
      {LVM_INSERTITEMW, "LVM_INSERTITEMW"},
      {LVM_INSERTCOLUMNW, "LVM_INSERTCOLUMNW"},
      {LVM_GETITEMTEXTW, "LVM_GETITEMTEXTW"},
      {LVM_SETITEMTEXTW, "LVM_SETITEMTEXTW"},
  };
  for (const auto& [id, name] : kNames)
    if (id == message) return name;
  return {};
}

LRESULT RefusedMessageResult(UINT message) {
  switch (message) {
    case LVM_INSERTITEMW:
    case LVM_INSERTCOLUMNW:
    case LVM_GETSELECTIONMARK:
    case LB_GETCURSEL:
    case LB_SETCURSEL:
    case CB_GETCURSEL:
    case CB_SETCURSEL:
      return -1;
    default:
      return 0;
  }
}

}  // namespace platform
