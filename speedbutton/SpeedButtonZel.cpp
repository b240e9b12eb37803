// TSpeedButtonZel: construction, properties, update brackets, glyph
// selection, painting and the messages the button handles itself.

#include "speedbutton/SpeedButtonZel.h"

#include <algorithm>
#include <cstring>

#include "bitop/BitOp.h"
#include "framework/controls/WinControl.h"
#include "framework/core/Exceptions.h"
#include "framework/graphics/Colors.h"
#include "platform/user/Input.h"
#include "platform/user/Paint.h"

namespace zel {

using sys::WM_GETTEXT;
using sys::WM_GETTEXTLENGTH;
using sys::WM_KILLFOCUS;
using sys::WM_LBUTTONUP;
using sys::WM_SETFOCUS;
using sys::WM_SETTEXT;

namespace {

// Runs a block with the face's change notification switched off, so that a
// burst of face changes ends in the one invalidation the caller makes.
class TSilentFace {
public:
  explicit TSilentFace(TRichImageList* face) : FFace(face), FSaved(std::move(face->OnChange)) {
    face->OnChange = nullptr;
  }
  ~TSilentFace() { FFace->OnChange = std::move(FSaved); }
  TSilentFace(const TSilentFace&) = delete;
  TSilentFace& operator=(const TSilentFace&) = delete;

private:
  TRichImageList* FFace;
  TNotifyEvent FSaved;
};

} // namespace

TSpeedButtonZel::TSpeedButtonZel(TComponent* owner) : TGraphicControl(owner) {
  fList = std::make_unique<TRichImageList>();
  fList->SetBorder(ZelSingleBorder);
  fList->SetBlend(255);
  fList->SetFrameColor(TColor(0xC66931));
  fList->SetSelectedColor(TColor(0xEFD3C6));
  fList->SetColor(Color());
  fList->SetImageIndex(-1);
  fList->SetSpacing(2);
  fList->SetEnabled(Enabled());
  SetBounds(Left(), Top(), 28, 28);
  fList->SetWidth(28);
  fList->SetHeight(28);
  fList->OnChange = [this](TObject* sender) { FaceChanged(sender); };
  FGliphs = std::make_unique<TGliphs>(this);
  FImageChangeLink = std::make_unique<TChangeLink>();
  FImageChangeLink->OnChange = [this](TObject* sender) { ImageListChange(sender); };
  FControlStyle += csOpaque;
}

TSpeedButtonZel::~TSpeedButtonZel() {
  // The timers are owned components; freeing them here keeps their
  // callbacks from outliving the state they use.
  delete FRepeatTimer;
  FRepeatTimer = nullptr;
  delete FHoverTimer;
  FHoverTimer = nullptr;
  if (TCustomImageList* list = ImageList()) list->UnRegisterChanges(FImageChangeLink.get());
  FActionLink.reset();
  fList->OnChange = nullptr;
}

// ---- Update brackets -------------------------------------------------------------------

void TSpeedButtonZel::BeginUpdate() {
  if (FUpdateCount++ == 0) Updating();
}

void TSpeedButtonZel::EndUpdate() {
  if (FUpdateCount == 1) Updated();
  if (FUpdateCount > 0) --FUpdateCount;
}

void TSpeedButtonZel::Updated() {
  const bool was = ComponentState().Contains(csUpdating);
  TGraphicControl::Updated();
  if (was) {
    // The count still says "updating" here; drop it for the final redraw.
    const int32_t saved = FUpdateCount;
    FUpdateCount = 0;
    Changed();
    Invalidate();
    FUpdateCount = saved;
  }
}

void TSpeedButtonZel::FaceChanged(TObject* sender) {
  if (sender != fList.get() || IsUpdating()) return;
  Invalidate();
  Changed();
}

// ---- Property setters ------------------------------------------------------------------

void TSpeedButtonZel::SetChecked(bool v) {
  if (v == fList->Checked()) return;
  fList->SetChecked(v);
  UpdateGlyph();
}

void TSpeedButtonZel::SetBorder(TZelButtonBorder v) {
  fList->SetBorder(v);
  if (!FDropButton) return;
  // The corner square's size and the part's dimming depend on the border.
  FDropButton->SetBorder(v);
  SyncDropBlend();
  ArrangeParts();
}

void TSpeedButtonZel::SetBtnFrameColor(TColor v) {
  fList->SetFrameColor(v);
  if (FDropButton) FDropButton->SetBtnFrameColor(FStyle == cbsDrop ? SelectedColor() : v);
}

void TSpeedButtonZel::SetSelectedColor(TColor v) {
  fList->SetSelectedColor(v);
  if (FDropButton) {
    FDropButton->SetSelectedColor(v);
    FDropButton->SetBtnFrameColor(FStyle == cbsDrop ? v : BtnFrameColor());
  }
}

void TSpeedButtonZel::UpdateOpaque() {
  // Without a colour the face shows the parent below it, which must then
  // be painted first.
  if (Blend() == 255 && !Transparent() && Color() != clNone)
    FControlStyle += csOpaque;
  else
    FControlStyle -= csOpaque;
}

void TSpeedButtonZel::SetBlend(uint8_t v) {
  fList->SetBlend(v);
  UpdateOpaque();
  SyncDropBlend();
}

void TSpeedButtonZel::SetTransparent(bool v) {
  fList->SetTransparent(v);
  UpdateOpaque();
}

void TSpeedButtonZel::SetButtonKind(TZelButtonKind v) {
  if (v == FButtonKind) return;
  FButtonKind = v;
  if (v != ZelBKImage) {
    // A built-in glyph is never a state's own, as the glyph selection says.
    fList->SetImageIndex(-int(v));
    fList->SetSubstitute(true);
  } else {
    fList->SetImageIndex(0);
  }
}

void TSpeedButtonZel::SetStyle(TZelButtonStyle v) {
  if (v == FStyle) return;
  FStyle = v;
  RecreateDropButton();
}

void TSpeedButtonZel::SetGliphs(TGliphs* v) {
  BeginUpdate();
  try {
    if (v)
      FGliphs->Assign(v);
    else
      FGliphs->Clear();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  // The glyph set's own notice selects no glyph inside the bracket.
  const TComponentState state = ComponentState();
  if (!state.Contains(csLoading) && !state.Contains(csDestroying)) UpdateGlyph();
}

// ---- Glyph selection -------------------------------------------------------------------

void TSpeedButtonZel::UpdateGlyph() {
  if (FButtonKind != ZelBKImage) {
    TSilentFace silent(fList.get());
    fList->SetImageIndex(-int(FButtonKind));
    fList->SetSubstitute(true);
    return;
  }
  const TGliphs& g = *FGliphs;
  int idx = -1;
  FOwnGlyph = true;
  auto take = [&](int index) {
    idx = index;
    if (FOwnGlyph) FOwnGlyph = idx >= 0;
  };
  auto fallBack = [&](int index) {
    if (idx == -1) idx = index;
  };
  bool done = false;
  if (fList->Pushed() && Enabled()) {
    take(g.ImageIndexPush());
    done = idx != -1;
  }
  if (!done) {
    const bool hot = fList->Hot();
    const bool enabled = Enabled();
    if (fList->Checked()) {
      if (hot) {
        take(g.ImageIndexCheckHot());
        fallBack(g.ImageIndexCheck());
        fallBack(g.ImageIndexNormalHot());
        fallBack(g.ImageIndexNormal());
      } else if (enabled) {
        take(g.ImageIndexCheck());
        fallBack(g.ImageIndexCheckHot());
        fallBack(g.ImageIndexNormal());
        fallBack(g.ImageIndexNormalHot());
      } else {
        take(g.ImageIndexCheckDisable());
        fallBack(g.ImageIndexCheck());
        fallBack(g.ImageIndexCheckHot());
        fallBack(g.ImageIndexNormalHot());
        fallBack(g.ImageIndexNormal());
      }
    } else if (hot) {
      if (Border() == ZelXPBorder) {
        idx = g.ImageIndexNormalHot();
        FOwnGlyph = false;
      } else {
        take(g.ImageIndexNormalHot());
      }
      fallBack(g.ImageIndexNormal());
    } else if (enabled) {
      take(g.ImageIndexNormal());
      fallBack(g.ImageIndexNormalHot());
    } else {
      take(g.ImageIndexDisable());
      fallBack(g.ImageIndexNormal());
      fallBack(g.ImageIndexNormalHot());
    }
  }
  {
    TSilentFace silent(fList.get());
    fList->SetSubstitute(!FOwnGlyph);
    fList->SetImageIndex(idx);
  }
  Changed();
  Invalidate();
}

// ---- Image list ------------------------------------------------------------------------

TCustomImageList* TSpeedButtonZel::ImageList() const {
  return fList ? fList->ImageList() : nullptr;
}

void TSpeedButtonZel::SetImageList(TCustomImageList* v) {
  if (!fList) throw Exception("Не создан fList");
  if (TCustomImageList* old = ImageList()) {
    old->UnRegisterChanges(FImageChangeLink.get());
    old->RemoveFreeNotification(this);
  }
  BeginUpdate();
  fList->SetImageList(v);
  FImageListComponent = v;
  if (v) {
    v->RegisterChanges(FImageChangeLink.get());
    v->FreeNotification(this);
    ClearFaceCache();
    UpdateGlyph();
  }
  EndUpdate();
  Changed();
}

void TSpeedButtonZel::ImageListChange(TObject* sender) {
  if (!sender || sender != ImageList()) return;
  ClearFaceCache();
  BeginUpdate();
  UpdateGlyph();
  Changed();
  EndUpdate();
}

void TSpeedButtonZel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FDropButton) FDropButton = nullptr;
  if (component == FHoverTimer) FHoverTimer = nullptr;
  if (component == FRepeatTimer) FRepeatTimer = nullptr;
  if (component && component == FImageListComponent) {
    FImageListComponent = nullptr;
    BeginUpdate();
    fList->SetImageList(nullptr);
    ClearFaceCache();
    UpdateGlyph();
    Changed();
    EndUpdate();
  }
  if (FActionLink && component == FActionLink->Action()) FActionLink.reset();
}

// ---- Life cycle, painting ----------------------------------------------------------------

void TSpeedButtonZel::Loaded() {
  TGraphicControl::Loaded();
  UpdateGlyph();
  ArrangeParts();
  Invalidate();
}

void TSpeedButtonZel::Paint() {
  if (!Parent()) return;
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  const sys::RECT r{0, 0, fList->Width(), fList->Height()};
  fList->Draw(canvas, r);
  if (ComponentState().Contains(csDesigning) && Border() == ZelNoBorder) {
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetColor(clGrayText);
    canvas->Rectangle(0, 0, Width(), Height());
  }
}

void TSpeedButtonZel::Invalidate() {
  if (IsUpdating()) return;
  if (Parent() && Parent()->HandleAllocated()) {
    const sys::RECT r = BoundsRect();
    sys::InvalidateRect(Parent()->Handle(), &r, sys::TRUE);
  }
}

void TSpeedButtonZel::Repaint() {
  if (IsUpdating()) return;
  TGraphicControl::Repaint();
}

// ---- Messages ------------------------------------------------------------------------------

void TSpeedButtonZel::HandleSetText(TMessage& m) {
  const char* text = reinterpret_cast<const char*>(m.LParam);
  fList->SetCaption(text ? std::string_view(text) : std::string_view());
  m.Result = 1;
}

void TSpeedButtonZel::HandleGetText(TMessage& m) {
  const std::string caption = fList->Caption();
  char* buf = reinterpret_cast<char*>(m.LParam);
  if (!buf || m.WParam == 0) {
    m.Result = 0;
    return;
  }
  size_t n = std::min(caption.size(), size_t(m.WParam) - 1);
  // A character is never cut in two.
  while (n > 0 && n < caption.size() && (static_cast<unsigned char>(caption[n]) & 0xC0) == 0x80)
    --n;
  std::memcpy(buf, caption.data(), n);
  buf[n] = '\0';
  m.Result = sys::LRESULT(n);
}

void TSpeedButtonZel::WndProc(TMessage& m) {
  switch (m.Msg) {
  case CM_MOUSEENTER:
    if (m.LParam == 0 || m.LParam == sys::LPARAM(this)) MouseEntered();
    return;
  case CM_MOUSELEAVE:
    if (m.LParam == 0 || m.LParam == sys::LPARAM(this)) MouseLeft();
    return;
  case CM_COLORCHANGED:
    fList->SetColor(Color());
    UpdateOpaque();
    if (FDropButton) FDropButton->SetColor(Color());
    return;
  case CM_FONTCHANGED:
    ClearFaceCache();
    Invalidate();
    return;
  case WM_SETTEXT:
    HandleSetText(m);
    return;
  case WM_GETTEXT:
    HandleGetText(m);
    return;
  case WM_GETTEXTLENGTH:
    m.Result = sys::LRESULT(fList->Caption().size());
    return;
  case WM_LBUTTONUP:
    SetPushed(false);
    TGraphicControl::WndProc(m);
    return;
  case CM_ENABLEDCHANGED:
    TGraphicControl::WndProc(m);
    EnabledChanged();
    return;
  case CM_VISIBLECHANGED:
    TGraphicControl::WndProc(m);
    VisibleChanged();
    return;
  case TCM_GETIMAGELIST: {
    TCustomImageList* list = ImageList();
    m.Result = list ? sys::LRESULT(list->Handle()) : 0;
    return;
  }
  default:
    break;
  }
  TGraphicControl::WndProc(m);
  if (m.Msg == WM_SETFOCUS) FocusGained();
  if (m.Msg == WM_KILLFOCUS) FocusLost();
}

} // namespace zel
