#include "shell/Startup.h"

#include "actionbars/ZelStyleActnCtrls.h"
#include "bitop/BitOp.h"
#include "docking/UnitFrameSite.h"
#include "framework/actnbars/ActnStyles.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/actnbars/StdStyleActnCtrls.h"
#include "framework/actnbars/SystemMenuPopup.h"
#include "framework/actnbars/XPStyleActnCtrls.h"
#include "imagelist/ImageListZel.h"
#include "shell/UnitMain.h"

namespace zel {

namespace {
bool gStarted = false;
}

void InitializeUnits() {
  if (gStarted) return;
  BitOpInitialize();
  // The style list reads in registration order: the program's own style
  // first, then the framework's.
  InitializeZelStyleActnCtrls();
  RegisterActnBarStyle(XPStyle());
  RegisterActnBarStyle(StandardStyle());
  InitializeImageListZel();
  InitializeUnitFrameSite();
  InitializeUnitMain();
  InstallCustomizeDialog();
  InstallSystemMenu();
  gStarted = true;
}

void FinalizeUnits() {
  if (!gStarted) return;
  gStarted = false;
  FinalizeUnitFrameSite();
  FinalizeImageListZel();
  UnRegisterActnBarStyle(StandardStyle());
  UnRegisterActnBarStyle(XPStyle());
  FinalizeZelStyleActnCtrls();
  BitOpFinalize();
}

} // namespace zel
