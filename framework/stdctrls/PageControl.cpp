#include "framework/stdctrls/PageControl.h"

#include <algorithm>

#include "framework/stdctrls/Panel.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

namespace {

// Space between the row of tabs and the page edge, and the raise of the
// active tab over the others.
constexpr int TabRaise = 2;
constexpr int PageMargin = 4;

int MeasureText(TFont* font, const std::string& text, bool height) {
  HDC dc = GetDC(nullptr);
  TCanvas measure;
  measure.SetHandle(dc);
  measure.Font()->Assign(font);
  RECT r{0, 0, 0, 0};
  measure.TextRect(r, text.empty() ? std::string("W") : text, DT_CALCRECT | DT_SINGLELINE);
  measure.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  return height ? r.Height() : (text.empty() ? 0 : r.Width());
}

} // namespace

// ---- TTabSheet ------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TCustomControl(owner) {
  SetParentColor(false);
  SetColor(clBtnFace);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) {
  if (value == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  if (value) value->InsertPage(this);
}

void TTabSheet::SetParent(TWinControl* parent) {
  // A sheet that leaves its page control for another parent leaves the
  // pages first; one put on a page control joins it.
  if (FPageControl && parent != FPageControl) FPageControl->RemovePage(this);
  TCustomControl::SetParent(parent);
  if (auto* pc = dynamic_cast<TPageControl*>(parent); pc && pc != FPageControl)
    pc->InsertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& pages = FPageControl->FPages;
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int value) {
  if (FPageControl) FPageControl->MovePage(this, value);
}

void TTabSheet::SetTabVisible(bool value) {
  if (value == FTabVisible) return;
  FTabVisible = value;
  if (!FPageControl) return;
  if (!value && FPageControl->ActivePage() == this) FPageControl->SelectNextPage(true);
  if (!value && FPageControl->ActivePage() == this) FPageControl->SetActivePage(nullptr);
  FPageControl->Invalidate();
}

void TTabSheet::WndProc(TMessage& m) {
  // The tab shows the caption, so a new caption repaints the tabs.
  TCustomControl::WndProc(m);
  if (m.Msg == WM_SETTEXT && FPageControl) FPageControl->Invalidate();
}

void TTabSheet::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

// ---- TPageControl ---------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TCustomControl(owner) {
  SetParentColor(false);
  SetColor(clBtnFace);
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
  // The window base deletes the sheets as children; by then this part is
  // gone, so they forget it now.
  for (TTabSheet* page : FPages)
    page->FPageControl = nullptr;
  FPages.clear();
}

void TPageControl::InsertPage(TTabSheet* page) {
  FPages.push_back(page);
  page->FPageControl = this;
  page->SetAlign(alClient);
  if (page->Parent() != this) page->TCustomControl::SetParent(this);
  if (!FActivePage && page->TabVisible())
    SetActivePage(page);
  else
    page->SetVisible(page == FActivePage);
  Invalidate();
}

void TPageControl::RemovePage(TTabSheet* page) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  const bool wasActive = page == FActivePage;
  FPages.erase(it);
  page->FPageControl = nullptr;
  if (wasActive) {
    FActivePage = nullptr;
    if (!ComponentState().Contains(csDestroying))
      for (TTabSheet* p : FPages)
        if (p->TabVisible()) {
          SetActivePage(p);
          break;
        }
  }
  Invalidate();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  FPages.erase(it);
  index = std::clamp(index, 0, int(FPages.size()));
  FPages.insert(FPages.begin() + index, page);
  Invalidate();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && (page->FPageControl != this || !page->TabVisible())) return;
  if (page == FActivePage) return;
  TTabSheet* old = FActivePage;
  FActivePage = page;
  // The new page shows before the old one hides, so the area never shows
  // the control's background in between.
  if (page) {
    page->SetVisible(true);
    page->BringToFront();
  }
  if (old) old->SetVisible(false);
  Invalidate();
}

int TPageControl::ActivePageIndex() const {
  return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? FPages[size_t(index)] : nullptr);
}

void TPageControl::ChoosePage(TTabSheet* page) {
  if (!page || page == FActivePage) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) return;
  SetActivePage(page);
  if (FActivePage == page && OnChange) OnChange(this);
}

void TPageControl::SelectNextPage(bool goForward) {
  const int n = PageCount();
  if (n == 0) return;
  const int start = std::max(ActivePageIndex(), goForward ? -1 : 0);
  for (int step = 1; step <= n; ++step) {
    const int i = ((start + (goForward ? step : -step)) % n + n) % n;
    if (FPages[size_t(i)]->TabVisible()) {
      ChoosePage(FPages[size_t(i)]);
      return;
    }
  }
}

void TPageControl::TurnPage(bool goForward) {
  SelectNextPage(goForward);
  TWinControl* first =
      FActivePage ? FActivePage->FindNextControl(nullptr, true, true, false) : nullptr;
  if (first)
    first->SetFocus();
  else if (CanFocus())
    SetFocus();
}

// ---- Geometry -------------------------------------------------------------------------------

int TPageControl::TabHeight() {
  return MeasureText(Font(), "Wg", true) + 6;
}

int TPageControl::TabWidth(int index) {
  return std::max(MeasureText(Font(), FPages[size_t(index)]->Caption(), false) + 12, 40);
}

RECT TPageControl::TabRect(int index) {
  if (index < 0 || index >= PageCount() || !FPages[size_t(index)]->TabVisible()) return RECT{};
  int x = TabRaise;
  for (int i = 0; i < index; ++i)
    if (FPages[size_t(i)]->TabVisible()) x += TabWidth(i);
  const int bottom = TabRaise + TabHeight();
  RECT r{x, TabRaise, x + TabWidth(index), bottom};
  if (FPages[size_t(index)] == FActivePage) {
    // The active tab stands higher and wider, and covers the page's edge.
    r.left -= TabRaise;
    r.right += TabRaise;
    r.top -= TabRaise;
    r.bottom += 1;
  }
  return r;
}

int TPageControl::IndexOfTabAt(int x, int y) {
  // The active tab overlaps its neighbours, so it is asked first.
  const int active = ActivePageIndex();
  if (active >= 0 && PtInRect(TabRect(active), POINT{x, y})) return active;
  for (int i = 0; i < PageCount(); ++i)
    if (PtInRect(TabRect(i), POINT{x, y})) return i;
  return -1;
}

RECT TPageControl::DisplayRect() {
  RECT r = ClientRect();
  r.top += TabRaise + TabHeight();
  InflateRect(r, -PageMargin, -PageMargin);
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

void TPageControl::AdjustClientRect(RECT& rect) {
  rect = DisplayRect();
}

// ---- Painting -------------------------------------------------------------------------------

void TPageControl::DrawTab(int index) {
  TCanvas* c = Canvas();
  const RECT r = TabRect(index);
  if (IsRectEmpty(r)) return;
  const bool active = FPages[size_t(index)] == FActivePage;
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(r);
  // Left edge and top with a cut corner in the light colours, the right
  // edge in the two shadows; no bottom line, the tab opens into the page.
  c->Pen()->SetColor(clBtnHighlight);
  c->MoveTo(r.left, r.bottom - 1);
  c->LineTo(r.left, r.top + 2);
  c->LineTo(r.left + 2, r.top);
  c->LineTo(r.right - 2, r.top);
  c->Pen()->SetColor(cl3DLight);
  c->MoveTo(r.left + 1, r.bottom - 1);
  c->LineTo(r.left + 1, r.top + 2);
  c->MoveTo(r.left + 2, r.top + 1);
  c->LineTo(r.right - 2, r.top + 1);
  c->Pen()->SetColor(cl3DDkShadow);
  c->MoveTo(r.right - 2, r.top + 1);
  c->LineTo(r.right - 1, r.top + 2);
  c->LineTo(r.right - 1, r.bottom);
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(r.right - 2, r.top + 2);
  c->LineTo(r.right - 2, r.bottom);
  RECT t = r;
  if (!active) OffsetRect(t, 0, 1);
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(Font());
  c->Font()->SetColor(Enabled() ? clBtnText : clGrayText);
  c->TextRect(t, FPages[size_t(index)]->Caption(), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (active && Focused()) {
    RECT f{r.left + 3, r.top + 3, r.right - 3, r.bottom - 2};
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->Font()->SetColor(clBtnText);
    c->DrawFocusRect(f);
  }
}

void TPageControl::Paint() {
  TCanvas* c = Canvas();
  const RECT client = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(client);
  RECT page{client.left, client.top + TabRaise + TabHeight(), client.right, client.bottom};
  Frame3D(c, page, clBtnHighlight, cl3DDkShadow);
  Frame3D(c, page, cl3DLight, clBtnShadow);
  const int active = ActivePageIndex();
  for (int i = 0; i < PageCount(); ++i)
    if (i != active) DrawTab(i);
  if (active >= 0) DrawTab(active);
}

// ---- Input ----------------------------------------------------------------------------------

void TPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  const int i = IndexOfTabAt(x, y);
  if (i < 0) return;
  if (CanFocus()) SetFocus();
  ChoosePage(FPages[size_t(i)]);
}

bool TPageControl::WantsKey(WORD key, TShiftState) {
  return key == VK_LEFT || key == VK_RIGHT;
}

void TPageControl::KeyDown(WORD& key, TShiftState shift) {
  if (key == VK_LEFT || key == VK_RIGHT) {
    SelectNextPage(key == VK_RIGHT);
    key = 0;
    return;
  }
  if (key == VK_TAB && shift.Contains(ssCtrl)) {
    TurnPage(!shift.Contains(ssShift));
    key = 0;
    return;
  }
  TCustomControl::KeyDown(key, shift);
}

void TPageControl::WndProc(TMessage& m) {
  if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) Invalidate();
  if (m.Msg == CM_FONTCHANGED) Realign();
  TCustomControl::WndProc(m);
}

} // namespace zel
