// The framework's root class and its exceptions.
//
// Exceptions are thrown by value and caught by reference:
//   try { ... } catch (CException& e) { CString text; e.GetErrorMessage(text); }
#pragma once

#include "afxstr.h"
#include "windows.h"

class CObject {
 public:
  virtual ~CObject() = default;
  virtual const char* GetRuntimeClassName() const { return "CObject"; }

 protected:
  CObject() = default;
  // Derived classes choose whether they copy; exceptions must.
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

class CException : public CObject {
 public:
  const char* GetRuntimeClassName() const override { return "CException"; }
  // The text for the user; false when this exception has none.
  virtual bool GetErrorMessage(CString& out) const;
};

class CMemoryException : public CException {
 public:
  const char* GetRuntimeClassName() const override { return "CMemoryException"; }
  bool GetErrorMessage(CString& out) const override;
};

class CInvalidArgException : public CException {
 public:
  const char* GetRuntimeClassName() const override { return "CInvalidArgException"; }
  bool GetErrorMessage(CString& out) const override;
};

class CNotSupportedException : public CException {
 public:
  const char* GetRuntimeClassName() const override { return "CNotSupportedException"; }
  bool GetErrorMessage(CString& out) const override;
};

class CResourceException : public CException {
 public:
  const char* GetRuntimeClassName() const override { return "CResourceException"; }
  bool GetErrorMessage(CString& out) const override;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();
