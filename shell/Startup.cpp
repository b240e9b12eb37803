#include "shell/Startup.h"

#include <system_error>

#include "actionbars/ZelStyleActnCtrls.h"
#include "bitop/BitOp.h"
#include "docking/UnitFrameSite.h"
#include "framework/actnbars/ActnStyles.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/actnbars/StdStyleActnCtrls.h"
#include "framework/actnbars/XPStyleActnCtrls.h"
#include "imagelist/ImageListZel.h"
#include "platform/text/FontResolver.h"
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
  gStarted = true;
}

FontWarmUp::FontWarmUp() {
  try {
    thread_ = std::thread([] {
      // The face every window of the program names, plain and bold.  A
      // failure here only leaves the work to the first real lookup.
      try {
        sys::FontResolver& fonts = sys::FontResolver::Default();
        fonts.Resolve("Tahoma", 400, false);
        fonts.Resolve("Tahoma", 700, false);
      } catch (...) {
      }
    });
  } catch (const std::system_error&) {
    // Without a thread the same work is simply done on first use.
  }
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
