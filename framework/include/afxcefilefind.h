// CCeFileFind: walks the entries that match a pattern.
//
// The search reads one entry ahead: FindFile fetches the first match but does
// not make it current; each FindNextFile makes the fetched match current and
// fetches the next, returning zero once the current match is the last. So
//
//   if (find.FindFile(pattern)) {
//     BOOL more;
//     do {
//       more = find.FindNextFile();
//       Use(find.GetFileName());
//     } while (more);
//   }
//
// visits every match once, in the order the system lists them.
#pragma once

#include "afx.h"

class CCeFileFind : public CObject {
 public:
  CCeFileFind() = default;
  ~CCeFileFind() override;
  CCeFileFind(const CCeFileFind&) = delete;
  CCeFileFind& operator=(const CCeFileFind&) = delete;

  const char* GetRuntimeClassName() const override { return "CCeFileFind"; }

  // Ends any earlier search. Nonzero when something matches; otherwise the
  // last error is FindFirstFileW's. |flags| is reserved.
  BOOL FindFile(LPCWSTR pattern = u"*.*", DWORD flags = 0);
  // Zero when there is no further match (the current one stays valid) or no search.
  BOOL FindNextFile();
  void Close();

  // The current match; empty (or zero) before the first FindNextFile.
  CString GetFileName() const;
  CString GetFilePath() const;
  // The pattern's folder, through its last '\', or empty.
  CString GetRoot() const { return root_; }
  BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
  // "." or "..".
  BOOL IsDots() const;
  BOOL MatchesMask(DWORD mask) const;
  DWORD GetLength() const { return hasCurrent_ ? current_.nFileSizeLow : 0; }

 private:
  HANDLE find_ = INVALID_HANDLE_VALUE;
  CString root_;
  WIN32_FIND_DATAW current_{};
  WIN32_FIND_DATAW ahead_{};
  bool hasCurrent_ = false;
  bool hasAhead_ = false;
};
