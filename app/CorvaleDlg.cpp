#include "CorvaleDlg.h"

#include "aygshell.h"

namespace {

// The maker's web domain ends the more-software message.
constexpr const char16_t kMoreSoftwareText[] = u"Velmora原创软件 更多下载访问www.velmora.example";

constexpr UINT kMainMenuId = IDR_MAIN_MENU;

}  // namespace

CCorvaleDlg::CCorvaleDlg(CWnd* pParent)
    : CDialog(IDD_CORVALE_DIALOG, pParent),
      m_hIcon(LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_hDefaultIcon(LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_DEFAULT_ENTRY))) {}

CCorvaleDlg::~CCorvaleDlg() = default;

const AFX_MSGMAP* CCorvaleDlg::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CCorvaleDlg::GetThisMessageMap() {
  static constexpr AFX_MSGMAP_ENTRY entries[] = {
      ON_WM_SIZE<&CCorvaleDlg::OnSize>(),
      ON_COMMAND<ID_MENU_EXIT, &CCorvaleDlg::OnExit>(),
      ON_COMMAND<ID_MENU_MORE_SOFTWARE, &CCorvaleDlg::OnMoreSoftware>(),
      ON_COMMAND<ID_MENU_DELETE_ENTRY, &CCorvaleDlg::OnDeleteEntry>(),
      ON_COMMAND<ID_MENU_VIEW_DETAILS, &CCorvaleDlg::OnViewDetails>(),
  };
  static constexpr AFX_MSGMAP map{&CDialog::GetThisMessageMap, entries};
  return &map;
}

void CCorvaleDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_STARTUP_LIST, m_list);
}

BOOL CCorvaleDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  SHMENUBARINFO mbi{};
  mbi.cbSize = SHMENUBARINFO_DEVICE_SIZE;
  mbi.hwndParent = m_hWnd;
  mbi.dwFlags = SHCMBF_HMENU;
  mbi.nToolBarId = kMainMenuId;
  mbi.hInstRes = AfxGetInstanceHandle();
  SHCreateMenuBar(&mbi);

  m_list.InsertColumn(0, u"文件名称", LVCFMT_LEFT, 236);
  m_list.InsertColumn(1, u"", LVCFMT_LEFT, 0);

  m_imageList.Create(16, 16, ILC_COLOR24, 0, 0);
  SendMessageW(m_list.m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_imageList.GetSafeHandle()));
  SendMessageW(m_list.m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);

  RefreshStartupList();
  return TRUE;
}

void CCorvaleDlg::OnExit() { OnOK(); }

void CCorvaleDlg::OnMoreSoftware() { MessageBox(kMoreSoftwareText); }
