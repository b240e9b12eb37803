// Saving and loading a dock tree.  The layout, all integers little-endian:
//   version i32 (0x00080000; 0x00040000 lacks the next two fields)
//   relative sizes (bool u8), top orientation (u8)
//   hidden-client count i32, then each name as i32 length + characters
//   top limit i32
//   zone records, depth first: level i32, orientation u8, limit i32,
//     control name (i32 length + characters, 0 for a zone without control)
//   end mark: i32 -1 in place of a level
// Only the top zone, zones with children and leaves of visible docked
// controls are written.  The leaf of a hidden control is not: its name is
// in the hidden-client list instead (when it has one), and on loading it
// is docked again, hidden, and gets a new place when it is shown.  The
// zone it leaves stays when it has other children (possibly none visible).
// The reader parses and checks everything, and resolves every name to a
// control the site may hold, before it touches the site, so a damaged
// stream raises EReadError (and nothing else), changes nothing and leaves
// the stream where it was.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "framework/core/Exceptions.h"
#include "framework/core/StrUtils.h"
#include "framework/core/Streams.h"
#include "framework/docking/DockTree.h"

namespace zel {

namespace {

// Relative limits are parts of this many units of the site's extent.
constexpr int RelativeBase = 10000;
// Absolute limits are pixels of the site's client area, which no screen
// makes wider or taller than this.
constexpr int32_t MaxSiteExtent = 1 << 15;
// A zone that splits has at least two children, so each level of nesting
// needs a docked control of its own beside it: 64 levels would take 65
// controls in one site, which no real arrangement comes near.  A deeper
// stream is damaged.  Weighing, pruning and layout go one call deeper per
// level, and the bound keeps them off the end of the stack.
constexpr int32_t MaxZoneDepth = 64;

struct TZoneRecord {
  int32_t Level;
  uint8_t Orientation;
  int32_t Limit;
  std::string Name;
};

struct TParsedTree {
  bool Relative = false;
  std::vector<std::string> Hidden;
  int32_t TopLimit = 0;
  std::vector<TZoneRecord> Zones;
};

[[noreturn]] void Damaged(const char* what, int64_t at) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "Damaged dock tree stream at offset %lld: %s", (long long)at,
                what);
  throw EReadError(buf);
}

TParsedTree Parse(TStream& s) {
  TParsedTree t;
  const int32_t version = s.ReadI32();
  if (version != TDockTree::StreamVersion && version != TDockTree::OldStreamVersion) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "Unsupported dock tree stream version 0x%08X",
                  unsigned(version));
    throw EReadError(buf);
  }
  if (version == TDockTree::StreamVersion) {
    t.Relative = s.ReadBool();
    if (s.ReadU8() > doVertical) Damaged("bad top orientation", s.Position() - 1);
  }
  const int32_t hidden = s.ReadI32();
  if (hidden < 0 || hidden > s.Size() - s.Position())
    Damaged("bad hidden-client count", s.Position() - 4);
  for (int32_t i = 0; i < hidden; ++i)
    t.Hidden.push_back(s.ReadStr32());
  // A limit lies within the site: its extent in pixels or in relative units.
  const int32_t maxLimit = t.Relative ? RelativeBase : MaxSiteExtent;
  t.TopLimit = s.ReadI32();
  if (t.TopLimit < 0 || t.TopLimit > maxLimit)
    Damaged("top limit outside the site", s.Position() - 4);
  for (;;) {
    const int64_t at = s.Position();
    TZoneRecord r;
    r.Level = s.ReadI32();
    if (r.Level == -1) break;
    const int32_t prev = t.Zones.empty() ? -1 : t.Zones.back().Level;
    if (t.Zones.empty() ? r.Level != 0 : (r.Level < 1 || r.Level > prev + 1))
      Damaged("zone level out of order", at);
    if (r.Level > MaxZoneDepth) Damaged("zones nested too deep", at);
    r.Orientation = s.ReadU8();
    if (r.Orientation > doVertical) Damaged("bad zone orientation", s.Position() - 1);
    r.Limit = s.ReadI32();
    if (r.Limit < 0 || r.Limit > maxLimit) Damaged("zone limit outside the site", s.Position() - 4);
    r.Name = s.ReadStr32();
    t.Zones.push_back(std::move(r));
  }
  return t;
}

// The control a saved name stands for in site, or nullptr for a name that
// finds nothing (a control that no longer exists): its zone goes.  A name
// of a control the site may not hold (itself, one of its parents, a control
// that never docks) is damage.
TControl* Resolve(TWinControl* site, const std::string& name) {
  if (name.empty()) return nullptr;
  TControl* c = nullptr;
  site->ReloadDockedControl(name, c);
  if (c && !site->AcceptsDockClient(c))
    throw EReadError("Damaged dock tree stream: " + Utf8Truncate(name, 64) + " cannot dock in " +
                     site->Name());
  return c;
}

} // namespace

// A zone's limit as the stream holds it: pixels, or parts of RelativeBase
// of the site's extent along the axis the limit lies on.
static int32_t StreamLimit(const TDockZone* zone, TWinControl* site, bool relative) {
  int32_t limit = zone->Limit();
  if (!relative) return limit;
  const sys::RECT c = site->ClientRect();
  const TDockZone* axis = zone->ParentZone() ? zone->ParentZone() : zone;
  const int extent = std::max(1, axis->Orientation() == doHorizontal ? c.Height() : c.Width());
  return int32_t(std::lround(double(limit) * RelativeBase / extent));
}

void TDockTree::WriteZone(TStream& s, const TDockZone* zone, int level) const {
  const bool written =
      level == 0 || zone->ChildCount() > 0 || (zone->FChildControl && zone->Visible());
  if (!written) return;
  const int32_t limit = StreamLimit(zone, FDockSite, FRelativeSizes);
  s.WriteI32(level);
  s.WriteU8(zone->FOrientation);
  s.WriteI32(limit);
  s.WriteStr32(zone->FChildControl ? zone->FChildControl->Name() : std::string());
  for (auto& c : zone->FChildren)
    WriteZone(s, c.get(), level + 1);
}

void TDockTree::SaveToStream(TStream& s) {
  // The limits come from an up-to-date layout even inside an update.
  Layout(FTopZone.get(), FDockSite->ClientRect());
  s.WriteI32(StreamVersion);
  s.WriteBool(FRelativeSizes);
  s.WriteU8(FTopZone->FOrientation);
  std::vector<std::string> hidden;
  for (int i = 0; i < FDockSite->DockClientCount(); ++i) {
    TControl* c = FDockSite->DockClients(i);
    if (!c->Visible() && !c->Name().empty()) hidden.push_back(c->Name());
  }
  s.WriteI32(int32_t(hidden.size()));
  for (auto& n : hidden)
    s.WriteStr32(n);
  s.WriteI32(StreamLimit(FTopZone.get(), FDockSite, FRelativeSizes));
  WriteZone(s, FTopZone.get(), 0);
  s.WriteI32(-1);
}

void TDockTree::LoadFromStream(TStream& s) {
  const int64_t start = s.Position();
  TParsedTree t;
  std::vector<TControl*> zoneControls, hiddenControls;
  try {
    t = Parse(s);
    for (const TZoneRecord& r : t.Zones)
      zoneControls.push_back(Resolve(FDockSite, r.Name));
    for (const std::string& name : t.Hidden)
      hiddenControls.push_back(Resolve(FDockSite, name));
  } catch (...) {
    s.SetPosition(start);
    throw;
  }

  BeginUpdate();
  FLoading = true;
  try {
    std::vector<TControl*> used;
    auto find = [&](TControl* c) -> TControl* {
      if (!c || std::find(used.begin(), used.end(), c) != used.end()) return nullptr;
      used.push_back(c);
      if (c->HostDockSite() != FDockSite) c->ManualDock(FDockSite, nullptr, alNone);
      if (c->Align() != alNone) c->SetAlign(alNone);
      return c;
    };
    // The zones, built from the records with a parent stack.
    auto top = std::make_unique<TDockZone>(this);
    struct TOpen {
      TDockZone* Zone;
      int32_t Level;
      int32_t Limit;
    };
    std::vector<TOpen> stack;
    for (size_t i = 0; i < t.Zones.size(); ++i) {
      const TZoneRecord& r = t.Zones[i];
      TDockZone* z;
      if (r.Level == 0) {
        z = top.get();
      } else {
        while (stack.back().Level >= r.Level)
          stack.pop_back();
        TDockZone* parent = stack.back().Zone;
        auto child = std::make_unique<TDockZone>(this);
        child->FParent = parent;
        z = child.get();
        parent->FChildren.push_back(std::move(child));
      }
      z->FOrientation = TDockOrientation(r.Orientation);
      z->FChildControl = find(zoneControls[i]);
      stack.push_back({z, r.Level, r.Limit});
    }
    // Limits become shares of the parent's room: each child reaches from
    // the previous child's limit (or the parent's start) to its own.  The
    // parse bounded the limits; the sums are 64-bit all the same.
    std::function<void(TDockZone*, size_t&, int64_t, int64_t)> weigh;
    size_t idx = 0;
    weigh = [&](TDockZone* z, size_t& i, int64_t sx, int64_t sy) {
      ++i; // this zone's record
      const bool stacked = z->FOrientation == doHorizontal;
      int64_t prev = stacked ? sy : sx;
      std::vector<int64_t> sizes;
      for (auto& c : z->FChildren) {
        const int64_t lim = t.Zones[i].Limit;
        const int64_t cx = stacked ? sx : prev, cy = stacked ? prev : sy;
        weigh(c.get(), i, cx, cy);
        sizes.push_back(std::max<int64_t>(0, lim - prev));
        prev = std::max(prev, lim);
      }
      double sum = 0;
      for (int64_t v : sizes)
        sum += double(v);
      for (size_t j = 0; j < z->FChildren.size(); ++j)
        z->FChildren[j]->FWeight =
            sum > 0 ? double(sizes[j]) / sum : 1.0 / double(z->FChildren.size());
    };
    if (!t.Zones.empty()) weigh(top.get(), idx, 0, 0);
    // Zones whose controls were not found go; single children move up.
    std::function<void(TDockZone*)> prune = [&](TDockZone* z) {
      for (size_t j = z->FChildren.size(); j-- > 0;) {
        TDockZone* c = z->FChildren[j].get();
        prune(c);
        if (!c->FChildControl && c->FChildren.empty()) {
          z->FChildren.erase(z->FChildren.begin() + long(j));
        } else if (!c->FChildControl && c->FChildren.size() == 1) {
          std::unique_ptr<TDockZone> only = std::move(c->FChildren[0]);
          only->FParent = z;
          only->FWeight = c->FWeight;
          z->FChildren[j] = std::move(only);
        }
      }
      if (!z->FChildren.empty() && z->FChildControl) z->FChildControl = nullptr;
      double sum = 0;
      for (auto& c : z->FChildren)
        sum += c->FWeight;
      for (auto& c : z->FChildren)
        c->FWeight = sum > 1e-9 ? c->FWeight / sum : 1.0 / double(z->FChildren.size());
    };
    prune(top.get());
    if (top->FChildControl) {
      // A saved top zone holding a control directly becomes a one-child top.
      auto leaf = std::make_unique<TDockZone>(this);
      leaf->FChildControl = top->FChildControl;
      leaf->FParent = top.get();
      top->FChildControl = nullptr;
      top->FChildren.push_back(std::move(leaf));
    }
    if (top->FChildren.size() <= 1) top->FOrientation = doNoOrient;
    FTopZone = std::move(top);
    FPressedZone = FSizingZone = nullptr;
    FPressedKind = htNothing;
    // Hidden clients are docked again and stay hidden.
    for (TControl* hidden : hiddenControls)
      if (TControl* c = find(hidden)) c->Hide();
  } catch (...) {
    FLoading = false;
    EndUpdate();
    throw;
  }
  FLoading = false;
  EndUpdate();
}

} // namespace zel
