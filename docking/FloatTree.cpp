// The float tree: placement bookkeeping, its stream format and the lookup of
// docked controls by saved name or key.
//
// Stream (little-endian): version i32 (3; only the low 16 bits count), then
// entries of a 24-byte record (size i32 = 24, left, top, right, bottom i32,
// visible u8, three zero bytes) followed by the key (i32 length and its
// characters), then i32 -1.

#include "docking/FloatTree.h"

#include <algorithm>
#include <limits>

#include "docking/DockForms.h"
#include "framework/controls/WinControl.h"
#include "framework/core/Exceptions.h"
#include "framework/core/StrUtils.h"
#include "framework/core/Streams.h"
#include "framework/core/Strings.h"
#include "framework/docking/DragDock.h"
#include "framework/forms/Application.h"
#include "platform/user/SystemParams.h"

namespace zel {

namespace {

constexpr const char* SFloatTreeVersion = "Неправильная версия (%d) TFloatTreeZel";
constexpr const char* SFloatTreeDataSize = "Неправильный размер данных (%d)";

std::unique_ptr<TFloatTreeZel> gFloatTree;

int32_t Clamp32(int64_t v) {
  return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max()));
}

} // namespace

TFloatTreeZel* FloatTree() {
  if (!gFloatTree) gFloatTree = std::make_unique<TFloatTreeZel>();
  return gFloatTree.get();
}

void FreeFloatTree() {
  gFloatTree.reset();
}

sys::RECT FitOnScreen(const sys::RECT& R, int ScreenWidth, int ScreenHeight) {
  // 64-bit arithmetic: the rectangle may come from a file with any values.
  int64_t l = R.left, t = R.top, r = R.right, b = R.bottom;
  const int64_t hw = (r - l) / 2, hh = (b - t) / 2;
  auto moveX = [&](int64_t dx) { l += dx, r += dx; };
  auto moveY = [&](int64_t dy) { t += dy, b += dy; };
  if (r < hw) moveX(-hw - l);
  if (hh > b) moveY(-hh - t);
  if (ScreenWidth < r - hw) moveX(ScreenWidth + hw - r);
  if (ScreenHeight < b - hh) moveY(ScreenHeight + hh - b);
  return sys::RECT{Clamp32(l), Clamp32(t), Clamp32(r), Clamp32(b)};
}

namespace {

// FitOnScreen within the work area (the screen less a window manager's
// panels), which need not start at the screen's corner.
sys::RECT FitInWorkArea(const sys::RECT& R) {
  sys::RECT work{};
  sys::SystemParametersInfo(sys::SPI_GETWORKAREA, 0, &work, 0);
  const int64_t dx = work.left, dy = work.top;
  const sys::RECT fitted = FitOnScreen(sys::RECT{Clamp32(R.left - dx), Clamp32(R.top - dy),
                                                 Clamp32(R.right - dx), Clamp32(R.bottom - dy)},
                                       work.right - work.left, work.bottom - work.top);
  return sys::RECT{Clamp32(fitted.left + dx), Clamp32(fitted.top + dy), Clamp32(fitted.right + dx),
                   Clamp32(fitted.bottom + dy)};
}

} // namespace

// ---- TFloatTreeZel ---------------------------------------------------------------------

TFloatTreeZel::TFloatTreeZel() : FKeys(std::make_unique<TStringList>()) {
  FKeys->SetSorted(true);
}

TFloatTreeZel::~TFloatTreeZel() = default;

std::string TFloatTreeZel::MakeKey(const TComponent* control) {
  std::string names, classes;
  bool named = false;
  for (const TComponent* c = control; c; c = c->Owner()) {
    if (!names.empty()) names.insert(0, ".");
    if (!classes.empty()) classes.insert(0, ".");
    names.insert(0, UpperCase(c->Name()));
    classes.insert(0, UpperCase(c->ClassName()));
    named = named || !c->Name().empty();
  }
  if (!named) return std::string();
  return names + ";" + classes;
}

int TFloatTreeZel::Count() const {
  return FKeys->Count();
}

std::string TFloatTreeZel::Keys(int index) const {
  return FKeys->Get(index);
}

bool TFloatTreeZel::Find(const TControl* control, TFloatPlacement& placement) const {
  const std::string key = MakeKey(control);
  int i = 0;
  if (key.empty() || !FKeys->Find(key, i)) return false;
  placement = FRecords[size_t(FKeys->GetData(i))];
  return true;
}

void TFloatTreeZel::Put(const std::string& key, const TFloatPlacement& placement) {
  TFloatPlacement p;
  p.Size = RecordSize;
  p.Bounds = placement.Bounds;
  p.Visible = placement.Visible;
  int i = 0;
  if (FKeys->Find(key, i)) {
    FRecords[size_t(FKeys->GetData(i))] = p;
    return;
  }
  FRecords.push_back(p);
  FKeys->AddEntry(key, nullptr, intptr_t(FRecords.size() - 1));
}

void TFloatTreeZel::RecordControl(const TControl* control, const sys::RECT& bounds, bool visible) {
  const std::string key = MakeKey(control);
  if (key.empty()) return;
  TFloatPlacement p;
  p.Bounds = bounds;
  p.Visible = visible;
  Put(key, p);
}

void TFloatTreeZel::RecordForm(TWinControl* form) {
  if (!form || form->ControlCount() == 0) return;
  TControl* first = form->Controls(0);
  RecordControl(first, form->BoundsRect(), first->Visible());
}

// A saved extent is bounded to what a person could have given the form: an
// extent smaller than a window may be sized (or none at all) keeps the size
// the form floated with, one larger than the screen becomes the screen's.
static int SavedExtent(int64_t saved, int present, int least, int screen) {
  if (saved < least) return present;
  return int(std::min<int64_t>(saved, std::max(screen, least)));
}

sys::RECT BoundedPlacement(const sys::RECT& saved, int presentWidth, int presentHeight) {
  sys::RECT work{};
  sys::SystemParametersInfo(sys::SPI_GETWORKAREA, 0, &work, 0);
  const int w = SavedExtent(int64_t(saved.right) - saved.left, presentWidth,
                            sys::GetSystemMetrics(sys::SM_CXMINTRACK), work.right - work.left);
  const int h = SavedExtent(int64_t(saved.bottom) - saved.top, presentHeight,
                            sys::GetSystemMetrics(sys::SM_CYMINTRACK), work.bottom - work.top);
  // A corner far off the work area is first brought next to it, so that the
  // sums below stay small; the fit then puts at least half inside it.
  const int left = int(std::clamp<int64_t>(saved.left, int64_t(work.left) - w, work.right));
  const int top = int(std::clamp<int64_t>(saved.top, int64_t(work.top) - h, work.bottom));
  return FitInWorkArea(sys::RECT{left, top, left + w, top + h});
}

bool TFloatTreeZel::Restore(TWinControl* form) {
  if (!form || form->ControlCount() == 0) return false;
  TFloatPlacement p;
  if (!Find(form->Controls(0), p)) return false;
  const sys::RECT r = BoundedPlacement(p.Bounds, form->Width(), form->Height());
  form->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  if (auto* ex = dynamic_cast<TCustomDockFormEx*>(form))
    ex->SetVisibleDeferred(p.Visible);
  else
    form->SetVisible(p.Visible);
  return true;
}

void TFloatTreeZel::SaveToStream(TStream* stream) {
  if (!stream) return;
  // The registry takes the current bounds of every floating form first.
  if (Application)
    for (int i = 0; i < Application->ComponentCount(); ++i)
      if (auto* f = dynamic_cast<TCustomDockForm*>(Application->Components(i))) RecordForm(f);
  stream->WriteI32(Version);
  for (int i = 0; i < FKeys->Count(); ++i) {
    const TFloatPlacement& p = FRecords[size_t(FKeys->GetData(i))];
    stream->WriteI32(RecordSize);
    stream->WriteI32(p.Bounds.left);
    stream->WriteI32(p.Bounds.top);
    stream->WriteI32(p.Bounds.right);
    stream->WriteI32(p.Bounds.bottom);
    stream->WriteU8(p.Visible ? 1 : 0);
    stream->WriteU8(0);
    stream->WriteU16(0);
    stream->WriteStr32(FKeys->Get(i));
  }
  stream->WriteI32(-1);
}

void TFloatTreeZel::LoadFromStream(TStream* stream) {
  if (!stream || stream->Size() == 0) return;
  TStream& s = *stream;
  {
    TStreamRewindOnError rewind(s);
    const int32_t version = int32_t(s.ReadU32() & 0xFFFF);
    if (version > Version) throw Exception::CreateFmt(SFloatTreeVersion, version);
  }
  for (;;) {
    // A failing entry leaves the stream at its size field; the entries
    // before it stay in the registry.
    TStreamRewindOnError rewind(s);
    const int32_t size = s.ReadI32();
    if (size == -1) return;
    if (size != RecordSize) throw Exception::CreateFmt(SFloatTreeDataSize, size);
    TFloatPlacement p;
    p.Bounds.left = s.ReadI32();
    p.Bounds.top = s.ReadI32();
    p.Bounds.right = s.ReadI32();
    p.Bounds.bottom = s.ReadI32();
    p.Visible = s.ReadU8() != 0;
    s.ReadU8();
    s.ReadU16();
    const int32_t length = s.ReadI32();
    if (length == -1) return;
    if (length <= 0) continue;
    // ReadChars checks the length against what is left before it allocates.
    Put(s.ReadChars(length), p);
  }
}

// ---- FindDockedControl -----------------------------------------------------------------

namespace {

// The search text of a name: a key's last name (what follows the last "."
// of the names part), otherwise the name itself.
std::string SearchText(const std::string& name, bool& isKey) {
  const size_t semi = name.find(';');
  isKey = semi != std::string::npos;
  if (!isKey) return name;
  std::string names = name.substr(0, semi);
  const size_t dot = names.rfind('.');
  return dot == std::string::npos ? names : names.substr(dot + 1);
}

TControl* Probe(TComponent* container, const std::string& text, const std::string& name,
                bool isKey) {
  if (!container || dynamic_cast<TCustomDockForm*>(container)) return nullptr;
  auto* c = dynamic_cast<TControl*>(container->FindComponent(text));
  if (!c) return nullptr;
  if (isKey && UpperCase(TFloatTreeZel::MakeKey(c)) != UpperCase(name)) return nullptr;
  return c;
}

TControl* Walk(TComponent* container, const std::string& text, const std::string& name,
               bool isKey) {
  for (int i = 0; i < container->ComponentCount(); ++i) {
    TComponent* c = container->Components(i);
    if (c->ComponentCount() == 0) continue;
    if (TControl* found = Probe(c, text, name, isKey)) return found;
    if (TControl* found = Walk(c, text, name, isKey)) return found;
  }
  return nullptr;
}

} // namespace

TControl* FindDockedControl(const std::string& name, TComponent* root) {
  if (!root) return nullptr;
  bool isKey = false;
  const std::string text = SearchText(name, isKey);
  if (text.empty()) return nullptr;
  if (TControl* c = Probe(root, text, name, isKey)) return c;
  return Walk(root, text, name, isKey);
}

} // namespace zel
