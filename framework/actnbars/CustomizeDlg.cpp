// The customize dialog: a stay-on-top window with the bars and options of
// an action manager.

#include "framework/actnbars/CustomizeDlg.h"

#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/CustomizeActionBars.h"
#include <string>

#include "framework/graphics/GraphUtil.h"

namespace zel {

using namespace sys;

// ---- TCustomizeList ------------------------------------------------------------------------

TCustomizeList::TCustomizeList(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
}

int TCustomizeList::RowAt(int y) const {
  const int row = y / RowHeight;
  return y >= 0 && row < int(FRows.size()) ? row : -1;
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
      const RECT box{left + 8, top + 5, left + 21, top + 18};
      Canvas()->Brush()->SetStyle(bsSolid);
      Canvas()->Brush()->SetColor(clWindow);
      Canvas()->FillRect(box);
      Canvas()->Brush()->SetColor(clBtnShadow);
      Canvas()->FrameRect(box);
      if (row.Checked && row.Checked()) {
        Canvas()->Pen()->SetColor(clWindowText);
        DrawCheck(Canvas(), POINT{box.left + 3, box.top + 6}, 2, false);
      }
      left = box.right + 6;
    } else if (!row.Heading) {
      // A command row looks like a button.
      left += 8;
      const int w = Canvas()->TextWidth(row.Caption) + 20;
      const RECT b{left, top + 1, left + w, top + RowHeight - 1};
      Canvas()->Pen()->SetColor(clBtnHighlight);
      Canvas()->MoveTo(b.left, b.bottom - 1);
      Canvas()->LineTo(b.left, b.top);
      Canvas()->LineTo(b.right - 1, b.top);
      Canvas()->Pen()->SetColor(cl3DDkShadow);
      Canvas()->LineTo(b.right - 1, b.bottom - 1);
      Canvas()->LineTo(b.left - 1, b.bottom - 1);
      left += 10;
    }
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->Font()->SetStyle(row.Heading ? TFontStyles{fsBold} : TFontStyles{});
    RECT t{left, top, ClientWidth() - 4, top + RowHeight};
    Canvas()->TextRect(t, row.Caption, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
  }
}

void TCustomizeList::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  const int row = RowAt(y);
  if (button != mbLeft || row < 0 || FRows[size_t(row)].Heading) return;
  if (FRows[size_t(row)].Toggle) FRows[size_t(row)].Toggle();
  Invalidate();
}

// ---- TCustomizeDlg -------------------------------------------------------------------------

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

void TCustomizeDlg::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == FActionManager) {
    FActionManager = nullptr;
    if (FList) FList->Rows().clear();
  }
  if (component == FForm) {
    FForm = nullptr;
    FList = nullptr;
  }
}

void TCustomizeDlg::SetDesignMode(bool value) {
  if (!FActionManager) return;
  TActionBars* bars = FActionManager->ActionBars();
  for (int i = 0; i < bars->Count(); ++i)
    if (TCustomActionBar* bar = bars->ActionBars(i)->ActionBar()) bar->SetDesignMode(value);
}

void TCustomizeDlg::Build() {
  std::vector<TCustomizeList::TRow>& rows = FList->Rows();
  rows.clear();
  if (!FActionManager) return;
  rows.push_back({"Панели", true, false, nullptr, nullptr});
  TActionBars* bars = FActionManager->ActionBars();
  for (int i = 0; i < bars->Count(); ++i) {
    TActionBarItem* item = bars->ActionBars(i);
    TCustomActionBar* bar = item->ActionBar();
    if (!bar) continue;
    // A bar without a name is named after its kind and place.
    std::string caption = bar->Name();
    if (caption.empty())
      caption = dynamic_cast<TCustomActionMainMenuBar*>(bar)
                    ? std::string("Главное меню")
                    : "Панель инструментов " + std::to_string(i + 1);
    rows.push_back({caption, false, true, [bar] { return bar->Visible(); },
                    [bar] { bar->SetVisible(!bar->Visible()); }});
  }
  rows.push_back({"Параметры", true, false, nullptr, nullptr});
  TCustomActionManager* m = FActionManager;
  auto hidesUnused = [m] {
    TActionBars* b = m->ActionBars();
    for (int i = 0; i < b->Count(); ++i)
      if (b->ActionBars(i)->HasItems() && b->ActionBars(i)->Items()->HideUnused()) return true;
    return false;
  };
  rows.push_back({"Сначала показывать недавно использованные команды", false, true, hidesUnused,
                  [m, hidesUnused] { m->ActionBars()->SetHideUnused(!hidesUnused()); }});
  rows.push_back(
      {"Сбросить данные об использовании", false, false, nullptr, [m] { m->ResetUsageData(); }});
  FList->Invalidate();
}

void TCustomizeDlg::Show() {
  if (!FForm) {
    FForm = new TForm(this);
    FForm->FreeNotification(this);
    FForm->SetCaption("Настройка");
    FForm->SetFormStyle(fsStayOnTop);
    FForm->SetBounds(160, 120, 380, 260);
    FList = new TCustomizeList(FForm);
    FList->SetParent(FForm);
    FList->SetAlign(alClient);
    FForm->OnClose = [this](TObject*, TCloseAction& action) {
      action = caHide;
      SetDesignMode(false);
      if (OnClose) OnClose(this);
    };
  }
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
  TCustomizeActionBars::SetDialogRunner([](TCustomizeActionBars& action) {
    auto* dlg = dynamic_cast<TCustomizeDlg*>(action.CustomizeDlg());
    if (!dlg) {
      dlg = new TCustomizeDlg(&action);
      action.SetCustomizeDlg(dlg);
    }
    dlg->SetActionManager(action.ActionManager());
    dlg->Show();
  });
}

} // namespace zel
