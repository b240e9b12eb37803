// The action manager's configuration stream.  Little-endian, written and
// read field by field:
//
//   "ZAMC"                        signature (4 bytes)
//   u16   version                 1
//   i32   session count
//   i32   schedule entries n, then n texts (i32 length + UTF-8 bytes)
//   i32   bars m, then per bar:
//           u16 length + bar component name (empty: no bar)
//           u8  flags: 1 visible, 2 auto size
//           item list (the bar's items), item list (its context items)
//   "END."                        end mark (4 bytes); nothing may follow
//
// An item list is a u8 hide-unused flag, an i32 count and that many items;
// an item is its own caption (i32 length + bytes), its action's name (u16
// length + bytes; empty: none), its own image index (i32), its own short cut
// (u16), flags (u8: 1 visible, 2 show caption), usage count (i32), last
// session (i32), then its child item list and its context item list.
//
// Reading builds the whole configuration aside and only then replaces the
// manager's, so a damaged stream leaves the previous bars untouched.  Texts
// must be UTF-8, and the item counts are bounded by what a bar can show.

#include <algorithm>
#include <cstdint>
#include <memory>

#include "framework/actnbars/ActnConsts.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/core/Exceptions.h"
#include "framework/core/StrUtils.h"
#include "framework/core/Streams.h"

namespace zel {

namespace {

constexpr char kSignature[] = "ZAMC";
constexpr char kEndMark[] = "END.";
constexpr uint16_t kVersion = 1;
// Item trees deeper than this are taken as damage rather than recursed into.
constexpr int kMaxDepth = 32;
// The fewest bytes one item takes, to refuse counts the stream cannot hold.
constexpr int64_t kMinItemBytes = 4 + 2 + 4 + 2 + 1 + 4 + 4 + 2 * 5;
// A bar lines its items up side by side or one under another, each at least
// a separator's 8 pixels long: more items than this in one list would make
// a bar over 8000 pixels long, more than any screen shows.  The whole
// configuration, every bar, menu and submenu together, holds at most
// kMaxTotalItems.
constexpr int32_t kMaxListItems = 1024;
constexpr int64_t kMaxTotalItems = 16384;

[[noreturn]] void BadFormat() {
  throw EReadError(SActnConfigFormat);
}

void WriteItems(TStream& s, TActionClients* list, int depth);

void WriteItemLists(TStream& s, TActionClient* client, int depth) {
  WriteItems(s, client->HasItems() ? client->Items() : nullptr, depth + 1);
  WriteItems(s, client->HasContextItems() ? client->ContextItems() : nullptr, depth + 1);
}

void WriteItems(TStream& s, TActionClients* list, int depth) {
  if (depth > kMaxDepth) throw EWriteError::CreateFmt(SActnConfigTooDeep, kMaxDepth);
  s.WriteBool(list && list->HideUnused());
  const int count = list ? list->Count() : 0;
  s.WriteI32(count);
  for (int i = 0; i < count; ++i) {
    TActionClientItem* item = list->Items(i);
    s.WriteStr32(item->OwnCaption());
    s.WriteStr16(item->Action() ? item->Action()->Name() : std::string());
    s.WriteI32(item->OwnImageIndex());
    s.WriteU16(item->OwnShortCut());
    s.WriteU8(uint8_t((item->Visible() ? 1 : 0) | (item->ShowCaption() ? 2 : 0)));
    s.WriteI32(item->UsageCount());
    s.WriteI32(item->LastSession());
    WriteItemLists(s, item, depth);
  }
}

std::string ReadText32(TStream& s) {
  const int32_t len = s.ReadI32();
  if (len < 0 || len > s.Remaining()) BadFormat();
  return s.ReadChars(len);
}

// A text that is shown or written back must be UTF-8.
std::string ReadUtf8Text32(TStream& s) {
  std::string text = ReadText32(s);
  if (!Utf8Valid(text)) BadFormat();
  return text;
}

std::string ReadText16(TStream& s) {
  const uint16_t len = s.ReadU16();
  if (len > s.Remaining()) BadFormat();
  return s.ReadChars(len);
}

int32_t ReadCount(TStream& s, int64_t minBytesEach) {
  const int32_t n = s.ReadI32();
  if (n < 0 || int64_t(n) * minBytesEach > s.Remaining()) BadFormat();
  return n;
}

} // namespace

// The reader of one configuration; it resolves names against the manager.
class TActnConfigReader {
public:
  TActnConfigReader(TCustomActionManager& manager, TStream& stream)
      : FManager(manager), FStream(stream) {}

  void ReadItems(TActionClients* list, int depth) {
    if (depth > kMaxDepth) throw EReadError::CreateFmt(SActnConfigTooDeep, kMaxDepth);
    list->SetHideUnused(FStream.ReadBool());
    const int32_t count = ReadCount(FStream, kMinItemBytes);
    FTotalItems += count;
    if (count > kMaxListItems || FTotalItems > kMaxTotalItems) BadFormat();
    for (int32_t i = 0; i < count; ++i) {
      TActionClientItem* item = list->Add();
      item->SetCaption(ReadUtf8Text32(FStream));
      const std::string actionName = ReadText16(FStream);
      // An action that no longer exists leaves the item without one.
      item->SetAction(FManager.FindAction(actionName));
      item->SetImageIndex(FStream.ReadI32());
      item->SetShortCut(FStream.ReadU16());
      const uint8_t flags = FStream.ReadU8();
      if (flags & ~3u) BadFormat();
      item->SetVisible(flags & 1);
      item->SetShowCaption(flags & 2);
      item->SetUsageCount(FStream.ReadI32());
      item->SetLastSession(FStream.ReadI32());
      ReadItems(item->Items(), depth + 1);
      ReadItems(item->ContextItems(), depth + 1);
    }
  }

  TCustomActionBar* FindBar(const std::string& name) const {
    if (name.empty()) return nullptr;
    TActionBars* bars = FManager.ActionBars();
    for (int i = 0; i < bars->Count(); ++i)
      if (TCustomActionBar* bar = bars->ActionBars(i)->ActionBar())
        if (SameText(bar->Name(), name)) return bar;
    if (TComponent* owner = FManager.Owner())
      return dynamic_cast<TCustomActionBar*>(owner->FindComponent(name));
    return nullptr;
  }

private:
  TCustomActionManager& FManager;
  TStream& FStream;
  int64_t FTotalItems = 0;
};

void TCustomActionManager::SaveToStream(TStream& stream) const {
  stream.WriteChars(kSignature);
  stream.WriteU16(kVersion);
  stream.WriteI32(FActionBars->SessionCount());
  stream.WriteI32(FPrioritySchedule->Count());
  for (int i = 0; i < FPrioritySchedule->Count(); ++i)
    stream.WriteStr32(FPrioritySchedule->Get(i));
  stream.WriteI32(FActionBars->Count());
  for (int i = 0; i < FActionBars->Count(); ++i) {
    TActionBarItem* bar = FActionBars->ActionBars(i);
    stream.WriteStr16(bar->ActionBar() ? bar->ActionBar()->Name() : std::string());
    stream.WriteU8(uint8_t((bar->Visible() ? 1 : 0) | (bar->AutoSize() ? 2 : 0)));
    WriteItemLists(stream, bar, 0);
  }
  stream.WriteChars(kEndMark);
}

void TCustomActionManager::LoadFromStream(TStream& stream) {
  TStreamRewindOnError rewind(stream);
  if (stream.ReadChars(4) != kSignature) BadFormat();
  const uint16_t version = stream.ReadU16();
  if (version != kVersion) throw EReadError::CreateFmt(SActnConfigVersion, int(version));
  const int32_t sessions = stream.ReadI32();
  if (sessions < 0) BadFormat();

  TStringList schedule;
  const int32_t entries = ReadCount(stream, 4);
  for (int32_t i = 0; i < entries; ++i)
    schedule.Add(ReadUtf8Text32(stream));

  TActnConfigReader reader(*this, stream);
  // The new bars are built in a collection of their own, which does not
  // join the bars to its items: only the final copy does.
  TActionBars fresh(this);
  const int32_t barCount = ReadCount(stream, 2 + 1 + 2 * 5);
  for (int32_t i = 0; i < barCount; ++i) {
    TActionBarItem* item = fresh.Add();
    item->FActionBar = reader.FindBar(ReadText16(stream));
    const uint8_t flags = stream.ReadU8();
    if (flags & ~3u) BadFormat();
    item->SetVisible(flags & 1);
    item->SetAutoSize(flags & 2);
    reader.ReadItems(item->Items(), 1);
    reader.ReadItems(item->ContextItems(), 1);
  }
  if (stream.ReadChars(4) != kEndMark) BadFormat();
  if (stream.Remaining() > 0)
    throw EReadError::CreateFmt(SActnConfigTrailing,
                                int(std::min<int64_t>(stream.Remaining(), INT32_MAX)));

  // Everything was read: the new configuration replaces the old one.  The
  // bars of the fresh items are detached first so that destroying the
  // fresh collection leaves the bars alone.
  FActionBars->SetSessionCount(sessions);
  FActionBars->Assign(&fresh);
  for (int i = 0; i < fresh.Count(); ++i)
    fresh.ActionBars(i)->FActionBar = nullptr;
  FPrioritySchedule->Assign(&schedule);
  BarsChanged();
}

} // namespace zel
