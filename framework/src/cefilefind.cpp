#include <algorithm>

#include "afxcefilefind.h"

namespace {

// cFileName is a fixed array; never read past it even if the zero is missing.
std::u16string_view NameOf(const WIN32_FIND_DATAW& data) {
  const WCHAR* end = std::find(std::begin(data.cFileName), std::end(data.cFileName), u'\0');
  return std::u16string_view(data.cFileName, static_cast<size_t>(end - data.cFileName));
}

}  // namespace

CCeFileFind::~CCeFileFind() { Close(); }

BOOL CCeFileFind::FindFile(LPCWSTR pattern, DWORD flags) {
  (void)flags;
  Close();
  if (!pattern) pattern = u"*.*";
  CString text(pattern);
  HANDLE find = FindFirstFileW(pattern, &ahead_);
  if (find == INVALID_HANDLE_VALUE) return FALSE;
  find_ = find;
  hasAhead_ = true;
  root_ = text.Left(text.ReverseFind(u'\\') + 1);
  return TRUE;
}

BOOL CCeFileFind::FindNextFile() {
  if (find_ == INVALID_HANDLE_VALUE || !hasAhead_) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  current_ = ahead_;
  hasCurrent_ = true;
  if (FindNextFileW(find_, &ahead_)) return TRUE;
  hasAhead_ = false;
  return FALSE;
}

void CCeFileFind::Close() {
  if (find_ != INVALID_HANDLE_VALUE) FindClose(find_);
  find_ = INVALID_HANDLE_VALUE;
  root_.Empty();
  hasCurrent_ = false;
  hasAhead_ = false;
}

CString CCeFileFind::GetFileName() const { return hasCurrent_ ? CString(NameOf(current_)) : CString(); }

CString CCeFileFind::GetFilePath() const { return hasCurrent_ ? root_ + GetFileName() : CString(); }

BOOL CCeFileFind::IsDots() const {
  std::u16string_view name = hasCurrent_ ? NameOf(current_) : std::u16string_view();
  return name == u"." || name == u"..";
}

BOOL CCeFileFind::MatchesMask(DWORD mask) const { return hasCurrent_ && (current_.dwFileAttributes & mask) != 0; }
