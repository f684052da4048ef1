#include "program_session.h"

#include "afxwin.h"
#include "codepage.h"
#include "commctrl.h"
#include "device/device.h"
#include "embedded_resources.h"
#include "module_table.h"

namespace bench {
namespace {

class IdleWork : public device::InputSource {
 public:
  IdleWork(ProgramDialog& dialog, const std::function<void(ProgramDialog&)>& work) : dialog_(dialog), work_(work) {}

  void Idle() override {
    if (done_) {
      // The cancel went unanswered: leave the loop rather than spin.
      ::PostQuitMessage(0);
      return;
    }
    done_ = true;
    work_(dialog_);
    ::PostMessageW(dialog_.m_hWnd, WM_COMMAND, IDCANCEL, 0);
  }

 private:
  ProgramDialog& dialog_;
  const std::function<void(ProgramDialog&)>& work_;
  bool done_ = false;
};

std::u16string ExecutableName() {
  std::error_code ec;
  std::string exe = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  std::u16string name;
  if (ec || !platform::Utf8ToUtf16(exe, &name)) name = u"corvale_bench";
  return name;
}

}  // namespace

void ProgramDialog::RenewImageList() {
  m_imageList.Create(16, 16, ILC_COLOR24, 0, 0);
  SendMessageW(m_list.m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_imageList.GetSafeHandle()));
}

bool RunProgramDialog(const std::filesystem::path& root, const std::function<void(ProgramDialog&)>& work) {
  device::Boot({root});
  CWinApp* app = AfxGetApp();
  app->m_hInstance = platform::RegisterModule(ExecutableName(), CorvaleResourceImage());
  ::SHInitExtraControls();

  bool ran = false;
  {
    ProgramDialog dialog;
    auto marked = [&](ProgramDialog& d) {
      ran = true;
      work(d);
    };
    std::function<void(ProgramDialog&)> call = marked;
    IdleWork input(dialog, call);
    device::Current().input = &input;
    app->m_pMainWnd = &dialog;
    dialog.DoModal();
    app->m_pMainWnd = nullptr;
    device::Current().input = nullptr;
  }
  return ran;
}

}  // namespace bench
