// The keyboard group of a windowed control: windowless children that never
// take the keyboard themselves (tool-like buttons) are reached through their
// parent, as desktop tool bars do it.
//
//   parent has the keyboard   key            effect
//   yes                       Left, Up       mark the previous member (round from the first)
//   yes                       Right, Down    mark the next member (round from the last)
//   yes                       Home, End      mark the first, the last member
//   yes                       Space, Enter   press the marked member
//   yes                       Tab            the next tab stop (the form's, as always)
//   no                        -              no mark shows; a press with the mouse still
//                                            moves the mark to the pressed member
// The parent is one tab stop for its members, at GroupTabPosition among its
// windowed children.  Only a parent that is a tab stop and leaves the arrows
// free has a group; the joiners inside a child that uses the arrows itself
// (a grid's title button) are members of the group around it.

#include <algorithm>

#include "framework/controls/WinControl.h"
#include "framework/graphics/Canvas.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

// A control that moves with the arrows itself (a grid, a list) is no group:
// its windowless joiners (a grid's title button) belong to the nearest group
// around it.
bool TWinControl::IsKeyboardGroup() const {
  return FTabStop && !const_cast<TWinControl*>(this)->WantsKey(VK_DOWN, TShiftState{});
}

void TWinControl::CollectGroupMembers(std::vector<TControl*>& members) const {
  for (TControl* c : FControls)
    if (c->Visible() && c->Enabled() && c->JoinsKeyboardGroup()) members.push_back(c);
  for (TWinControl* w : FWinControls)
    if (w->Visible() && w->Enabled() && !w->IsKeyboardGroup()) w->CollectGroupMembers(members);
}

std::vector<TControl*> TWinControl::KeyboardGroup() const {
  std::vector<TControl*> members;
  if (!IsKeyboardGroup()) return members;
  CollectGroupMembers(members);
  std::stable_sort(members.begin(), members.end(), [](TControl* a, TControl* b) {
    const POINT pa = a->ClientToScreen(POINT{0, 0}), pb = b->ClientToScreen(POINT{0, 0});
    return pa.y != pb.y ? pa.y < pb.y : pa.x < pb.x;
  });
  return members;
}

TControl* TWinControl::GroupFocus() const {
  const std::vector<TControl*> members = KeyboardGroup();
  if (members.empty()) return nullptr;
  if (std::find(members.begin(), members.end(), FGroupFocus) != members.end()) return FGroupFocus;
  return members.front();
}

void TWinControl::SetGroupFocus(TControl* member) {
  if (member == FGroupFocus) return;
  InvalidateGroupFocus();
  FGroupFocus = member;
  InvalidateGroupFocus();
}

void TWinControl::InvalidateGroupFocus() {
  if (TControl* member = GroupFocus()) member->Invalidate();
}

bool TWinControl::HandleGroupKey(WORD key, TShiftState shift) {
  if (shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return false;
  const std::vector<TControl*> members = KeyboardGroup();
  if (members.empty()) return false;
  const int n = int(members.size());
  const auto at = std::find(members.begin(), members.end(), GroupFocus());
  const int i = int(at - members.begin());
  switch (key) {
  case VK_LEFT:
  case VK_UP:
    SetGroupFocus(members[size_t((i + n - 1) % n)]);
    return true;
  case VK_RIGHT:
  case VK_DOWN:
    SetGroupFocus(members[size_t((i + 1) % n)]);
    return true;
  case VK_HOME:
    SetGroupFocus(members.front());
    return true;
  case VK_END:
    SetGroupFocus(members.back());
    return true;
  case VK_SPACE:
  case VK_RETURN:
    members[size_t(i)]->KeyboardPress();
    return true;
  default:
    return false;
  }
}

// A dotted rectangle just inside the marked member, drawn by the member's
// parent over it after the windowless children have painted, only while the
// group's control has the keyboard.
void TWinControl::PaintGroupFocus(HDC dc) {
  const HWND focus = GetFocus();
  if (!focus) return;
  auto* owner = dynamic_cast<TWinControl*>(FindControl(focus));
  TControl* member = owner ? owner->GroupFocus() : nullptr;
  if (!member || member->Parent() != this) return;
  RECT r = member->BoundsRect();
  InflateRect(r, -1, -1);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.DrawFocusRect(r);
  canvas.SetHandle(nullptr);
}

void TWinControl::AddTabOrderEntries(std::vector<TWinControl*>& list) {
  const size_t at = std::min(size_t(FGroupTabPosition), FTabList.size());
  for (size_t i = 0; i <= FTabList.size(); ++i) {
    if (i == at) list.push_back(this);
    if (i < FTabList.size()) FTabList[i]->AddTabOrderEntries(list);
  }
}

} // namespace zel
