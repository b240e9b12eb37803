// TFrameColorMap: construction, the manager, the refresh that shows the
// controls fitting the manager, the operations that give the frame's
// settings to the bars, the style menu, the glyph size and the layout rules.

#include "colormap/UnitFrameColorMap.h"

#include <algorithm>

#include "actionbars/ZelStyleActnCtrls.h"
#include "colormap/FrameColorMapConsts.h"
#include "docking/FloatTree.h"
#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/PopupActnBar.h"
#include "framework/core/StrUtils.h"
#include "framework/docking/DragDock.h"
#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/ControlBar.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/Panel.h"
#include "framework/stdctrls/TrackBar.h"
#include "imagelist/ImageListZel.h"
#include "platform/user/SystemParams.h"
#include "speedbutton/SpeedButtonZel.h"

namespace zel {

namespace {

// A menu caption as it reads: "&" marks the accelerator and "&&" stands for
// one ampersand.
std::string StripAccelerators(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

} // namespace

// ---- Construction --------------------------------------------------------------------------

TFrameColorMap::TFrameColorMap(TComponent* owner) : TFrame(owner) {
  BuildFrameColorMap(*this);
  // The default-colour button sits in the grid's title row, in the grid's
  // fixed colour.
  SpeedButtonZel8->SetParent(ValueListEditor1);
  SpeedButtonZel8->SetParentColor(false);
  SpeedButtonZel8->SetColor(ValueListEditor1->FixedColor());
  SpeedButtonZel8->BringToFront();
  PlaceDefaultColorButton();
  ValueListEditor1->SetDoubleBuffered(true);
  SetDoubleBuffered(true);
  GroupBox1->SetDoubleBuffered(true);
  FStylePrefix = sbStyle->Caption() + " ";
  BuildStyleMenu();
  if (TStringList* styles = ActionBarStyles(); styles && styles->Count() > 1)
    SelectStyle(styles->Get(1));
  FGlyphSize = TrackBar1->Position();
  SetCaption(SFrameColorMapCaption);
}

TFrameColorMap::~TFrameColorMap() {
  Destroying();
  // The components go after this body: none of their events may reach the
  // frame any more.
  if (FActionManager) FActionManager->RemoveFreeNotification(this);
  FActionManager = nullptr;
  for (TCustomActionBarColorMap* map : {static_cast<TCustomActionBarColorMap*>(StandardColorMap1),
                                        static_cast<TCustomActionBarColorMap*>(XPColorMap1),
                                        static_cast<TCustomActionBarColorMap*>(TwilightColorMap1)})
    if (map) map->OnColorChange = nullptr;
  // A component freed before the frame (by a parent outside the frame) has
  // already cleared its field, see Notification.
  if (ValueListEditor1) {
    ValueListEditor1->OnDrawCell = nullptr;
    ValueListEditor1->OnSelectCell = nullptr;
    ValueListEditor1->OnTopLeftChanged = nullptr;
    ValueListEditor1->OnExit = nullptr;
  }
  if (FColorEditor) {
    FColorEditor->OnChange = nullptr;
    FColorEditor->OnExit = nullptr;
  }
  if (cbStart) cbStart->OnChange = nullptr;
  if (cbEnd) cbEnd->OnChange = nullptr;
  if (TrackBar1) TrackBar1->OnChange = nullptr;
}

// Every field of the description, for f to inspect or clear.
template <class F> void TFrameColorMap::ForEachDescribedField(F&& f) {
  f(lCapSize), f(lSize), f(TrackBar1), f(sbHideUnused), f(sbStyle), f(SpeedButtonZel1);
  f(SpeedButtonZel2), f(SpeedButtonZel3), f(GroupBox1), f(SpeedButtonZel4), f(SpeedButtonZel5);
  f(SpeedButtonZel6), f(lStartColor), f(lEndColor), f(cbStart), f(cbEnd), f(ValueListEditor1);
  f(SpeedButtonZel8), f(ImageListZel1), f(ActionList1), f(actXPColorMap), f(actStandartColorMap);
  f(actTwilightColorMap), f(actGradient), f(actVert), f(actHor), f(actDefaultColor);
  f(actHideUnused), f(StandardColorMap1), f(XPColorMap1), f(TwilightColorMap1);
}

// One radio item per registered style, in the list's order.
void TFrameColorMap::BuildStyleMenu() {
  FStyleMenu = new TPopupActionBar(this);
  if (TStringList* styles = ActionBarStyles())
    for (int i = 0; i < styles->Count(); ++i) {
      auto* item = new TMenuItem(this);
      item->SetCaption(styles->Get(i));
      item->SetTag(i);
      item->SetGroupIndex(3);
      item->SetRadioItem(true);
      item->OnClick = [this](TObject* sender) { StyleMenuClick(sender); };
      FStyleMenu->Items()->Add(item);
    }
  FStyleMenu->OnGetControlClass = [this](TCustomActionBar* bar, TActionClient* item,
                                         TCustomActionControlClass& cls) {
    StyleMenuControlClass(bar, item, cls);
  };
}

void TFrameColorMap::BeginUpdate() {
  if (FUpdateCount++ == 0) Updating();
}

void TFrameColorMap::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) Updated();
}

// ---- The manager ---------------------------------------------------------------------------

void TFrameColorMap::SetActionManager(TCustomActionManager* manager) {
  if (manager == FActionManager) return;
  if (FActionManager) FActionManager->RemoveFreeNotification(this);
  if (manager) manager->FreeNotification(this);
  FActionManager = manager;
  // The bars keep the look they have: the manager's style becomes the
  // selected one, so the button names it and the layout saves it.
  if (manager && manager->Style()) ShowStyle(manager->StyleName());
  RefreshFrame();
}

void TFrameColorMap::Notification(TComponent* component, TOperation operation) {
  TFrame::Notification(component, operation);
  if (operation != opRemove) return;
  // The frame owns its components, but a control moved out of the frame
  // may be freed with its new parent before the frame: no field may keep
  // pointing at it.
  ForEachDescribedField([component](auto*& field) {
    if (static_cast<TComponent*>(field) == component) field = nullptr;
  });
  if (component == FColorEditor) FColorEditor = nullptr;
  if (component == FStyleMenu) FStyleMenu = nullptr;
  if (component == FActionManager) {
    FActionManager = nullptr;
    if (!ComponentState().Contains(csDestroying)) RefreshFrame();
  }
}

TCustomActionBarColorMap* TFrameColorMap::CurrentColorMap() const {
  if (actXPColorMap->Checked()) return XPColorMap1;
  if (actStandartColorMap->Checked()) return StandardColorMap1;
  if (actTwilightColorMap->Checked()) return TwilightColorMap1;
  return nullptr;
}

template <class F> void TFrameColorMap::ForEachActionBar(F&& f) {
  if (!FActionManager) return;
  TActionBars* bars = FActionManager->ActionBars();
  for (int i = 0; i < bars->Count(); ++i)
    if (TCustomActionBar* bar = bars->ActionBars(i)->ActionBar()) f(bar);
}

// ---- Refresh ------------------------------------------------------------------------------

void TFrameColorMap::RefreshFrame() {
  const TComponentState state = ComponentState();
  if (state.Contains(csUpdating) || state.Contains(csDestroying) || state.Contains(csLoading))
    return;
  const bool gridWasShown = ValueListEditor1->Visible();
  InUpdate([this] {
    const bool manager = FActionManager != nullptr;
    if (manager) {
      TCustomControlBar* controlBar = nullptr;
      ForEachActionBar([&](TCustomActionBar* bar) {
        if (!controlBar) controlBar = GradientControlBar(bar);
      });
      if (controlBar) {
        EnableGradientControls(controlBar->DrawingStyle() == dsGradient, true);
        cbStart->SetSelected(controlBar->GradientStartColor());
        cbEnd->SetSelected(controlBar->GradientEndColor());
      } else {
        EnableGradientControls(actGradient->Checked(), false);
      }
      BuildColorList(FColorList, nullptr);
      TActionBars* bars = FActionManager->ActionBars();
      actHideUnused->SetEnabled(bars->Count() > 0);
      actHideUnused->SetVisible(true);
      actHideUnused->SetChecked(BarsHideUnused());
      sbHideUnused->SetEnabled(actHideUnused->Enabled());
      for (TSpeedButtonZel* b : {SpeedButtonZel1, SpeedButtonZel2, SpeedButtonZel3})
        b->SetVisible(true);
      auto* images = dynamic_cast<TImageListZel*>(FActionManager->Images());
      TrackBar1->SetEnabled(images != nullptr);
      if (images) lSize->SetCaption(IntToStr(images->Width()));
      const bool anyImages = FActionManager->Images() != nullptr;
      for (TControl* c : std::initializer_list<TControl*>{TrackBar1, lCapSize, lSize})
        c->SetVisible(anyImages);
    } else {
      EnableGradientControls(actGradient->Checked(), false);
      FColorList.reset();
      actHideUnused->SetVisible(false);
      for (TControl* c : std::initializer_list<TControl*>{
               SpeedButtonZel1, SpeedButtonZel2, SpeedButtonZel3, TrackBar1, lCapSize, lSize})
        c->SetVisible(false);
    }
    sbStyle->SetVisible(manager);
    RebuildRows();
    if (FColorEditor) FColorEditor->Hide();
    ValueListEditor1->SetVisible(manager && CurrentColorMap());
  });
  if (ValueListEditor1->Visible() && !gridWasShown) ShowGridWhileFloating();
}

// A grid that appears while the editor floats (the first map chosen in a
// floating editor) would open cut off at the form's bottom: the form grows
// to show it, no further than the screen's bottom.
void TFrameColorMap::ShowGridWhileFloating() {
  auto* host = dynamic_cast<TWinControl*>(HostDockSite());
  if (!Floating() || !host) return;
  const int wanted = NaturalClientSize().cy - ClientHeight();
  if (wanted <= 0) return;
  sys::RECT work{};
  sys::SystemParametersInfo(sys::SPI_GETWORKAREA, 0, &work, 0);
  const int height = std::min(host->Height() + wanted, int(work.bottom - work.top));
  const int top = std::max(int(work.top), std::min(host->Top(), int(work.bottom) - height));
  host->SetBounds(host->Left(), top, host->Width(), height);
}

void TFrameColorMap::EnableGradientControls(bool checked, bool enabled) {
  actGradient->SetChecked(checked);
  actGradient->SetEnabled(enabled);
  const bool e = checked && enabled;
  for (TCustomAction* a : {actVert, actHor})
    a->SetEnabled(e);
  for (TControl* c : std::initializer_list<TControl*>{lStartColor, lEndColor, cbStart, cbEnd})
    c->SetEnabled(e);
  for (TColorBox* box : {cbStart, cbEnd}) {
    if (e) {
      box->SetParentFont(true);
      box->SetColor(clWindow);
    } else {
      box->Font()->SetColor(clGrayText);
      box->SetParentColor(true);
    }
  }
  GroupBox1->SetVisible(FActionManager != nullptr);
}

// ---- Giving the settings to the bars --------------------------------------------------------

void TFrameColorMap::actColorMapExecute(TObject*) {
  ApplyColorMapAndStyle();
}

void TFrameColorMap::ApplyColorMapAndStyle() {
  if (FActionManager) {
    TCustomActionBarColorMap* map = CurrentColorMap();
    ForEachActionBar([map](TCustomActionBar* bar) { bar->SetColorMap(map); });
    if (TStringList* styles = ActionBarStyles())
      for (int i = 0; i < styles->Count(); ++i)
        if (styles->Get(i) == FStyleName) {
          FActionManager->SetStyle(static_cast<TActionBarStyle*>(styles->Objects(i)));
          break;
        }
  }
  ApplyBarColor();
  if (!IsUpdating()) RefreshFrame();
}

void TFrameColorMap::ChangeColorMap(TObject*) {
  ApplyBarColor();
}

void TFrameColorMap::ApplyBarColor() {
  TCustomActionBarColorMap* map = CurrentColorMap();
  if (!map || map->Color() == FLastMapColor) return;
  FLastMapColor = map->Color();
  const TColor color = FLastMapColor;
  // clDefault means "as the parent": the control takes its parent's colour.
  auto paint = [color](TControl* c) {
    if (color == clDefault) {
      c->SetParentColor(true);
    } else {
      c->SetParentColor(false);
      c->SetColor(color);
    }
  };
  ForEachActionBar([&](TCustomActionBar* bar) {
    if (auto* controlBar = dynamic_cast<TCustomControlBar*>(bar->Parent())) paint(controlBar);
    paint(bar);
  });
}

void TFrameColorMap::actGradientExecute(TObject*) {
  ApplyGradient();
}

void TFrameColorMap::actVertHorExecute(TObject*) {
  ApplyGradient();
}

void TFrameColorMap::ApplyGradient() {
  ForEachActionBar([this](TCustomActionBar* bar) {
    TCustomControlBar* controlBar = GradientControlBar(bar);
    if (!controlBar) return;
    controlBar->SetGradientStartColor(cbStart->Selected());
    controlBar->SetGradientEndColor(cbEnd->Selected());
    if (actVert->Checked())
      controlBar->SetGradientDirection(gdVertical);
    else if (actHor->Checked())
      controlBar->SetGradientDirection(gdHorizontal);
    controlBar->SetDrawingStyle(actGradient->Checked() ? TBandDrawingStyle::dsGradient
                                                       : TBandDrawingStyle::dsNormal);
    bar->Repaint();
  });
  if (!IsUpdating()) RefreshFrame();
}

void TFrameColorMap::actHideUnusedExecute(TObject*) {
  // The action does not check itself.
  actHideUnused->SetChecked(!actHideUnused->Checked());
  ApplyHideUnused();
}

bool TFrameColorMap::BarsHideUnused() const {
  return FActionManager ? FActionManager->ActionBars()->HideUnused() : actHideUnused->Checked();
}

void TFrameColorMap::ApplyHideUnused() {
  if (FActionManager) FActionManager->ActionBars()->SetHideUnused(actHideUnused->Checked());
  if (!IsUpdating()) RefreshFrame();
}

void TFrameColorMap::actDefaultColorExecute(TObject*) {
  TCustomActionBarColorMap* map = CurrentColorMap();
  if (!map) return;
  map->UpdateColors();
  ApplyColorMapAndStyle();
}

// ---- The style menu -------------------------------------------------------------------------

void TFrameColorMap::sbStyleClick(TObject*) {
  if (!FStyleMenu) return;
  const sys::POINT p = sbStyle->ClientToScreen(sys::POINT{1, sbStyle->Height() - 2});
  FStyleMenu->Popup(p.x, p.y);
}

void TFrameColorMap::StyleMenuClick(TObject* sender) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  TStringList* styles = ActionBarStyles();
  if (!item || !styles || item->Tag() < 0 || item->Tag() >= styles->Count()) return;
  SelectStyle(styles->Get(int(item->Tag())));
}

void TFrameColorMap::SelectStyle(const std::string& name) {
  if (name == FStyleName) return;
  ShowStyle(name);
  ApplyColorMapAndStyle();
}

// Makes name the selected style in the menu and on the button, without
// giving it to the manager.
void TFrameColorMap::ShowStyle(const std::string& name) {
  FStyleName = name;
  if (FStyleMenu) {
    TMenuItem* root = FStyleMenu->Items();
    for (int i = 0; i < root->Count(); ++i)
      root->Items(i)->SetChecked(false);
    for (int i = 0; i < root->Count(); ++i)
      if (StripAccelerators(root->Items(i)->Caption()) == name) {
        root->Items(i)->SetChecked(true);
        break;
      }
  }
  sbStyle->SetCaption(FStylePrefix + name);
}

// The style menu is drawn in the chosen style and colour map.
void TFrameColorMap::StyleMenuControlClass(TCustomActionBar* bar, TActionClient* item,
                                           TCustomActionControlClass& cls) {
  if (bar) bar->SetColorMap(CurrentColorMap());
  auto* clientItem = dynamic_cast<TActionClientItem*>(item);
  if (FStyleName.empty() || !clientItem) return;
  if (TStringList* styles = ActionBarStyles())
    for (int i = 0; i < styles->Count(); ++i)
      if (AnsiSameText(styles->Get(i), FStyleName))
        cls = static_cast<TActionBarStyle*>(styles->Objects(i))->ControlClassFor(bar, clientItem);
}

// ---- Glyph size ------------------------------------------------------------------------------

void TFrameColorMap::TrackBar1Change(TObject*) {
  auto* images = FActionManager ? dynamic_cast<TImageListZel*>(FActionManager->Images()) : nullptr;
  if (!images) return;
  FGlyphSize = TrackBar1->Position();
  images->BeginUpdate();
  try {
    images->SetSize(FGlyphSize, FGlyphSize);
  } catch (...) {
    images->EndUpdate();
    throw;
  }
  images->EndUpdate();
  lSize->SetCaption(IntToStr(FGlyphSize));
}

// ---- Layout ------------------------------------------------------------------------------------

void TFrameColorMap::Resize() {
  TFrame::Resize();
  // The rules need the whole description in place.
  if (!SpeedButtonZel8 || ComponentState().Contains(csLoading) ||
      ComponentState().Contains(csDestroying))
    return;
  const int width = ClientWidth();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c == lCapSize || c == lSize || c == FColorEditor) continue;
    c->SetWidth(width - 2 * c->Left());
  }
  LayOutGroupBox();
  const int g = ValueListEditor1->Left();
  const int boxBottom = GroupBox1->Top() + GroupBox1->Height();
  ValueListEditor1->SetBounds(g, boxBottom + g, GroupBox1->Width(),
                              ClientHeight() - boxBottom - 2 * g);
  if (!FLaidOut) {
    RefreshFrame();
    FLaidOut = true;
  }
  PlaceDefaultColorButton();
}

// The direction buttons side by side when there is room, else one below the
// other; the colour rows under them; the box as high as its content.
void TFrameColorMap::LayOutGroupBox() {
  TSpeedButtonZel* vert = SpeedButtonZel5;
  TSpeedButtonZel* hor = SpeedButtonZel6;
  const int client = GroupBox1->ClientWidth();
  if (client > vert->Left() + vert->Width() + hor->Width() + 8)
    hor->SetBounds(vert->Left() + vert->Width() + 4, vert->Top(), hor->Width(), hor->Height());
  else
    hor->SetBounds(vert->Left(), vert->Top() + vert->Height(), hor->Width(), hor->Height());
  lStartColor->SetTop(hor->Top() + hor->Height() + 2);
  lEndColor->SetTop(lStartColor->Top() + lStartColor->Height() + 10);
  cbStart->SetTop(lStartColor->Top() - 4);
  cbEnd->SetTop(lEndColor->Top() - 4);
  for (int i = 0; i < GroupBox1->ControlCount(); ++i) {
    TControl* c = GroupBox1->Controls(i);
    if (Is<TSpeedButtonZel>(c)) continue;
    c->SetWidth(client - c->Left() - GroupBox1->Left());
  }
  GroupBox1->SetHeight(cbEnd->Top() + cbEnd->Height() + 6);
}

// The default-colour button in the top-right corner of the grid's title row.
void TFrameColorMap::PlaceDefaultColorButton() {
  const int h = ValueListEditor1->RowHeights(0);
  SpeedButtonZel8->SetBounds(ValueListEditor1->ClientWidth() - h - 1, 0, h, h);
}

// ---- Floating size -----------------------------------------------------------------------------

sys::SIZE TFrameColorMap::NaturalClientSize() {
  UnitFrameColorMap::TValueListEditor* grid = ValueListEditor1;
  // Without a chosen map there is no grid: the editor ends above its place.
  if (!grid->Visible()) return sys::SIZE{Width(), grid->Top()};
  int rows = 0;
  for (int r = 0; r < grid->RowCount(); ++r)
    rows += grid->RowHeights(r) + grid->GridLineWidth();
  // The frame around the cells, taken across: the grid may be too low to
  // show its frame while the editor is docked in a low window.
  const int border = grid->Width() - grid->ClientWidth();
  // The gap above the grid is its gap below as well.
  const int gap = grid->Left();
  return sys::SIZE{Width(), grid->Top() + border + rows + gap};
}

void TFrameColorMap::DoStartDock(TDragDockObject* dragObject) {
  if (!Floating()) {
    sys::SIZE size{};
    if (TFloatPlacement saved; FloatTree()->Find(this, saved)) {
      size =
          sys::SIZE{saved.Bounds.right - saved.Bounds.left, saved.Bounds.bottom - saved.Bounds.top};
    } else {
      const sys::SIZE client = NaturalClientSize();
      size = TCustomDockForm::SizeForClient(client.cx, client.cy);
    }
    sys::RECT work{};
    sys::SystemParametersInfo(sys::SPI_GETWORKAREA, 0, &work, 0);
    SetUndockWidth(std::clamp(size.cx, 1, std::max(1, work.right - work.left)));
    SetUndockHeight(std::clamp(size.cy, 1, std::max(1, work.bottom - work.top)));
  }
  TFrame::DoStartDock(dragObject);
}

TCustomControlBar* TFrameColorMap::GradientControlBar(TCustomActionBar* bar) {
  if (!Is<TGradientActionMainMenuBar>(bar) && !Is<TGradientActionToolBar>(bar)) return nullptr;
  return dynamic_cast<TCustomControlBar*>(bar->Parent());
}

} // namespace zel
