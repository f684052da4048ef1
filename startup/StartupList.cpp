// The start-up list: one row per shortcut in the device's start-up folder,
// rebuilt whole on every refill.
#include <cstring>

#include "CorvaleDlg.h"
#include "afxcefilefind.h"
#include "shellapi.h"

namespace {

constexpr const char16_t kStartupFolder[] = u"\\Windows\\StartUp\\";
constexpr const char16_t kStartupPattern[] = u"\\Windows\\StartUp\\*.lnk";

// Only the shortcut's first bytes are read; the buffer's zero fill always
// ends the text, at offset 256 at the latest.
constexpr DWORD kShortcutBytesRead = 256;
constexpr std::size_t kReadBufferSize = 512;
constexpr std::size_t kQueryPathChars = 1024;

}  // namespace

void CCorvaleDlg::RefreshStartupList() {
  SendMessageW(m_list.m_hWnd, LVM_DELETEALLITEMS, 0, 0);

  CCeFileFind finder;
  if (finder.FindFile(kStartupPattern)) {
    // FindNextFile advances before the name is taken, so the last match is
    // handled in the pass whose FindNextFile reports no more.
    BOOL more;
    do {
      more = finder.FindNextFile();
      AddStartupFile(finder.GetFileName());
    } while (more);
  }
}

void CCorvaleDlg::AddStartupFile(CString fileName) { AddShortcutEntry(CString(kStartupFolder) + fileName); }

void CCorvaleDlg::AddShortcutEntry(CString path) {
  char buffer[kReadBufferSize];
  std::memset(buffer, 0, sizeof buffer);

  HANDLE file =
      CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD bytesRead = 0;
  ReadFile(file, buffer, kShortcutBytesRead, &bytesRead, nullptr);
  CloseHandle(file);

  CString text;
  text.Format(u"%S", buffer);
  int length = text.GetLength();

  // The first '#' separates the length from the command line; the character
  // after it (the opening quote) and the text's last character (the closing
  // quote) are dropped, then any quotes left at the end.
  int hash = text.Find(u'#');
  CString target = text.Mid(hash + 2, length - hash - 3);
  target.TrimRight(u'"');

  WCHAR queryPath[kQueryPathChars];
  std::memset(queryPath, 0, sizeof queryPath);
  std::memcpy(queryPath, static_cast<LPCWSTR>(target), static_cast<std::size_t>(target.GetLength()) * sizeof(WCHAR));
  SHFILEINFOW info;
  std::memset(&info, 0, sizeof info);
  SHGetFileInfo(queryPath, 0, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON);

  int image = ImageList_ReplaceIcon(m_imageList.GetSafeHandle(), -1, info.hIcon ? info.hIcon : m_hDefaultIcon);
  // The image list holds its own copy; the shell's icon is not needed again.
  if (info.hIcon) DestroyIcon(info.hIcon);

  // Rows go in at the top, so the list shows the folder in reverse order.
  if (m_list.InsertItem(LVIF_TEXT | LVIF_IMAGE, 0, target, 0, 0, image, 0) == 0) m_list.SetItemText(0, 1, path);
}
