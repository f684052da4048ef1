// The application object: shows the main dialog and lets the process end.
#pragma once

#include "afxwin.h"

class CCorvaleApp : public CWinApp {
 public:
  CCorvaleApp();
  ~CCorvaleApp() override;

  const AFX_MSGMAP* GetMessageMap() const override;
  static const AFX_MSGMAP* GetThisMessageMap();

  BOOL InitInstance() override;
};

extern CCorvaleApp theApp;
