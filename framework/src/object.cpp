#include "afx.h"

bool CException::GetErrorMessage(CString& out) const {
  out.Empty();
  return false;
}

bool CMemoryException::GetErrorMessage(CString& out) const {
  out = u"Out of memory.";
  return true;
}

bool CInvalidArgException::GetErrorMessage(CString& out) const {
  out = u"Invalid argument.";
  return true;
}

bool CNotSupportedException::GetErrorMessage(CString& out) const {
  out = u"An unsupported operation was attempted.";
  return true;
}

bool CResourceException::GetErrorMessage(CString& out) const {
  out = u"A required resource was unavailable.";
  return true;
}

void AfxThrowMemoryException() { throw CMemoryException(); }

void AfxThrowInvalidArgException() { throw CInvalidArgException(); }

void AfxThrowNotSupportedException() { throw CNotSupportedException(); }

void AfxThrowResourceException() { throw CResourceException(); }
