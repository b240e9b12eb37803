// TDockTreeZel's tolerant loader.  The saved tree is read once without
// building anything, to learn its hidden clients and every name it holds,
// each of which must name nothing or a control that may dock in the site:
//   S version [relative, orientation] count A names B top-limit zones... E
// With hidden clients the framework's loader gets a copy of S..A (the count
// set to 0) followed by B..E, and the hidden clients are docked again here,
// invisibly.  Clients docked now that the tree does not mention float into
// forms that take their saved placements from the float tree.

#include <algorithm>

#include "docking/DockForms.h"
#include "docking/DockTreeZel.h"
#include "framework/core/Exceptions.h"
#include "framework/core/StrUtils.h"
#include "framework/core/Streams.h"

namespace zel {

namespace {

constexpr const char* SDockTreeZelForeignClient = "Элемент %s не может быть пристыкован к %s";

struct TPreRead {
  int64_t CountEnd = 0; // A: right after the hidden-client count
  int64_t NamesEnd = 0; // B: right after the hidden-client names
  int64_t End = 0;      // E: right after the end mark
  std::vector<std::string> Hidden;
  std::vector<std::string> Zones;
};

std::string ReadName(TStream& s) {
  const int32_t n = s.ReadI32();
  return n > 0 ? s.ReadChars(n) : std::string();
}

// Reads the saved tree's names; a stream the framework's loader would not
// take raises (it reports its own error for a version it does not know).
bool PreRead(TStream& s, TPreRead& t) {
  const int32_t version = s.ReadI32();
  if (version != TDockTree::StreamVersion && version != TDockTree::OldStreamVersion) return false;
  if (version == TDockTree::StreamVersion) {
    s.ReadU8();
    s.ReadU8();
  }
  const int32_t count = s.ReadI32();
  t.CountEnd = s.Position();
  for (int32_t i = 0; i < count; ++i)
    t.Hidden.push_back(ReadName(s));
  t.NamesEnd = s.Position();
  s.ReadI32(); // top limit
  while (s.ReadI32() != -1) {
    s.ReadU8();
    s.ReadI32();
    t.Zones.push_back(ReadName(s));
  }
  t.End = s.Position();
  return true;
}

// The controls the saved names stand for, each checked before anything is
// applied: a name of a control the site may not hold (the site, one of its
// parents, a form, a bar, a control inside the editor) makes the tree
// damaged.  Names that find nothing are left out.
std::vector<TControl*> ResolveNames(TWinControl* site, const std::vector<std::string>& names) {
  std::vector<TControl*> found;
  for (const std::string& name : names) {
    if (name.empty()) continue;
    TControl* c = nullptr;
    site->ReloadDockedControl(name, c);
    if (!c) continue;
    if (!site->AcceptsDockClient(c))
      throw EReadError(Format(SDockTreeZelForeignClient, Utf8Truncate(name, 64), site->Name()));
    found.push_back(c);
  }
  return found;
}

// The bytes from..to of s, appended to out.
void CopyBytes(TStream& s, int64_t from, int64_t to, TMemoryStream& out) {
  s.SetPosition(from);
  std::string bytes = s.ReadChars(to - from);
  out.WriteChars(bytes);
}

} // namespace

void TDockTreeZel::LoadFromStream(TStream& s) {
  BeginUpdate();
  try {
    const int64_t start = s.Position();
    // The site's clients by name; a client without a name cannot be in a
    // saved tree by name, and it stays where it is.
    std::vector<TControl*> absent;
    for (int i = 0; i < DockSite()->DockClientCount(); ++i) {
      TControl* c = DockSite()->DockClients(i);
      if (!c->Name().empty()) absent.push_back(c);
    }
    TPreRead t;
    bool known = false;
    std::vector<TControl*> hidden;
    try {
      known = PreRead(s, t);
      hidden = ResolveNames(DockSite(), t.Hidden);
      ResolveNames(DockSite(), t.Zones);
    } catch (...) {
      s.SetPosition(start);
      throw;
    }
    auto mentioned = [&](TControl* c) {
      auto same = [&](const std::string& n) { return !n.empty() && AnsiSameText(n, c->Name()); };
      return std::any_of(t.Hidden.begin(), t.Hidden.end(), same) ||
             std::any_of(t.Zones.begin(), t.Zones.end(), same);
    };
    absent.erase(std::remove_if(absent.begin(), absent.end(), mentioned), absent.end());
    if (!known || t.CountEnd == t.NamesEnd) {
      s.SetPosition(start);
      TDockTree::LoadFromStream(s);
    } else {
      TMemoryStream copy;
      CopyBytes(s, start, t.CountEnd - 4, copy);
      copy.WriteI32(0);
      CopyBytes(s, t.NamesEnd, t.End, copy);
      copy.SetPosition(0);
      try {
        TDockTree::LoadFromStream(copy);
      } catch (...) {
        s.SetPosition(start);
        throw;
      }
      s.SetPosition(t.End);
      RedockHidden(hidden);
    }
    FloatAbsentClients(absent);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// Each hidden client found is docked while marked as docking (so showing it
// for a moment does not show the floating form it may be in) and hidden again.
void TDockTreeZel::RedockHidden(const std::vector<TControl*>& clients) {
  TWinControl* site = DockSite();
  const int W = site->Width(), H = site->Height();
  for (TControl* c : clients) {
    const TControlState before = c->ControlState();
    c->SetControlState(before + csDocking);
    try {
      c->SetVisible(true);
      c->Dock(site, sys::RECT{W / 2, H / 2, W / 5, H / 5});
      c->SetVisible(false);
    } catch (...) {
      c->SetControlState(before);
      throw;
    }
    c->SetControlState(before);
  }
}

void TDockTreeZel::FloatAbsentClients(const std::vector<TControl*>& absent) {
  if (absent.empty()) return;
  const bool before = LayoutRestoring();
  LayoutRestoring() = true;
  try {
    for (TControl* c : absent)
      if (c->HostDockSite() == DockSite()) c->ManualDock(nullptr, nullptr, alNone);
  } catch (...) {
    LayoutRestoring() = before;
    throw;
  }
  LayoutRestoring() = before;
}

} // namespace zel
