// Placeholder until the relayout lands: size changes are taken and ignored.
#include "CorvaleDlg.h"

void CCorvaleDlg::OnSize(UINT, int, int) {}
