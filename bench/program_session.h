// The program run in this process, as its front end runs it: the device
// booted, the program's module registered, its main dialog up in its modal
// loop. The benchmark acts from the loop's idle time, the way user input does.
#pragma once

#include <filesystem>
#include <functional>

#include "CorvaleDlg.h"

namespace bench {

// The program's own dialog; the benchmark only reaches what the program
// already has.
class ProgramDialog : public CCorvaleDlg {
 public:
  using CCorvaleDlg::RefreshStartupList;
  HWND List() const { return m_list.m_hWnd; }
  HIMAGELIST Images() const { return m_imageList.GetSafeHandle(); }
  // Starts again with an empty image list, made as the dialog made its first
  // one: the list grows by every refill, and a long run must stay bounded.
  void RenewImageList();
};

// Runs the main dialog on the device at |root| and calls |work| once it is up
// and idle; the dialog is cancelled afterwards. False when the dialog could
// not be shown.
bool RunProgramDialog(const std::filesystem::path& root, const std::function<void(ProgramDialog&)>& work);

}  // namespace bench
