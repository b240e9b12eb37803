#pragma once
// TCustomForm and TForm: top-level windows with the platform's frame and
// caption, and MDI.  An fsMDIForm keeps an MDI client window in the part of
// its client area that its aligned controls leave free; fsMDIChild forms
// are child windows of that client with their own captions.
//
// A maximised MDI child fills the client window with its frame pushed just
// outside it, so its own caption bar (with its minimise, restore and close
// buttons) stays visible at the top of the client area.  Minimised children
// line up as captions along the client's bottom edge.

#include <memory>
#include <vector>

#include "framework/controls/WinControl.h"
#include "framework/forms/FormTypes.h"
#include "framework/graphics/Canvas.h"

namespace zel {

class TCustomForm : public TWinControl {
  ZEL_CLASS(TCustomForm, TWinControl)
public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  void WndProc(TMessage& message) override;

  // ---- Settings -------------------------------------------------------------------
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle v);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons v);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition v) { FPosition = v; }
  TWindowState WindowState();
  void SetWindowState(TWindowState v);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool v) { FKeyPreview = v; }
  bool OldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool v) { FOldCreateOrder = v; }
  TCanvas* Canvas() { return FCanvas.get(); }

  // An MDI child's parent is recorded as its MDI form; it never becomes a
  // child control of it (the MDI client window holds its window).
  void SetParent(TWinControl* parent) override;
  void SetVisible(bool value) override;
  bool Showing() const override;

  // ---- Showing and closing ----------------------------------------------------
  void Show();
  void Hide();
  // Asks CloseQuery, then DoClose with the default action (caHide; an MDI
  // child's is caMinimize; the main form ends the application), and does
  // what the action says.
  void Close();
  virtual bool CloseQuery();
  // Shows the form and runs messages until ModalResult is set.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  bool Modal() const { return FModal; }
  // Frees the form once the messages waiting now are handled.
  void Release();

  // ---- Activation and focus -----------------------------------------------------
  // The active top-level form, or the active MDI child of its MDI form.
  bool Active() const { return FActive; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);
  // The form's main menu bar, wherever it is: a bar that floats in a tool
  // window of its own still answers the form's Alt, F10 and Alt+letter.
  // Controls inside the form are asked first; this one after them when it
  // is elsewhere.  Set by the bar; cleared when it goes.
  TWinControl* MenuKeyBar() const { return FMenuKeyBar; }
  void SetMenuKeyBar(TWinControl* bar);
  // Called when a control of the form receives the focus.
  bool SetFocusedControl(TWinControl* control);
  void SetFocus() override;
  bool CanFocus() override;
  // Activates the form (an MDI child: makes it the active child).
  void Activate();
  // Opens the window's system menu under the left end of its caption
  // (SystemMenu.h); byKeyboard: its first item is selected.
  void ShowSystemMenu(bool byKeyboard);

  // ---- MDI ------------------------------------------------------------------------
  int MDIChildCount();
  // The children in z-order, the active one first.
  TCustomForm* MDIChildren(int index);
  TCustomForm* ActiveMDIChild();
  // The MDI client window (fsMDIForm only, once the handle exists).
  sys::HWND ClientHandle() const { return FClientHandle; }
  // The MDI form an fsMDIChild belongs to.
  TCustomForm* MDIParent() const { return FMDIParent; }
  void Cascade();
  void Tile();
  TTileMode TileMode() const { return FTileMode; }
  void SetTileMode(TTileMode v) { FTileMode = v; }
  void ArrangeIcons();
  void MinimizeAll();
  // Activates the next child (Ctrl+F6); the current one goes to the back.
  void Next();
  // Activates the child at the back (Ctrl+Shift+F6).
  void Previous();
  // The rectangle of the MDI client window in the form's client coordinates.
  sys::RECT MDIClientRect();
  // Where the next new child of the default position goes, in the client
  // area's coordinates: one cascade step further than the one before,
  // back at the top left when it would not fit; as large as width x height
  // but no larger than the area leaves beside the steps (defaultSize: that
  // size whatever width and height are).
  sys::RECT DefaultMDIChildBounds(int width, int height, bool defaultSize);

  // ---- Events -------------------------------------------------------------------
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;

  // Raises OnCreate; the constructors of descendant forms call it after
  // building the form from its description.
  virtual void DoCreate();

  void Notification(TComponent* component, TOperation operation) override;

  static void DeclareProperties(TPropertyTable<TCustomForm>& t);

protected:
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  virtual void DoDestroy();
  virtual void Activated();
  virtual void Deactivated();
  virtual void Paint();

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void PaintWindow(sys::HDC dc) override;
  void AlignControls(TControl* control, sys::RECT& rect) override;
  void WindowMoved() override;

private:
  friend class TApplication;
  void PlaceOnShow();
  void ApplyWindowState();
  void CreateClientWindow();
  void PlaceClientWindow();
  void MDIChildActivated(TCustomForm* child);
  void MDIChildGone(TCustomForm* child);
  void ActivateMDIChild(TCustomForm* child);
  void SetActive(bool active);
  static bool IsOwnedToolWindow(sys::HWND window, sys::HWND owner);
  void ToolWindowActivated();
  void ToolWindowDeactivated(sys::HWND next);
  bool HandleDialogKey(sys::WORD key);
  // Tab and Shift+Tab (see Form.cpp: an MDI form and its active child share
  // one round of tab stops).
  void TabToNextStop(bool forward);
  // The next tab stop after current in this form, without going round
  // (nullptr past the last); from nullptr or the form itself, the first.
  TWinControl* NextTabStop(TWinControl* current, bool forward);
  // The system commands the form carries out itself (the system menu,
  // "next" of an MDI child); true when it did.
  bool HandleSysCommand(sys::WPARAM command, sys::LPARAM key);
  // A menu key from anywhere in the form (see CM_MENUKEY): offered to the
  // controls (a main menu bar takes it); an Alt+letter nobody used goes
  // to the label accelerators.
  bool HandleMenuKey(sys::UINT msg, sys::LPARAM key);
  std::vector<TCustomForm*> MDIChildList();
  void RestoreMaximizedChildren();
  void FitMaximizedChildren();
  void SetMDIParent(TCustomForm* form);
  void ChildSizeChanged(sys::WPARAM kind);
  // The client area's scroll bars follow its children (MdiScroll.cpp).
  void RequestMDIScrollUpdate();
  void UpdateMDIScrollBars();
  void ScrollMDIClient(int bar, sys::WORD request);
  static sys::LRESULT MDIClientProc(sys::HWND h, sys::UINT msg, sys::WPARAM w, sys::LPARAM l);

  TFormStyle FFormStyle = fsNormal;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDefaultPosOnly;
  TWindowState FWindowState = wsNormal;
  TTileMode FTileMode = tbHorizontal;
  bool FKeyPreview = false;
  bool FOldCreateOrder = false;
  bool FActive = false;
  bool FModal = false;
  bool FShownOnce = false;
  bool FClosing = false;
  TModalResult FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FMenuKeyBar = nullptr;
  std::vector<sys::HWND> FOwnedWhileRecreating;
  TCustomForm* FMDIParent = nullptr;
  TCustomForm* FActiveMDIChild = nullptr;
  sys::HWND FClientHandle = nullptr;
  std::vector<TCustomForm*> FMDIChildForms; // every MDI child, in the order they came
  bool FWasIconic = false;
  bool FMDIScrollPending = false;
  bool FMDIThumbTracking = false;
  std::unique_ptr<TCanvas> FCanvas;
};

class TForm : public TCustomForm {
  ZEL_CREATABLE_CLASS(TForm, TCustomForm)
public:
  explicit TForm(TComponent* owner);
};

// The form that holds a control, or nullptr.
TCustomForm* GetParentForm(TControl* control);

} // namespace zel
