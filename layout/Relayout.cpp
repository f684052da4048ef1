// The dialog follows the screen: every size change re-lays its controls out
// from the tall or the wide template, whatever the dialog's own size.
#include "CorvaleDlg.h"
#include "ScreenShape.h"
#include "TemplateLayout.h"

void CCorvaleDlg::OnSize(UINT /*nType*/, int /*cx*/, int /*cy*/) {
  // A square screen gets the wide layout.
  UINT templateId = GetScreenShape() == shapeTall ? IDD_CORVALE_DIALOG : IDD_CORVALE_DIALOG_WIDE;
  ApplyTemplateLayout(AfxGetInstanceHandle(), m_hWnd, templateId);
}
