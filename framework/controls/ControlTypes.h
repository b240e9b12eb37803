#pragma once
// The small types shared by controls and forms: the message record, the
// framework's own control messages, alignment, anchors, control state and
// style, mouse buttons and shift states, cursors, drag kinds and the event
// signatures.

#include <cstdint>
#include <functional>
#include <string>

#include "framework/core/Set.h"
#include "framework/graphics/Colors.h"
#include "platform/user/Messages.h"

namespace zel {

class TObject;
class TControl;
class TWinControl;

// A message as a control's WndProc receives it.  Result is what the sender
// gets back.
struct TMessage {
  sys::UINT Msg = 0;
  sys::WPARAM WParam = 0;
  sys::LPARAM LParam = 0;
  sys::LRESULT Result = 0;
};

// A window method: WndProc, or a replacement installed through WindowProc.
using TWndMethod = std::function<void(TMessage&)>;

// ---- Control messages, in the framework's own range above the platform's.
constexpr sys::UINT CM_BASE = 0xB000;
constexpr sys::UINT CM_ACTIVATE = CM_BASE + 0;
constexpr sys::UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr sys::UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr sys::UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr sys::UINT CM_CANCELMODE = CM_BASE + 4;
constexpr sys::UINT CM_DIALOGKEY = CM_BASE + 5;    // WParam: virtual key; Result 1 when used
constexpr sys::UINT CM_DIALOGCHAR = CM_BASE + 6;   // WParam: character
constexpr sys::UINT CM_FOCUSCHANGED = CM_BASE + 7; // LParam: the new focused TWinControl*
constexpr sys::UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr sys::UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr sys::UINT CM_HITTEST = CM_BASE + 10;        // LParam: point; Result nonzero when hit
constexpr sys::UINT CM_VISIBLECHANGED = CM_BASE + 11; // WParam: the new visibility
constexpr sys::UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr sys::UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr sys::UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr sys::UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr sys::UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr sys::UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr sys::UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr sys::UINT CM_MOUSEENTER = CM_BASE + 19; // LParam: the control (TControl*)
constexpr sys::UINT CM_MOUSELEAVE = CM_BASE + 20; // LParam: the control (TControl*)
constexpr sys::UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr sys::UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr sys::UINT CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr sys::UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr sys::UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr sys::UINT CM_ENTER = CM_BASE + 26;
constexpr sys::UINT CM_EXIT = CM_BASE + 27;
constexpr sys::UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr sys::UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr sys::UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr sys::UINT CM_INVOKEHELP = CM_BASE + 31;
constexpr sys::UINT CM_WINDOWHOOK = CM_BASE + 32;
constexpr sys::UINT CM_RELEASE = CM_BASE + 33;
constexpr sys::UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr sys::UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr sys::UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr sys::UINT CM_WININICHANGE = CM_BASE + 37;
constexpr sys::UINT CM_FONTCHANGE = CM_BASE + 38;
constexpr sys::UINT CM_TIMECHANGE = CM_BASE + 39;
constexpr sys::UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr sys::UINT CM_UIACTIVATE = CM_BASE + 41;
constexpr sys::UINT CM_UIDEACTIVATE = CM_BASE + 42;
constexpr sys::UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr sys::UINT CM_CONTROLLISTCHANGE = CM_BASE + 44; // WParam: control, LParam: inserted
constexpr sys::UINT CM_GETDATALINK = CM_BASE + 45;
constexpr sys::UINT CM_CHILDKEY = CM_BASE + 46;
constexpr sys::UINT CM_DRAG = CM_BASE + 47;
constexpr sys::UINT CM_HINTSHOW = CM_BASE + 48;
constexpr sys::UINT CM_DIALOGHANDLE = CM_BASE + 49;
constexpr sys::UINT CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr sys::UINT CM_RECREATEWND = CM_BASE + 51;
constexpr sys::UINT CM_INVALIDATE = CM_BASE + 52;
constexpr sys::UINT CM_SYSFONTCHANGED = CM_BASE + 53;
constexpr sys::UINT CM_CONTROLCHANGE = CM_BASE + 54; // WParam: control, LParam: inserted
constexpr sys::UINT CM_CHANGED = CM_BASE + 55;       // LParam: the control that changed
constexpr sys::UINT CM_DOCKCLIENT = CM_BASE + 56;
constexpr sys::UINT CM_UNDOCKCLIENT = CM_BASE + 57;
constexpr sys::UINT CM_FLOAT = CM_BASE + 58;
constexpr sys::UINT CM_BORDERCHANGED = CM_BASE + 59;
constexpr sys::UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr sys::UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr sys::UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
constexpr sys::UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr sys::UINT CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr sys::UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr sys::UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
constexpr sys::UINT CM_MOUSEWHEEL = CM_BASE + 67;
constexpr sys::UINT CM_ISSHORTCUT = CM_BASE + 68;
constexpr sys::UINT CM_INVALIDATEDOCKHOST = CM_BASE + 70;
constexpr sys::UINT CM_SETACTIVECONTROL = CM_BASE + 71;
constexpr sys::UINT CM_POPUPHWNDDESTROY = CM_BASE + 72;
constexpr sys::UINT CM_CREATEPOPUP = CM_BASE + 73;
constexpr sys::UINT CM_DESTROYHANDLE = CM_BASE + 74;
constexpr sys::UINT CM_MOUSEACTIVATE = CM_BASE + 75;
constexpr sys::UINT CM_CONTROLLISTCHANGING = CM_BASE + 76;
constexpr sys::UINT CM_BUFFEREDPRINTCLIENT = CM_BASE + 77;
constexpr sys::UINT CM_UNTHEMECONTROL = CM_BASE + 78;
// A menu key reached a form (Alt released alone, F10, Alt+letter): the form
// offers it to its controls.  WParam: WM_SYSKEYUP, WM_SYSKEYDOWN or
// WM_SYSCHAR; LParam: the key or character.  Result 1: the key was used.
constexpr sys::UINT CM_MENUKEY = CM_BASE + 79;
// Posted by a form to itself to finish an MDI rearrangement after the
// current message (internal).
constexpr sys::UINT CM_MDIREARRANGE = CM_BASE + 0x60;

// ---- Alignment and anchors ---------------------------------------------------
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAlignSet = TSet<TAlign>;

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
inline constexpr TAnchors AnchorAlign[] = {
    {akLeft, akTop},                    // alNone
    {akLeft, akTop, akRight},           // alTop
    {akLeft, akRight, akBottom},        // alBottom
    {akLeft, akTop, akBottom},          // alLeft
    {akRight, akTop, akBottom},         // alRight
    {akLeft, akTop, akRight, akBottom}, // alClient
    {akLeft, akTop},                    // alCustom
};

// ---- Control state and style -------------------------------------------------
enum TControlStateFlag {
  csLButtonDown, // the left button went down on the control and is still down
  csClicked,     // the press may still end in a click
  csPalette,
  csReadingState,
  csAlignmentNeeded, // an alignment was asked for while alignment was disabled
  csFocusing,        // the control is being given the focus
  csCreating,        // the window handle is being made
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking, // the control is being docked or undocked
};
using TControlState = TSet<TControlStateFlag>;

enum TControlStyleFlag {
  csAcceptsControls, // other controls may be placed on it
  csCaptureMouse,    // a press captures the mouse until the release
  csDesignInteractive,
  csClickEvents, // a press and release inside makes a Click
  csFramed,
  csSetCaption,   // the component name becomes the caption while designing
  csOpaque,       // the control fills its whole rectangle when it paints
  csDoubleClicks, // a quick second press makes DblClick instead of a press
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents, // the mouse and key events are not raised
  csDisplayDragImage,
  csReflector,
  csActionClient, // an action is linked to the control
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground,
  csPannable,
};
using TControlStyle = TSet<TControlStyleFlag>;

// ---- Mouse and keyboard ------------------------------------------------------
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

// The shift state of a mouse message's key flags and the keyboard.
TShiftState KeysToShiftState(sys::WPARAM keys);
// The shift state of the keyboard now (Shift, Ctrl, Alt).
TShiftState KeyboardShiftState();

// Cursors: 0 is the default (the class's), negative values the system's.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crNo = -18;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crHelp = -20;
constexpr TCursor crSizeAll = -22;
// The platform cursor shape (IDC_*) of a cursor value.
int CursorToIdc(TCursor cursor);

// ---- Dragging and docking ------------------------------------------------------
enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// ---- Borders -------------------------------------------------------------------
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelEdge { beLeft, beTop, beRight, beBottom };
using TBevelEdges = TSet<TBevelEdge>;

// ---- Events ------------------------------------------------------------------------
using TNotifyEvent = std::function<void(TObject*)>;
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, sys::WORD& key, TShiftState shift)>;
// The character as a Unicode code point; setting it to 0 swallows it.
using TKeyPressEvent = std::function<void(TObject* sender, char32_t& key)>;
using TCanResizeEvent =
    std::function<void(TObject* sender, int& newWidth, int& newHeight, bool& resize)>;
using TContextPopupEvent = std::function<void(TObject* sender, sys::POINT mousePos, bool& handled)>;
using TMouseWheelEvent = std::function<void(TObject* sender, TShiftState shift, int wheelDelta,
                                            sys::POINT mousePos, bool& handled)>;
using TAlignInsertBeforeEvent =
    std::function<bool(TWinControl* sender, TControl* c1, TControl* c2)>;
using TAlignPositionEvent =
    std::function<void(TWinControl* sender, TControl* control, int& newLeft, int& newTop,
                       int& newWidth, int& newHeight, sys::RECT& alignRect)>;

// The part of a hint before "|" (all of it when there is none), and after it.
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

} // namespace zel
