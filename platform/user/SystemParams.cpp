// System colours, metrics and parameters.  The colours form one light grey
// scheme around the button face; the 3D shades follow the face's luminance
// (shadow 50 steps darker, highlight 19 steps lighter on the 0..240 scale).

#include "platform/user/SystemParams.h"

#include "platform/backend/Backend.h"
#include "platform/user/UserState.h"

namespace zel::sys {
namespace {

constexpr COLORREF kColors[kSysColorCount] = {
    RGB(224, 224, 224), // COLOR_SCROLLBAR
    RGB(58, 110, 165),  // COLOR_BACKGROUND
    RGB(10, 36, 106),   // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(236, 236, 236), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(0, 0, 0),       // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(255, 255, 255), // COLOR_CAPTIONTEXT
    RGB(236, 236, 236), // COLOR_ACTIVEBORDER
    RGB(236, 236, 236), // COLOR_INACTIVEBORDER
    RGB(171, 171, 171), // COLOR_APPWORKSPACE
    RGB(49, 106, 197),  // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(236, 236, 236), // COLOR_BTNFACE
    RGB(182, 182, 182), // COLOR_BTNSHADOW
    RGB(128, 128, 128), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(216, 216, 216), // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(105, 105, 105), // COLOR_3DDKSHADOW
    RGB(246, 246, 246), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
    RGB(181, 181, 181), // 25 has no name; a neutral grey
    RGB(0, 102, 204),   // COLOR_HOTLIGHT
    RGB(166, 202, 240), // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192), // COLOR_GRADIENTINACTIVECAPTION
    RGB(49, 106, 197),  // COLOR_MENUHILIGHT
    RGB(236, 236, 236), // COLOR_MENUBAR
};

UINT g_doubleClickTime = 500;

LOGFONT UiFont(bool bold) {
  LOGFONT lf;
  lf.lfHeight = -11;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfFaceName = "Tahoma";
  return lf;
}

struct SysBrushes {
  Brush brushes[kSysColorCount];
  SysBrushes() {
    for (int i = 0; i < kSysColorCount; ++i) {
      brushes[i].color = kColors[i];
      brushes[i].stock = true;
    }
  }
};

} // namespace

COLORREF GetSysColor(int index) {
  if (index < 0 || index >= kSysColorCount) return 0;
  return kColors[index];
}

HBRUSH GetSysColorBrush(int index) {
  static SysBrushes table;
  if (index < 0 || index >= kSysColorCount) return nullptr;
  return &table.brushes[index];
}

int GetSystemMetrics(int index) {
  const SIZE screen = detail::U().screen;
  switch (index) {
  case SM_CXSCREEN:
  case SM_CXFULLSCREEN:
  case SM_CXVIRTUALSCREEN:
  case SM_CXMAXTRACK:
    return screen.cx;
  case SM_CYSCREEN:
  case SM_CYVIRTUALSCREEN:
  case SM_CYMAXTRACK:
    return screen.cy;
  case SM_CYFULLSCREEN:
    return screen.cy - 19;
  case SM_CXMAXIMIZED:
    return screen.cx + 8;
  case SM_CYMAXIMIZED:
    return screen.cy + 8;
  case SM_CXVSCROLL:
  case SM_CYHSCROLL:
  case SM_CYVSCROLL:
  case SM_CXHSCROLL:
  case SM_CYVTHUMB:
  case SM_CXHTHUMB:
    return 16;
  case SM_CYCAPTION:
    return 19;
  case SM_CXBORDER:
  case SM_CYBORDER:
    return 1;
  case SM_CXFIXEDFRAME:
  case SM_CYFIXEDFRAME:
    return 3;
  case SM_CXSIZEFRAME:
  case SM_CYSIZEFRAME:
    return 4;
  case SM_CXEDGE:
  case SM_CYEDGE:
    return 2;
  case SM_CXICON:
  case SM_CYICON:
  case SM_CXCURSOR:
  case SM_CYCURSOR:
    return 32;
  case SM_CXSMICON:
  case SM_CYSMICON:
    return 16;
  case SM_CYMENU:
    return 19;
  case SM_CXMIN:
    return 112;
  case SM_CYMIN:
    return 27;
  case SM_CXSIZE:
  case SM_CYSIZE:
    return 18;
  case SM_CYSMCAPTION:
    return 16;
  case SM_CXSMSIZE:
  case SM_CYSMSIZE:
    return 15;
  case SM_CXMENUSIZE:
  case SM_CYMENUSIZE:
    return 18;
  case SM_CXMINTRACK:
    return 112;
  case SM_CYMINTRACK:
    return 27;
  case SM_CXMINIMIZED:
    return 160;
  case SM_CYMINIMIZED:
    return 24;
  case SM_CXDOUBLECLK:
  case SM_CYDOUBLECLK:
    return 4;
  case SM_CXDRAG:
  case SM_CYDRAG:
    return 4;
  case SM_CXMENUCHECK:
  case SM_CYMENUCHECK:
    return 13;
  case SM_CMOUSEBUTTONS:
    return 3;
  case SM_MOUSEPRESENT:
  case SM_MOUSEWHEELPRESENT:
  case SM_CMONITORS:
    return 1;
  case SM_SWAPBUTTON:
    return 0;
  default:
    return 0;
  }
}

NONCLIENTMETRICS GetNonClientMetrics() {
  NONCLIENTMETRICS m;
  m.iBorderWidth = 1;
  m.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  m.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  m.iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
  m.iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
  m.lfCaptionFont = UiFont(true);
  m.iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
  m.iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
  m.lfSmCaptionFont = UiFont(true);
  m.iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
  m.iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
  m.lfMenuFont = UiFont(false);
  m.lfStatusFont = UiFont(false);
  m.lfMessageFont = UiFont(false);
  return m;
}

BOOL SystemParametersInfo(UINT action, UINT uiParam, void* param, UINT winIni) {
  if (!param) return 0;
  switch (action) {
  case SPI_GETWORKAREA:
    *static_cast<RECT*>(param) = detail::WorkArea();
    return 1;
  case SPI_GETNONCLIENTMETRICS: {
    auto* m = static_cast<NONCLIENTMETRICS*>(param);
    if (m->cbSize != sizeof(NONCLIENTMETRICS)) return 0;
    *m = GetNonClientMetrics();
    return 1;
  }
  case SPI_GETDRAGFULLWINDOWS:
  case SPI_GETGRADIENTCAPTIONS:
  case SPI_GETKEYBOARDCUES:
    *static_cast<BOOL*>(param) = 1;
    return 1;
  case SPI_GETFLATMENU:
  case SPI_GETMENUANIMATION:
  case SPI_GETTOOLTIPANIMATION:
    *static_cast<BOOL*>(param) = 0;
    return 1;
  case SPI_GETWHEELSCROLLLINES:
    *static_cast<UINT*>(param) = 3;
    return 1;
  case SPI_GETMENUSHOWDELAY:
    *static_cast<int*>(param) = 400;
    return 1;
  default:
    return 0;
  }
}

UINT GetDoubleClickTime() {
  return g_doubleClickTime;
}

BOOL SetDoubleClickTime(UINT ms) {
  g_doubleClickTime = ms ? ms : 500;
  return 1;
}

} // namespace zel::sys
