// The customize dialog: a window of three tabs with the bars, the commands
// and the options of an action manager.

#include "framework/actnbars/CustomizeDlg.h"

#include <algorithm>
#include <string>

#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/DesignDrag.h"
#include "framework/graphics/GraphUtil.h"
#include "framework/graphics/ImageList.h"
#include "framework/stdctrls/ColorDialogParts.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/ListBox.h"
#include "framework/stdctrls/PageControl.h"
#include "framework/stdctrls/Panel.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

// ---- TCustomizeList ------------------------------------------------------------------------

TCustomizeList::TCustomizeList(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  SetTabStop(true);
}

int TCustomizeList::NextRow(int from, int direction) const {
  for (int i = from + direction; i >= 0 && i < int(FRows.size()); i += direction)
    if (!FRows[size_t(i)].Heading) return i;
  return from;
}

bool TCustomizeList::WantsKey(WORD key, TShiftState) {
  return key == VK_UP || key == VK_DOWN || key == VK_SPACE;
}

// The keyboard walks the rows that act and Space acts as a click does.
void TCustomizeList::KeyDown(WORD& key, TShiftState shift) {
  if (FFocusRow >= int(FRows.size())) FFocusRow = -1;
  if (key == VK_UP || key == VK_DOWN) {
    FFocusRow = NextRow(FFocusRow, key == VK_DOWN ? 1 : -1);
    Invalidate();
    key = 0;
  } else if (key == VK_SPACE) {
    if (FFocusRow < 0) FFocusRow = NextRow(-1, 1);
    if (FFocusRow >= 0 && FRows[size_t(FFocusRow)].Toggle) FRows[size_t(FFocusRow)].Toggle();
    Invalidate();
    key = 0;
  }
  TCustomControl::KeyDown(key, shift);
}

void TCustomizeList::WndProc(TMessage& m) {
  if (m.Msg == WM_SETFOCUS) {
    // Coming in from the keyboard, the first row that acts has it.
    if (FFocusRow < 0 || FFocusRow >= int(FRows.size())) FFocusRow = NextRow(-1, 1);
    Invalidate();
  }
  if (m.Msg == WM_KILLFOCUS) Invalidate();
  TCustomControl::WndProc(m);
}

int TCustomizeList::RowAt(int y) const {
  const int row = y / RowHeight;
  return y >= 0 && row < int(FRows.size()) ? row : -1;
}

RECT TCustomizeList::RowHitRect(int row) {
  if (row < 0 || row >= int(FRows.size()) || FRows[size_t(row)].Heading) return RECT{};
  HDC dc = GetDC(nullptr);
  TCanvas measure;
  measure.SetHandle(dc);
  measure.Font()->Assign(Font());
  const int text = measure.TextWidth(FRows[size_t(row)].Caption);
  measure.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  const int top = row * RowHeight;
  // A check box with its caption, or a button around the caption.
  const int left = 16;
  const int right = FRows[size_t(row)].CheckBox ? left + 13 + 6 + text + 4 : left + text + 20;
  return RECT{left, top + 1, std::min(right, ClientWidth() - 4), top + RowHeight - 1};
}

void TCustomizeList::Paint() {
  Canvas()->Font()->Assign(Font());
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
  for (size_t i = 0; i < FRows.size(); ++i) {
    const TRow& row = FRows[i];
    const int top = int(i) * RowHeight;
    int left = 8;
    if (!row.Heading && row.CheckBox) {
      RECT box{left + 8, top + 5, left + 21, top + 18};
      Canvas()->Brush()->SetStyle(bsSolid);
      Canvas()->Brush()->SetColor(int(i) == FPressedRow ? clBtnFace : clWindow);
      Canvas()->FillRect(box);
      RECT edge = box;
      Frame3D(Canvas(), edge, clBtnShadow, clBtnHighlight);
      Frame3D(Canvas(), edge, cl3DDkShadow, cl3DLight);
      if (row.Checked && row.Checked()) {
        Canvas()->Pen()->SetColor(clWindowText);
        DrawCheck(Canvas(), POINT{box.left + 3, box.top + 6}, 2, false);
      }
      left = box.right + 6;
    } else if (!row.Heading) {
      // A command row looks like a push button, sunken while pressed.
      RECT b = RowHitRect(int(i));
      const bool down = int(i) == FPressedRow;
      if (down) {
        Canvas()->Brush()->SetColor(clBtnShadow);
        Canvas()->FrameRect(b);
      } else {
        Frame3D(Canvas(), b, clBtnHighlight, cl3DDkShadow);
        Frame3D(Canvas(), b, cl3DLight, clBtnShadow);
      }
      left = b.left + 9 + (down ? 1 : 0);
    }
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->Font()->SetStyle(row.Heading ? TFontStyles{fsBold} : TFontStyles{});
    RECT t{left, top, ClientWidth() - 4, top + RowHeight};
    if (!row.Heading && !row.CheckBox && int(i) == FPressedRow) OffsetRect(t, 0, 1);
    Canvas()->TextRect(t, row.Caption, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
    if (int(i) == FFocusRow && Focused()) {
      RECT f = RowHitRect(int(i));
      if (!row.CheckBox) InflateRect(f, -3, -3); // inside the button's edges
      Canvas()->Brush()->SetStyle(bsSolid);
      Canvas()->DrawFocusRect(f);
    }
  }
}

void TCustomizeList::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  const int row = RowAt(y);
  if (button != mbLeft || !PtInRect(RowHitRect(row), POINT{x, y})) return;
  FPressedRow = row;
  FFocusRow = row;
  if (CanFocus() && !Focused()) SetFocus();
  Invalidate();
}

// A row acts when the press and the release are both on it, as a button does.
void TCustomizeList::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  const int pressed = FPressedRow;
  FPressedRow = -1;
  Invalidate();
  if (pressed < 0 || !PtInRect(RowHitRect(pressed), POINT{x, y})) return;
  if (FRows[size_t(pressed)].Toggle) FRows[size_t(pressed)].Toggle();
}

// ---- TCustomizeDlg -------------------------------------------------------------------------

namespace {

constexpr int Gap = 8;
constexpr int ButtonWidth = 90, ButtonHeight = 25;

// A caption as a list shows it: accelerator marks dropped, "&&" kept as "&".
std::string PlainCaption(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      out += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  return out;
}

// The name a bar goes by in the list: its caption, else one after its kind.
std::string BarCaption(TCustomActionBar* bar, int index) {
  std::string caption = bar->Caption();
  if (!caption.empty()) return caption;
  if (bar->Is<TCustomActionMainMenuBar>()) return "Главное меню";
  return "Панель инструментов " + std::to_string(index + 1);
}

const char* const NoCategory = "(Без категории)";

TLabel* AddLabel(TWinControl* parent, const std::string& text, int x, int y, int width) {
  auto* label = new TLabel(parent);
  label->SetParent(parent);
  label->SetAutoSize(false);
  label->SetBounds(x, y, width, 16);
  label->SetCaption(text);
  return label;
}

} // namespace

TCustomizeDlg::TCustomizeDlg(TComponent* owner) : TComponent(owner) {}

TCustomizeDlg::~TCustomizeDlg() {
  if (FForm) SetDesignMode(false);
}

void TCustomizeDlg::SetActionManager(TCustomActionManager* value) {
  if (value == FActionManager) return;
  if (FActionManager) FActionManager->RemoveFreeNotification(this);
  FActionManager = value;
  if (value) value->FreeNotification(this);
  if (FForm) Build();
}

void TCustomizeDlg::SetStayOnTop(bool value) {
  FStayOnTop = value;
  if (FForm) FForm->SetFormStyle(value ? fsStayOnTop : fsNormal);
}

void TCustomizeDlg::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == FActionManager) {
    FActionManager = nullptr;
    if (FForm) Build();
  }
  if (component == FForm) {
    FForm = nullptr;
    FPages = nullptr;
    FBarsSheet = FCommandsSheet = FOptionsSheet = nullptr;
    FBarList = FCategoryList = FCommandList = nullptr;
    FResetBarButton = FCloseButton = nullptr;
    FList = nullptr;
  }
  if (auto it = std::find(FBars.begin(), FBars.end(), component); it != FBars.end()) {
    *it = nullptr;
    if (FForm && !ComponentState().Contains(csDestroying)) BuildBars();
  }
  if (FCommandList) {
    const int i = FCommandList->Items()->IndexOfObject(component);
    if (i >= 0) FCommandList->Items()->Delete(i);
  }
}

void TCustomizeDlg::SetDesignMode(bool value) {
  CancelDesignDrag();
  EndDesignMenus();
  if (!FActionManager) return;
  TActionBars* bars = FActionManager->ActionBars();
  for (int i = 0; i < bars->Count(); ++i)
    if (TCustomActionBar* bar = bars->ActionBars(i)->ActionBar()) {
      // Menus opened before belong to the other mode: they close.
      CloseDesignMenus(bar);
      bar->SetDesignMode(value);
      // Disabled items look otherwise in design mode (plain, not shadowed).
      bar->Invalidate();
    }
}

// ---- The window ------------------------------------------------------------------------------

void TCustomizeDlg::CreateForm() {
  FForm = new TForm(this);
  FForm->FreeNotification(this);
  FForm->SetCaption("Настройка");
  FForm->SetBorderStyle(bsDialog);
  FForm->SetFormStyle(FStayOnTop ? fsStayOnTop : fsNormal);
  FForm->SetPosition(poDesigned);
  FForm->SetBounds(160, 120, 400, 380);
  FForm->SetKeyPreview(true);
  FForm->OnKeyDown = [this](TObject*, WORD& key, TShiftState shift) { FormKeyDown(key, shift); };
  FForm->OnClose = [this](TObject*, TCloseAction& action) {
    action = caHide;
    SetDesignMode(false);
    if (OnClose) OnClose(this);
  };
  const int cw = FForm->ClientWidth(), ch = FForm->ClientHeight();
  FCloseButton = new TPushButton(FForm, 0);
  FCloseButton->SetParent(FForm);
  FCloseButton->SetCaption("Закрыть");
  // Enter and Esc both close the dialog.
  FCloseButton->SetDefault(true);
  FCloseButton->SetCancel(true);
  FCloseButton->SetBounds(cw - Gap - ButtonWidth, ch - Gap - ButtonHeight, ButtonWidth,
                          ButtonHeight);
  FCloseButton->OnClick = [this](TObject*) { Close(); };
  FPages = new TPageControl(FForm);
  FPages->SetParent(FForm);
  FPages->SetBounds(Gap, Gap, cw - 2 * Gap, ch - 3 * Gap - ButtonHeight);
  // The keys go through the pages first, as they read, and "Закрыть" last.
  FPages->SetTabOrder(0);
  // Each page is refilled when it comes up, so it never shows stale state.
  FPages->OnChange = [this](TObject*) { Build(); };
  CreateBarsTab();
  CreateCommandsTab();
  CreateOptionsTab();
  FPages->SetActivePage(FBarsSheet);
}

void TCustomizeDlg::CreateBarsTab() {
  FBarsSheet = new TTabSheet(FForm);
  FBarsSheet->SetCaption("Панели");
  FBarsSheet->SetPageControl(FPages);
  const sys::RECT page = FPages->DisplayRect();
  const int w = page.Width(), h = page.Height();
  AddLabel(FBarsSheet, "Панели инструментов:", Gap, Gap, w - 2 * Gap);
  FBarList = new TListBox(FForm);
  FBarList->SetParent(FBarsSheet);
  FBarList->SetCheckBoxes(true);
  FBarList->SetBounds(Gap, Gap + 18, w - 3 * Gap - ButtonWidth, h - 2 * Gap - 18);
  FBarList->OnClickCheck = [this](TObject*) {
    const int line = FBarList->ItemIndex();
    if (TCustomActionBar* bar = BarOfLine(line)) bar->SetVisible(FBarList->Checked(line));
  };
  FBarList->OnClick = [this](TObject*) {
    const int line = FBarList->ItemIndex();
    TCustomActionBar* bar = BarOfLine(line);
    TActionBarItem* item = bar && FActionManager ? FActionManager->FindActionBar(bar) : nullptr;
    FResetBarButton->SetEnabled(item && FActionManager->HasBarDefaults(item->Index()));
  };
  FResetBarButton = new TPushButton(FForm, 0);
  FResetBarButton->SetParent(FBarsSheet);
  FResetBarButton->SetCaption("Сбросить");
  FResetBarButton->SetBounds(w - Gap - ButtonWidth, Gap + 18, ButtonWidth, ButtonHeight);
  FResetBarButton->OnClick = [this](TObject*) { ResetBar(FBarList->ItemIndex()); };
}

void TCustomizeDlg::CreateCommandsTab() {
  FCommandsSheet = new TTabSheet(FForm);
  FCommandsSheet->SetCaption("Команды");
  FCommandsSheet->SetPageControl(FPages);
  const sys::RECT page = FPages->DisplayRect();
  const int w = page.Width(), h = page.Height();
  const int listTop = Gap + 18, hintHeight = 32;
  const int listHeight = h - listTop - Gap - hintHeight - Gap;
  const int categoryWidth = 120;
  AddLabel(FCommandsSheet, "Категории:", Gap, Gap, categoryWidth);
  AddLabel(FCommandsSheet, "Команды:", 2 * Gap + categoryWidth, Gap, w - 3 * Gap - categoryWidth);
  FCategoryList = new TListBox(FForm);
  FCategoryList->SetParent(FCommandsSheet);
  FCategoryList->SetBounds(Gap, listTop, categoryWidth, listHeight);
  FCategoryList->OnClick = [this](TObject*) { BuildCommands(); };
  FCommandList = new TListBox(FForm);
  FCommandList->SetParent(FCommandsSheet);
  FCommandList->SetStyle(lbOwnerDrawFixed);
  FCommandList->SetBounds(2 * Gap + categoryWidth, listTop, w - 3 * Gap - categoryWidth,
                          listHeight);
  FCommandList->OnDrawItem = [this](TWinControl*, int index, const sys::RECT& r,
                                    TOwnerDrawState state) {
    DrawCommand(index, r, state.Contains(odSelected));
  };
  // A press on a command arms a drag; the list holds the mouse until the
  // release, so the moves over the bars come here too.
  FCommandList->OnMouseDown = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
    const int i = FCommandList->ItemAtPos(sys::POINT{x, y});
    if (button != mbLeft || i < 0) return;
    auto* action = dynamic_cast<TContainedAction*>(FCommandList->Items()->Objects(i));
    BeginCommandDrag(action, FCommandList->ClientToScreen(sys::POINT{x, y}));
  };
  FCommandList->OnMouseMove = [this](TObject*, TShiftState, int x, int y) {
    if (DesignDragArmed()) DesignDragMove(FCommandList->ClientToScreen(sys::POINT{x, y}));
  };
  FCommandList->OnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
    if (button == mbLeft && DesignDragArmed())
      DesignDragEnd(FCommandList->ClientToScreen(sys::POINT{x, y}), true);
  };
  auto* hint = AddLabel(FCommandsSheet,
                        "Чтобы добавить команду на панель, перетащите её из списка команд на "
                        "эту панель.",
                        Gap, h - Gap - hintHeight, w - 2 * Gap);
  hint->SetWordWrap(true);
  hint->SetHeight(hintHeight);
}

void TCustomizeDlg::CreateOptionsTab() {
  FOptionsSheet = new TTabSheet(FForm);
  FOptionsSheet->SetCaption("Параметры");
  FOptionsSheet->SetPageControl(FPages);
  FList = new TCustomizeList(FForm);
  FList->SetParent(FOptionsSheet);
  FList->SetAlign(alClient);
}

void TCustomizeDlg::FormKeyDown(WORD& key, TShiftState shift) {
  if (key == VK_TAB && shift.Contains(ssCtrl)) {
    FPages->TurnPage(!shift.Contains(ssShift));
    key = 0;
  }
}

// ---- Contents --------------------------------------------------------------------------------

TCustomActionBar* TCustomizeDlg::BarOfLine(int index) const {
  return index >= 0 && index < int(FBars.size()) ? FBars[size_t(index)] : nullptr;
}

void TCustomizeDlg::Build() {
  BuildBars();
  BuildCategories();
  BuildOptions();
}

void TCustomizeDlg::BuildBars() {
  const int chosen = FBarList->ItemIndex();
  FBars.clear();
  FBarList->Items()->Clear();
  if (FActionManager) {
    TActionBars* bars = FActionManager->ActionBars();
    for (int i = 0; i < bars->Count(); ++i) {
      TCustomActionBar* bar = bars->ActionBars(i)->ActionBar();
      if (!bar) continue;
      bar->FreeNotification(this);
      FBars.push_back(bar);
      FBarList->Items()->Add(BarCaption(bar, i));
      FBarList->SetChecked(FBarList->Count() - 1, bar->Visible());
    }
  }
  FBarList->SetItemIndex(chosen >= 0 && chosen < FBarList->Count() ? chosen
                         : FBarList->Count() > 0                   ? 0
                                                                   : -1);
  if (FBarList->OnClick) FBarList->OnClick(FBarList);
}

void TCustomizeDlg::BuildCategories() {
  const std::string chosen = FCategoryList->ItemIndex() >= 0
                                 ? FCategoryList->Items()->Get(FCategoryList->ItemIndex())
                                 : std::string();
  FCategoryList->Items()->Clear();
  if (FActionManager)
    for (int i = 0; i < FActionManager->ActionCount(); ++i) {
      const std::string& c = FActionManager->Actions(i)->Category();
      const std::string name = c.empty() ? std::string(NoCategory) : c;
      if (FCategoryList->Items()->IndexOf(name) < 0) FCategoryList->Items()->Add(name);
    }
  const int again = FCategoryList->Items()->IndexOf(chosen);
  FCategoryList->SetItemIndex(again >= 0 ? again : 0);
  BuildCommands();
}

void TCustomizeDlg::BuildCommands() {
  FCommandList->Items()->Clear();
  const int line = FCategoryList->ItemIndex();
  if (!FActionManager || line < 0) return;
  std::string category = FCategoryList->Items()->Get(line);
  if (category == NoCategory) category.clear();
  for (int i = 0; i < FActionManager->ActionCount(); ++i) {
    TContainedAction* a = FActionManager->Actions(i);
    if (a->Category() != category) continue;
    auto* custom = dynamic_cast<TCustomAction*>(a);
    const std::string caption = custom ? PlainCaption(custom->Caption()) : a->Name();
    FCommandList->Items()->AddObject(caption.empty() ? a->Name() : caption, a);
    a->FreeNotification(this);
  }
  TCustomImageList* images = FActionManager->Images();
  FCommandList->SetItemHeight(images ? std::max(images->Height() + 4, 20) : 20);
}

void TCustomizeDlg::DrawCommand(int index, const sys::RECT& r, bool selected) {
  TCanvas* c = FCommandList->Canvas();
  c->FillRect(r);
  auto* a = dynamic_cast<TCustomAction*>(FCommandList->Items()->Objects(index));
  TCustomImageList* images = FActionManager ? FActionManager->Images() : nullptr;
  int left = r.left + 3;
  if (images) {
    if (a && a->ImageIndex() >= 0 && a->ImageIndex() < images->Count())
      images->Draw(c, left, r.top + (r.Height() - images->Height()) / 2, a->ImageIndex(),
                   a->Enabled() || selected);
    left += images->Width() + 6;
  }
  sys::RECT t{left, r.top, r.right - 2, r.bottom};
  c->Brush()->SetStyle(bsClear);
  c->TextRect(t, FCommandList->Items()->Get(index),
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT | DT_END_ELLIPSIS);
}

void TCustomizeDlg::BuildOptions() {
  std::vector<TCustomizeList::TRow>& rows = FList->Rows();
  rows.clear();
  TCustomActionManager* m = FActionManager;
  if (m) {
    rows.push_back({"Персонализированные меню и панели", true, false, nullptr, nullptr});
    auto hidesUnused = [m] { return m->ActionBars()->HideUnused(); };
    rows.push_back({"Сначала показывать недавно использованные команды", false, true, hidesUnused,
                    [m, hidesUnused] { m->ActionBars()->SetHideUnused(!hidesUnused()); }});
    rows.push_back(
        {"Сбросить данные об использовании", false, false, nullptr, [m] { m->ResetUsageData(); }});
  }
  FList->Invalidate();
}

// A bar without defaults (a program that built its bars without loading
// them and never saved them) gets its items at the first showing as its
// defaults, so it can still be put back after it was changed by dragging.
void TCustomizeDlg::SaveBarItems() {
  if (!FActionManager) return;
  for (int i = 0; i < FActionManager->ActionBars()->Count(); ++i)
    if (!FActionManager->HasBarDefaults(i)) FActionManager->SaveBarDefaults(i);
}

bool TCustomizeDlg::ResetBar(int line) {
  TCustomActionBar* bar = BarOfLine(line);
  TActionBarItem* item = bar && FActionManager ? FActionManager->FindActionBar(bar) : nullptr;
  if (!item || !FActionManager->HasBarDefaults(item->Index())) return false;
  CancelDesignDrag();
  CloseDesignMenus(bar);
  return FActionManager->ResetActionBar(item->Index());
}

void TCustomizeDlg::Show() {
  if (!FForm) CreateForm();
  SaveBarItems();
  Build();
  SetDesignMode(true);
  FForm->Show();
}

void TCustomizeDlg::Close() {
  if (FForm && FForm->Visible()) FForm->Close();
}

bool TCustomizeDlg::Showing() const {
  return FForm && FForm->Visible();
}

void InstallCustomizeDialog() {
  TCustomizeActionBars::SetDialogFactory(
      [](TCustomizeActionBars& action) { return new TCustomizeDlg(&action); });
  TCustomizeActionBars::SetDialogManagerOf([](TComponent* dialog) {
    auto* dlg = dynamic_cast<TCustomizeDlg*>(dialog);
    return dlg ? dlg->ActionManager() : nullptr;
  });
  TCustomizeActionBars::SetDialogRunner([](TCustomizeActionBars& action) {
    auto* dlg = dynamic_cast<TCustomizeDlg*>(action.CustomizeDlg());
    if (!dlg) {
      dlg = new TCustomizeDlg(&action);
      action.SetCustomizeDlg(dlg);
    }
    // An action outside any manager leaves the one given to the dialog.
    if (TCustomActionManager* manager = action.ActionManager()) dlg->SetActionManager(manager);
    dlg->Show();
  });
}

} // namespace zel
