// TSpeedButtonZel's drop part and edit host, the glyph set TGliphs and the
// action link TZelLink.

#include <algorithm>
#include <cctype>

#include "framework/controls/WinControl.h"
#include "framework/core/Exceptions.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/SystemParams.h"
#include "speedbutton/SpeedButtonZel.h"

namespace zel {

namespace {
// Edit-control messages for the margins a button aligned in an edit takes.
constexpr sys::UINT EM_SCROLLCARET = 0x00B7;
constexpr sys::UINT EM_SETMARGINS = 0x00D3;
constexpr sys::UINT EM_GETMARGINS = 0x00D4;
constexpr sys::WPARAM EC_LEFTMARGIN = 1;
constexpr sys::WPARAM EC_RIGHTMARGIN = 2;

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return char(std::toupper(c)); });
  return s;
}
} // namespace

// ---- Drop part ----------------------------------------------------------------------------

void TSpeedButtonZel::RecreateDropButton() {
  delete FDropButton;
  FDropButton = nullptr;
  if (FStyle == cbsNormal) {
    ArrangeParts();
    return;
  }
  CreateDropButton();
}

void TSpeedButtonZel::CreateDropButton() {
  auto* part = new TSpeedButtonZel(this);
  FDropButton = part;
  part->BeginUpdate();
  part->OnClick = [this](TObject* s) { DropClick(s); };
  part->SetBorder(Border());
  part->SetParentShowHint(false);
  part->SetShowHint(false);
  switch (FStyle) {
  case cbsDropDown:
    part->SetButtonKind(ZelBKDownArrow);
    break;
  case cbsDropRight:
    part->SetButtonKind(ZelBKRightArrow);
    break;
  default:
    part->SetButtonKind(ZelBKDownArrow);
    part->SetTransparent(true);
    part->onHotChanged = [this](TObject* s) { DropHotChanged(s); };
    break;
  }
  part->SetParent(Parent());
  part->SetColor(Color());
  part->SetBtnFrameColor(FStyle == cbsDrop ? SelectedColor() : BtnFrameColor());
  part->SetSelectedColor(SelectedColor());
  part->EndUpdate();
  SyncDropBlend();
  ArrangeParts();
}

void TSpeedButtonZel::ArrangeParts() {
  const int b = (FStyle == cbsDropDown || FStyle == cbsDropRight)
                    ? std::min(sys::GetSystemMetrics(sys::SM_CXHSCROLL), (Width() + 2) / 3)
                    : 0;
  if (fList->Width() != Width() - b || fList->Height() != Height()) {
    BeginUpdate();
    fList->SetWidth(std::max(0, Width() - b));
    fList->SetHeight(Height());
    EndUpdate();
  }
  if (!FDropButton) return;
  if (FStyle == cbsDrop) {
    const int c = Border() == ZelSingleBorder ? 8 : 9;
    FDropButton->SetBounds(Left() + fList->Width() - c - 1, Top() + fList->Height() - c - 1, c, c);
    // The corner square lies over the face, so it must be above it.
    FDropButton->BringToFront();
  } else {
    FDropButton->SetBounds(Left() + Width() - b, Top(), b, Height());
  }
}

void TSpeedButtonZel::SetBounds(int left, int top, int width, int height) {
  const sys::RECT before = BoundsRect();
  TGraphicControl::SetBounds(left, top, width, height);
  // A size change rearranges through Resize; a move alone must take the
  // drop part along.
  const sys::RECT after = BoundsRect();
  if (FDropButton && (after.left != before.left || after.top != before.top)) ArrangeParts();
}

void TSpeedButtonZel::Resize() {
  ArrangeParts();
  TGraphicControl::Resize();
}

void TSpeedButtonZel::DropClick(TObject* sender) {
  if (sender && sender == FDropButton) DoDropDown();
}

void TSpeedButtonZel::DoDropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TSpeedButtonZel::DropHotChanged(TObject* sender) {
  if (sender && sender == FDropButton) SyncDropBlend();
}

void TSpeedButtonZel::SyncDropBlend() {
  if (!FDropButton) return;
  const bool dim = FStyle == cbsDrop && FDropButton->Border() == ZelXPBorder && !FDropButton->Hot();
  FDropButton->SetBlend(dim ? Blend() / 2 : Blend());
}

// ---- Parent and edit host --------------------------------------------------------------------

bool TSpeedButtonZel::IsEditHost(TWinControl* parent) {
  // An edit that is going away needs no margins back.
  if (!parent || parent->ComponentState().Contains(csDestroying)) return false;
  for (TClass c = parent->ClassType().ClassParent(); c; c = c->ClassParent())
    if (Upper(c->ClassName()) == "TCUSTOMMASKEDIT") return true;
  return false;
}

void TSpeedButtonZel::AdjustEditMargin(TWinControl* edit, int delta) {
  if (Align() != alLeft && Align() != alRight) return;
  const sys::LRESULT margins = edit->Perform(EM_GETMARGINS);
  int left = int(margins & 0xFFFF), right = int((margins >> 16) & 0xFFFF);
  if (Align() == alRight) {
    right = std::max(0, right + delta);
    edit->Perform(EM_SETMARGINS, EC_RIGHTMARGIN, sys::LPARAM(right) << 16);
  } else {
    left = std::max(0, left + delta);
    edit->Perform(EM_SETMARGINS, EC_LEFTMARGIN, sys::LPARAM(left));
  }
  edit->Perform(EM_SCROLLCARET);
}

void TSpeedButtonZel::ReserveEditSpace(TWinControl* edit) {
  AdjustEditMargin(edit, Width());
  if (Align() == alLeft || Align() == alRight) edit->Invalidate();
}

void TSpeedButtonZel::ReleaseEditSpace(TWinControl* edit) {
  AdjustEditMargin(edit, -Width());
}

void TSpeedButtonZel::SetParent(TWinControl* parent) {
  TWinControl* old = Parent();
  if (old != parent && IsEditHost(old)) ReleaseEditSpace(old);
  TGraphicControl::SetParent(parent);
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TGraphicControl*>(Components(i))) c->SetParent(parent);
  if (old != parent && IsEditHost(parent)) ReserveEditSpace(parent);
}

// ---- TGliphs
// -------------------------------------------------------------------------------------

TGliphs::TGliphs(TPersistent* owner) : FOwner(owner) {
  if (!owner) throw Exception("AOwner=nil");
}

void TGliphs::Clear() {
  std::fill(std::begin(FIndex), std::end(FIndex), -1);
}

void TGliphs::Assign(TPersistent* source) {
  int next[Count];
  if (!source) {
    std::fill(std::begin(next), std::end(next), -1);
  } else if (auto* other = dynamic_cast<TGliphs*>(source)) {
    std::copy(std::begin(other->FIndex), std::end(other->FIndex), std::begin(next));
  } else {
    throw EConvertError::CreateFmt("Невозможно конвертировать объект %s в %s", source->ClassName(),
                                   ClassName());
  }
  if (std::equal(std::begin(next), std::end(next), std::begin(FIndex))) return;
  std::copy(std::begin(next), std::end(next), std::begin(FIndex));
  Changed();
}

void TGliphs::SetIndex(int which, int v) {
  if (FIndex[which] == v) return;
  if (!IsValidIndex(v)) throw EListError::CreateFmt("Неверный номер изображения (%d)", v);
  FIndex[which] = v;
  Changed();
}

bool TGliphs::IsValidIndex(int v) {
  auto* owner = dynamic_cast<TControl*>(FOwner);
  if (!owner) return true;
  const TComponentState state = owner->ComponentState();
  if (state.Contains(csLoading) || state.Contains(csDestroying) || state.Contains(csUpdating))
    return true;
  const sys::LRESULT handle = owner->Perform(TCM_GETIMAGELIST);
  if (handle == 0) return true;
  const int count = ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(handle));
  return !(v > 0 && v >= count);
}

void TGliphs::Changed() {
  auto* component = dynamic_cast<TComponent*>(FOwner);
  const bool quiet = component && (component->ComponentState().Contains(csDestroying) ||
                                   component->ComponentState().Contains(csUpdating));
  if (!quiet) {
    if (auto* button = dynamic_cast<TSpeedButtonZel*>(FOwner))
      button->UpdateGlyph();
    else if (auto* control = dynamic_cast<TControl*>(FOwner))
      control->Invalidate();
  }
  if (OnChanged) OnChanged(this);
}

// ---- TZelLink
// -------------------------------------------------------------------------------------

TZelLink::TZelLink(TControl* client) : TControlActionLink(client) {
  AssignClient(client);
}

void TZelLink::AssignClient(TObject* client) {
  FClient = dynamic_cast<TSpeedButtonZel*>(client);
  if (client && !FClient) throw EInvalidCast("Invalid class typecast");
}

bool TZelLink::IsCheckedLinked() const {
  auto* action = CustomAction();
  return TControlActionLink::IsCheckedLinked() && action && FClient &&
         FClient->Checked() == action->Checked();
}

bool TZelLink::IsHelpContextLinked() const {
  // The action's help link, without comparing the control's own value.
  return TActionLink::IsHelpContextLinked();
}

void TZelLink::SetChecked(bool value) {
  if (IsCheckedLinked() && FClient) FClient->SetChecked(value);
}

void TZelLink::SetHelpContext(int value) {
  TControlActionLink::SetHelpContext(value);
}

} // namespace zel
