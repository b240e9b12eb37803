#pragma once
// TSpeedButtonZel: a windowless button that shows a different glyph of an
// image list in each of its states and lets a TRichImageList face do all of
// its drawing.  The face is the single holder of the hot, pushed, checked and
// enabled states and of the caption; the button decides the state and the
// glyph index and hands both to the face.
//
// Mouse state table (enabled, visible button, hover master):
//
//   state            input                  next state      effect
//   normal           enter                  hot             hover poll starts
//   hot              press (left)           hot + pushed    repeat timer starts
//   hot + pushed     release inside         hot             AutoCheck toggles,
//                                                           OnClick unless
//                                                           onClicks fired
//   hot + pushed     leave                  normal          no toggle, no click
//   hot / pushed     disable                disabled        both end
//   disabled         enable under cursor    hot             at once
//   hot              poll finds it outside  normal          a missed leave

#include <cstdint>
#include <memory>
#include <string>

#include "bitop/RichImageList.h"
#include "framework/actions/ActnList.h"
#include "framework/controls/GraphicControl.h"
#include "framework/graphics/ImageList.h"
#include "framework/stdctrls/StdCtrlTypes.h"
#include "framework/stdctrls/Timer.h"
#include "speedbutton/InternalTimer.h"

namespace zel {

// The built-in glyph shown instead of an image; the face gets kind k as
// glyph index -k.
enum TZelButtonKind : uint8_t {
  ZelBKImage,
  ZelBKNone,
  ZelBKLeftChevron,
  ZelBKRightChevron,
  ZelBKUpChevron,
  ZelBKDownChevron,
  ZelBKLeftArrow,
  ZelBKRightArrow,
  ZelBKUpArrow,
  ZelBKDownArrow,
  ZelBkCheck,
  ZelBkCheckShadow,
  ZelBKBulets
};

// The drop part a button carries.
enum TZelButtonStyle : uint8_t { cbsNormal, cbsDropDown, cbsDropRight, cbsDrop };

// The message a button answers with the handle of its image list (0: none).
constexpr sys::UINT TCM_GETIMAGELIST = 0x1302;

class TSpeedButtonZel;

// The glyph index of each state.  -1: no glyph of its own; <= -2: the
// built-in kind of that number.
class TGliphs : public TPersistent {
  ZEL_CLASS(TGliphs, TPersistent)
public:
  // A glyph set without an owner is refused with the general exception.
  explicit TGliphs(TPersistent* owner);

  // Nil clears all seven, another TGliphs is copied without validation;
  // anything else raises EConvertError.
  void Assign(TPersistent* source) override;
  TPersistent* GetOwner() const override { return FOwner; }

  int ImageIndexNormal() const { return FIndex[0]; }
  int ImageIndexPush() const { return FIndex[1]; }
  int ImageIndexCheck() const { return FIndex[2]; }
  int ImageIndexNormalHot() const { return FIndex[3]; }
  int ImageIndexCheckHot() const { return FIndex[4]; }
  int ImageIndexDisable() const { return FIndex[5]; }
  int ImageIndexCheckDisable() const { return FIndex[6]; }
  void SetImageIndexNormal(int v) { SetIndex(0, v); }
  void SetImageIndexPush(int v) { SetIndex(1, v); }
  void SetImageIndexCheck(int v) { SetIndex(2, v); }
  void SetImageIndexNormalHot(int v) { SetIndex(3, v); }
  void SetImageIndexCheckHot(int v) { SetIndex(4, v); }
  void SetImageIndexDisable(int v) { SetIndex(5, v); }
  void SetImageIndexCheckDisable(int v) { SetIndex(6, v); }

  // All seven to -1 without any notification.
  void Clear();

  TNotifyEvent OnChanged;

  virtual void Changed();
  // Whether v may name a glyph of the owner's image list now.
  virtual bool IsValidIndex(int v);

  static constexpr int Count = 7;

  static void DeclareProperties(TPropertyTable<TGliphs>& t);

private:
  void SetIndex(int which, int v);
  TPersistent* FOwner;
  int FIndex[Count] = {-1, -1, -1, -1, -1, -1, -1};
};

// The action link of the button: checked state follows the action only
// while the two agree, which lets grouped actions act as radio buttons.
class TZelLink : public TControlActionLink {
  ZEL_CLASS(TZelLink, TControlActionLink)
public:
  explicit TZelLink(TControl* client);
  TSpeedButtonZel* Button() const { return FClient; }

  bool IsCheckedLinked() const override;
  bool IsHelpContextLinked() const override;
  void SetChecked(bool value) override;
  void SetHelpContext(int value) override;

protected:
  // Keeps the client as a button; another class is an invalid cast.
  void AssignClient(TObject* client);

private:
  TSpeedButtonZel* FClient = nullptr;
};

class TSpeedButtonZel : public TGraphicControl {
  ZEL_CREATABLE_CLASS(TSpeedButtonZel, TGraphicControl)
public:
  explicit TSpeedButtonZel(TComponent* owner);
  ~TSpeedButtonZel() override;

  // ---- Properties -------------------------------------------------------------------
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool v) { FAutoCheck = v; }
  TZelButtonBorder Border() const { return fList->Border(); }
  void SetBorder(TZelButtonBorder v);
  uint8_t Blend() const { return fList->Blend(); }
  void SetBlend(uint8_t v);
  TZelButtonKind ButtonKind() const { return TZelButtonKind(FButtonKind); }
  void SetButtonKind(TZelButtonKind v);
  bool Checked() const { return fList->Checked(); }
  void SetChecked(bool v);
  TColor BtnFrameColor() const { return fList->FrameColor(); }
  void SetBtnFrameColor(TColor v);
  TColor SelectedColor() const { return fList->SelectedColor(); }
  void SetSelectedColor(TColor v);
  TGliphs* Gliphs() const { return FGliphs.get(); }
  void SetGliphs(TGliphs* v);
  TCustomImageList* ImageList() const;
  void SetImageList(TCustomImageList* v);
  bool Transparent() const { return fList->Transparent(); }
  void SetTransparent(bool v);
  TButtonLayout Layout() const { return TButtonLayout(fList->Layout()); }
  void SetLayout(TButtonLayout v) { fList->SetLayout(uint8_t(v)); }
  uint8_t Spacing() const { return fList->Spacing(); }
  void SetSpacing(uint8_t v) { fList->SetSpacing(v); }
  TZelButtonStyle Style() const { return TZelButtonStyle(FStyle); }
  void SetStyle(TZelButtonStyle v);

  TNotifyEvent onClicks;
  TNotifyEvent onHotChanged;
  TNotifyEvent OnDropDown;

  // ---- State read back from the face --------------------------------------------------
  bool Hot() const { return fList->Hot(); }
  bool Pushed() const { return fList->Pushed(); }
  TRichImageList* Face() const { return fList.get(); }
  TSpeedButtonZel* DropButton() const { return FDropButton; }
  TInternalTimer* HoverTimer() const { return FHoverTimer; }
  TTimer* RepeatTimer() const { return FRepeatTimer; }
  bool HoverMaster() const { return FHoverMaster; }
  bool ClicksFired() const { return FClicksFired; }
  TZelLink* ActionLink() const { return FActionLink.get(); }

  void SetPushed(bool p);
  void SetHot(bool h);
  void SetHoverMaster(bool v);
  void UpdateGlyph();
  void BeginUpdate();
  void EndUpdate();
  bool IsUpdating() const { return FUpdateCount > 0; }

  // ---- Framework overrides ------------------------------------------------------------
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void SetParent(TWinControl* parent) override;
  void SetBounds(int left, int top, int width, int height) override;
  void WndProc(TMessage& message) override;
  void Invalidate() override;
  void Repaint() override;
  void Updated() override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
  void SetAction(TComponent* action) override;
  void Click() override;
  // A speed button never takes the keyboard; its parent's keyboard group
  // reaches it (arrows mark it, Space or Enter clicks it).
  bool JoinsKeyboardGroup() const override { return !ComponentState().Contains(csDesigning); }

  // The button's own published properties; the framework's come from
  // TControl's table.
  static void DeclareProperties(TPropertyTable<TSpeedButtonZel>& t);

  // Drop-part layout, also run from Loaded and Resize.
  void ArrangeParts();
  void RecreateDropButton();

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void Resize() override;

  virtual void FocusGained() {}
  virtual void FocusLost() {}
  virtual void DoHotChanged();
  virtual void DoDropDown();
  virtual void CreateDropButton();
  virtual void DoClicks();

  // The edit a button is aligned in gives room for it through its margins.
  void ReserveEditSpace(TWinControl* edit);
  void ReleaseEditSpace(TWinControl* edit);

private:
  void FaceChanged(TObject* sender);
  void ImageListChange(TObject* sender);
  void StartRepeat();
  void StopRepeat();
  void RepeatTick(TObject* sender);
  void HoverPoll(TObject* sender);
  void DropClick(TObject* sender);
  void DropHotChanged(TObject* sender);
  void SyncDropBlend();
  void UpdateOpaque();
  bool CursorInside();
  void MouseEntered();
  void MouseLeft();
  void EnabledChanged();
  void VisibleChanged();
  void HandleSetText(TMessage& m);
  void HandleGetText(TMessage& m);
  static bool IsEditHost(TWinControl* parent);
  void AdjustEditMargin(TWinControl* edit, int delta);

  std::unique_ptr<TGliphs> FGliphs;
  std::unique_ptr<TRichImageList> fList;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  bool FAutoCheck = false;
  TTimer* FRepeatTimer = nullptr;
  bool FOwnGlyph = false;
  bool FClicksFired = false;
  uint8_t FButtonKind = ZelBKImage;
  bool FHoverMaster = true;
  int32_t FUpdateCount = 0;
  uint8_t FStyle = cbsNormal;
  TSpeedButtonZel* FDropButton = nullptr;
  TInternalTimer* FHoverTimer = nullptr;
  std::unique_ptr<TZelLink> FActionLink;
  // The list as a component, to recognise its removal notice: by then the
  // face can no longer find the list through its handle.
  TComponent* FImageListComponent = nullptr;
};

} // namespace zel
