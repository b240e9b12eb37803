#include "framework/core/Filer.h"

#include <bit>
#include <limits>

#include "framework/core/Collection.h"
#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Properties.h"
#include "framework/core/StrUtils.h"
#include "framework/core/Streams.h"

namespace zel {

namespace {

constexpr const char* kSignature = "ZCS1";
// Deeper nesting than any real object tree has means damaged data; refusing
// it keeps the recursion off the end of the stack.
constexpr int kMaxDepth = 256;

} // namespace

// Counts one level of nesting for the reader's lifetime of the guard.
class TNestingGuard {
public:
  explicit TNestingGuard(int& depth) : FDepth(depth) {
    if (++FDepth > kMaxDepth) {
      --FDepth;
      throw EReadError(SInvalidStreamFormat);
    }
  }
  ~TNestingGuard() { --FDepth; }
  TNestingGuard(const TNestingGuard&) = delete;
  TNestingGuard& operator=(const TNestingGuard&) = delete;

private:
  int& FDepth;
};

// ---- TWriter -------------------------------------------------------------------

void TWriter::WriteValue(TValueType v) {
  FStream.WriteU8(static_cast<uint8_t>(v));
}

void TWriter::WriteInteger(int64_t v) {
  if (v >= INT8_MIN && v <= INT8_MAX) {
    WriteValue(TValueType::vaInt8);
    FStream.WriteI8(int8_t(v));
  } else if (v >= INT16_MIN && v <= INT16_MAX) {
    WriteValue(TValueType::vaInt16);
    FStream.WriteI16(int16_t(v));
  } else if (v >= INT32_MIN && v <= INT32_MAX) {
    WriteValue(TValueType::vaInt32);
    FStream.WriteI32(int32_t(v));
  } else {
    WriteValue(TValueType::vaInt64);
    FStream.WriteI64(v);
  }
}

void TWriter::WriteBoolean(bool v) {
  WriteValue(v ? TValueType::vaTrue : TValueType::vaFalse);
}

void TWriter::WriteString(const std::string& s) {
  WriteValue(TValueType::vaString);
  FStream.WriteStr32(s);
}

void TWriter::WriteIdent(const std::string& s) {
  WriteValue(TValueType::vaIdent);
  FStream.WriteStr16(s);
}

void TWriter::WriteFloat(double v) {
  WriteValue(TValueType::vaDouble);
  FStream.WriteI64(std::bit_cast<int64_t>(v));
}

// Property and class names are never empty, so their length byte is never
// the end mark that a reader looks for in its place.
void TWriter::WritePropName(const std::string& name) {
  if (name.empty()) throw EWriteError(SWriteError);
  FStream.WriteStr8(name);
}

void TWriter::WriteProperties(TPersistent& instance) {
  WritePropertiesOf(instance, std::string());
  WriteListEnd();
}

void TWriter::WritePropertiesOf(TPersistent& instance, const std::string& prefix) {
  if (FDepth >= kMaxDepth) throw EWriteError(SWriteError);
  ++FDepth;
  struct TLeave {
    int& Depth;
    ~TLeave() { --Depth; }
  } leave{FDepth};
  for (const TPropInfo* p : GetPropList(instance))
    WriteProperty(instance, *p, prefix);
  std::string saved = FPrefix;
  FPrefix = prefix;
  try {
    instance.DefineProperties(*this);
  } catch (...) {
    FPrefix = saved;
    throw;
  }
  FPrefix = saved;
}

void TWriter::WriteProperty(TPersistent& instance, const TPropInfo& prop,
                            const std::string& prefix) {
  if (!prop.Get) return;
  const std::string name = prefix + prop.Name;
  if (prop.IsOrdinal()) {
    if (!prop.IsWritable()) return;
    int64_t v = GetOrdProp(instance, prop);
    if (prop.Default && *prop.Default == v) return;
    WritePropName(name);
    if (prop.TypeName == "Boolean")
      WriteBoolean(v != 0);
    else if (!prop.EnumNames.empty() && v >= 0 && v < int64_t(prop.EnumNames.size()))
      WriteIdent(prop.EnumNames[size_t(v)]);
    else
      WriteInteger(v);
    return;
  }
  TPropValue value = prop.Get(instance);
  switch (prop.Kind) {
  case TTypeKind::tkString:
    if (prop.IsWritable() && !std::get<std::string>(value).empty()) {
      WritePropName(name);
      WriteString(std::get<std::string>(value));
    }
    return;
  case TTypeKind::tkFloat:
    if (prop.IsWritable()) {
      WritePropName(name);
      WriteFloat(std::get<double>(value));
    }
    return;
  case TTypeKind::tkClass:
    break;
  default:
    return;
  }
  auto* obj = std::get_if<TObject*>(&value);
  if (!obj || !*obj) return;
  if (auto* c = dynamic_cast<TComponent*>(*obj)) {
    bool subComponent = c->ComponentStyle().Contains(csSubComponent) && c->Owner() == &instance;
    if (subComponent) {
      WritePropertiesOf(*c, name + ".");
    } else if (prop.IsWritable()) {
      std::string ref = ReferenceName(c);
      if (!ref.empty()) {
        WritePropName(name);
        WriteIdent(ref);
      }
    }
  } else if (auto* coll = dynamic_cast<TCollection*>(*obj)) {
    WritePropName(name);
    WriteCollection(*coll);
  } else if (auto* p = dynamic_cast<TPersistent*>(*obj)) {
    WritePropertiesOf(*p, name + ".");
  }
}

void TWriter::WriteCollection(TCollection& collection) {
  WriteValue(TValueType::vaCollection);
  for (int i = 0; i < collection.Count(); ++i) {
    WriteListBegin();
    WritePropertiesOf(*collection.Items(i), std::string());
    WriteListEnd();
  }
  WriteListEnd();
}

std::string TWriter::ReferenceName(TComponent* c) const {
  if (c->Name().empty()) return {};
  if (!FRoot || c == FRoot || c->Owner() == FRoot || !c->Owner()) return c->Name();
  if (c->Owner()->Name().empty()) return {};
  return c->Owner()->Name() + "." + c->Name();
}

void TWriter::WriteComponent(TComponent& component) {
  WritePropName(component.ClassName());
  FStream.WriteStr8(component.Name());
  WriteProperties(component);
  for (int i = 0; i < component.ComponentCount(); ++i) {
    TComponent* child = component.Components(i);
    TComponentStyle style = child->ComponentStyle();
    if (!style.Contains(csSubComponent) && !style.Contains(csTransient)) WriteComponent(*child);
  }
  WriteListEnd();
}

void TWriter::WriteRootComponent(TComponent& root) {
  FRoot = &root;
  root.Include(csWriting);
  try {
    FStream.WriteChars(kSignature);
    WriteComponent(root);
  } catch (...) {
    root.Exclude(csWriting);
    throw;
  }
  root.Exclude(csWriting);
}

void TWriter::DefineProperty(const std::string& name, const std::function<void(TReader&)>&,
                             const std::function<void(TWriter&)>& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(FPrefix + name);
  writeData(*this);
}

void TWriter::DefineBinaryProperty(const std::string& name, const std::function<void(TStream&)>&,
                                   const std::function<void(TStream&)>& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  TMemoryStream data;
  writeData(data);
  WritePropName(FPrefix + name);
  WriteValue(TValueType::vaBinary);
  FStream.WriteI32(int32_t(data.Size()));
  FStream.WriteBuffer(data.Memory(), data.Size());
}

// ---- TReader -------------------------------------------------------------------

TReader::~TReader() = default;

void TReader::InvalidValue() const {
  throw EReadError(SInvalidStreamFormat);
}

TValueType TReader::ReadValue() {
  uint8_t v = FStream.ReadU8();
  switch (v) {
  case 0:
  case 1:
  case 2:
  case 3:
  case 4:
  case 5:
  case 6:
  case 7:
  case 8:
  case 9:
  case 10:
  case 12:
  case 13:
  case 14:
    return static_cast<TValueType>(v);
  default:
    InvalidValue();
  }
}

// Peeks at the next byte without judging it: where a name may follow, its
// length byte stands in this place.
TValueType TReader::NextValue() {
  uint8_t b = FStream.ReadU8();
  FStream.Seek(-1, soFromCurrent);
  return static_cast<TValueType>(b);
}

int64_t TReader::ReadInt64() {
  switch (ReadValue()) {
  case TValueType::vaInt8:
    return FStream.ReadI8();
  case TValueType::vaInt16:
    return FStream.ReadI16();
  case TValueType::vaInt32:
    return FStream.ReadI32();
  case TValueType::vaInt64:
    return FStream.ReadI64();
  default:
    InvalidValue();
  }
}

int TReader::ReadInteger() {
  int64_t v = ReadInt64();
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) InvalidValue();
  return int(v);
}

bool TReader::ReadBoolean() {
  TValueType v = ReadValue();
  if (v != TValueType::vaTrue && v != TValueType::vaFalse) InvalidValue();
  return v == TValueType::vaTrue;
}

std::string TReader::ReadString() {
  if (ReadValue() != TValueType::vaString) InvalidValue();
  return FStream.ReadStr32();
}

std::string TReader::ReadIdent() {
  switch (ReadValue()) {
  case TValueType::vaIdent:
    return FStream.ReadStr16();
  case TValueType::vaFalse:
    return "False";
  case TValueType::vaTrue:
    return "True";
  case TValueType::vaNil:
    return "nil";
  default:
    InvalidValue();
  }
}

double TReader::ReadFloat() {
  if (NextValue() == TValueType::vaDouble) {
    ReadValue();
    return std::bit_cast<double>(FStream.ReadI64());
  }
  return double(ReadInt64());
}

void TReader::ReadListBegin() {
  if (ReadValue() != TValueType::vaList) InvalidValue();
}

void TReader::ReadListEnd() {
  if (ReadValue() != TValueType::vaNull) InvalidValue();
}

std::string TReader::ReadPropName() {
  std::string name = FStream.ReadStr8();
  if (name.empty()) InvalidValue();
  return name;
}

void TReader::SkipValue() {
  switch (ReadValue()) {
  case TValueType::vaNull:
  case TValueType::vaFalse:
  case TValueType::vaTrue:
  case TValueType::vaNil:
    return;
  case TValueType::vaInt8:
    FStream.ReadU8();
    return;
  case TValueType::vaInt16:
    FStream.ReadU16();
    return;
  case TValueType::vaInt32:
    FStream.ReadU32();
    return;
  case TValueType::vaInt64:
  case TValueType::vaDouble:
    FStream.ReadI64();
    return;
  case TValueType::vaString:
    FStream.ReadStr32();
    return;
  case TValueType::vaIdent:
    FStream.ReadStr16();
    return;
  case TValueType::vaBinary: {
    int32_t n = FStream.ReadI32();
    if (n < 0 || n > FStream.Remaining()) InvalidValue();
    FStream.Seek(n, soFromCurrent);
    return;
  }
  case TValueType::vaList: {
    TNestingGuard nesting(FDepth);
    while (!EndOfList())
      SkipValue();
    ReadListEnd();
    return;
  }
  case TValueType::vaCollection:
    while (!EndOfList()) {
      ReadListBegin();
      while (!EndOfList()) {
        ReadPropName();
        SkipValue();
      }
      ReadListEnd();
    }
    ReadListEnd();
    return;
  }
}

void TReader::ReadProperties(TPersistent& instance) {
  while (!EndOfList())
    ReadProperty(instance, ReadPropName());
  ReadListEnd();
}

void TReader::ReadProperty(TPersistent& instance, const std::string& path) {
  size_t dot = path.find('.');
  if (dot != std::string::npos) {
    // A property of a nested object: "Font.Name".
    const TPropInfo* p = GetPropInfo(instance, std::string_view(path).substr(0, dot));
    if (p && p->Kind == TTypeKind::tkClass) {
      TPropValue v = p->Get(instance);
      auto* obj = std::get_if<TObject*>(&v);
      if (auto* nested = obj ? dynamic_cast<TPersistent*>(*obj) : nullptr) {
        ReadProperty(*nested, path.substr(dot + 1));
        return;
      }
    }
  } else if (const TPropInfo* p = GetPropInfo(instance, path)) {
    ReadPropValue(instance, *p);
    return;
  }
  // A property the object defines itself.
  std::string saved = FPropName;
  bool savedHandled = FCanHandle;
  FPropName = path;
  FCanHandle = false;
  instance.DefineProperties(*this);
  bool handled = FCanHandle;
  FPropName = saved;
  FCanHandle = savedHandled;
  if (handled) return;
  if (!FIgnoreUnknown) throw EReadError::CreateFmt(SPropertyNotFound, instance.GetNamePath(), path);
  SkipValue();
}

void TReader::ReadPropValue(TPersistent& instance, const TPropInfo& prop) {
  TValueType next = NextValue();
  if (prop.IsOrdinal()) {
    int64_t v;
    if (next == TValueType::vaIdent) {
      v = GetEnumValue(prop, ReadIdent());
      if (v < 0) InvalidValue();
    } else if (next == TValueType::vaTrue || next == TValueType::vaFalse) {
      v = ReadBoolean() ? 1 : 0;
    } else {
      v = ReadInt64();
    }
    SetOrdProp(instance, prop, v);
    return;
  }
  switch (prop.Kind) {
  case TTypeKind::tkString:
    SetPropValue(instance, prop, TPropValue(ReadString()));
    return;
  case TTypeKind::tkFloat:
    SetPropValue(instance, prop, TPropValue(ReadFloat()));
    return;
  case TTypeKind::tkClass:
    break;
  default:
    InvalidValue();
  }
  if (next == TValueType::vaNil) {
    ReadValue();
    SetPropValue(instance, prop, TPropValue());
  } else if (next == TValueType::vaIdent) {
    FFixups.push_back(TFixup{&instance, &prop, ReadIdent()});
  } else if (next == TValueType::vaCollection) {
    TPropValue v = prop.Get(instance);
    auto* obj = std::get_if<TObject*>(&v);
    auto* coll = obj ? dynamic_cast<TCollection*>(*obj) : nullptr;
    if (!coll) InvalidValue();
    ReadCollection(*coll);
  } else {
    InvalidValue();
  }
}

void TReader::ReadCollection(TCollection& collection) {
  TNestingGuard nesting(FDepth);
  if (ReadValue() != TValueType::vaCollection) InvalidValue();
  collection.BeginUpdate();
  try {
    collection.Clear();
    while (!EndOfList()) {
      ReadListBegin();
      ReadProperties(*collection.Add());
    }
    ReadListEnd();
  } catch (...) {
    collection.EndUpdate();
    throw;
  }
  collection.EndUpdate();
}

TComponent* TReader::ReadComponent(TComponent* owner) {
  TNestingGuard nesting(FDepth);
  std::string className = ReadPropName();
  std::string name = FStream.ReadStr8();
  TComponent* c = owner ? owner->FindComponent(name) : nullptr;
  if (c && !AnsiSameText(c->ClassName(), className))
    throw EReadError::CreateFmt(SWrongRootClass, className, c->ClassName());
  if (!c) {
    TClassRef<TComponent> cls(FindClass(className));
    c = cls.Create(owner);
    try {
      c->SetName(name);
    } catch (...) {
      delete c;
      throw;
    }
  }
  c->BeginLoading();
  ReadProperties(*c);
  while (!EndOfList())
    ReadComponent(c);
  ReadListEnd();
  return c;
}

void TReader::ReadRootComponent(TComponent& root) {
  FRoot = &root;
  root.BeginLoading();
  try {
    if (FStream.ReadChars(4) != kSignature) InvalidValue();
    std::string className = ReadPropName();
    std::string name = FStream.ReadStr8();
    if (!AnsiSameText(className, root.ClassName()))
      throw EReadError::CreateFmt(SWrongRootClass, className, root.ClassName());
    if (!name.empty()) root.SetName(name);
    ReadProperties(root);
    while (!EndOfList())
      ReadComponent(&root);
    ReadListEnd();
    FixupReferences();
  } catch (...) {
    FFixups.clear();
    root.CancelLoading();
    throw;
  }
  root.EndLoading();
}

TComponent* TReader::FindReference(const std::string& name) const {
  if (!FRoot) return nullptr;
  if (AnsiSameText(name, FRoot->Name())) return FRoot;
  size_t dot = name.find('.');
  if (dot == std::string::npos) return FRoot->FindComponent(name);
  TComponent* owner = FRoot->FindComponent(name.substr(0, dot));
  return owner ? owner->FindComponent(name.substr(dot + 1)) : nullptr;
}

void TReader::FixupReferences() {
  std::vector<TFixup> fixups;
  fixups.swap(FFixups);
  // A name that matches nothing leaves the property as it was.
  for (const TFixup& f : fixups)
    if (TComponent* c = FindReference(f.Name))
      SetPropValue(*f.Instance, *f.Prop, TPropValue(static_cast<TObject*>(c)));
}

void TReader::DefineProperty(const std::string& name, const std::function<void(TReader&)>& readData,
                             const std::function<void(TWriter&)>&, bool) {
  if (FCanHandle || !AnsiSameText(name, FPropName)) return;
  FCanHandle = true;
  if (readData)
    readData(*this);
  else
    SkipValue();
}

void TReader::DefineBinaryProperty(const std::string& name,
                                   const std::function<void(TStream&)>& readData,
                                   const std::function<void(TStream&)>&, bool) {
  if (FCanHandle || !AnsiSameText(name, FPropName)) return;
  FCanHandle = true;
  if (ReadValue() != TValueType::vaBinary) InvalidValue();
  int32_t n = FStream.ReadI32();
  if (n < 0 || n > FStream.Remaining()) InvalidValue();
  TMemoryStream data;
  if (n > 0) data.CopyFrom(FStream, n);
  data.SetPosition(0);
  if (readData) readData(data);
}

} // namespace zel
