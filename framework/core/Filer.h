#pragma once
// Writing and reading objects through their published properties: the
// framework's component streams.  A writer stores each published property
// that differs from its default (and whatever DefineProperties adds) as a
// name followed by a tagged value; a reader sets them back by name.  Nested
// persistent objects store their properties under "Owner.Property" names,
// collections store their items, references to other components store the
// component's name and are resolved when the whole stream has been read.
//
// A component stream holds a signature, then per component its class name,
// its name, its properties (ending with an end mark) and its owned
// components (ending with an end mark).  Reading creates the owned
// components through the class registry (RegisterClass), or reuses an owned
// component of the same name that the owner made itself.
//
// Every value is a one-byte tag and its data, little-endian, written byte by
// byte; names are a length byte and the UTF-8 bytes.
//
// What reading raises.  A stream that is cut short, holds a bad tag or a
// value of the wrong kind, nests deeper than 256 levels, names another root
// class or a property the object lacks raises EReadError.  Other damage
// surfaces from the objects being built, with their own errors:
//   EClassNotFound         a class name that nobody registered;
//   EInvalidCast           a registered class that is no component;
//   EInvalidOperation      a class that cannot be created;
//   EComponentError        a component name that is no identifier;
//   EPropertyError,
//   EPropertyConvertError  a value the property refuses (an enumeration
//                          value it does not name, a read-only property);
// and whatever a property setter or Loaded raises for a value it refuses.
// Every one descends from Exception: a caller that must survive any stream
// from outside catches Exception, not EReadError alone.  Allocations are
// bounded by the bytes the stream still holds, so std::bad_alloc means that
// memory is short, not that the stream is damaged.  After a failure the root
// is out of the loading state; components read before the damage stay with
// their owners.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Persistent.h"

namespace zel {

class TStream;
class TCollection;

enum class TValueType : uint8_t {
  vaNull = 0, // the end of a list
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaDouble = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaNil = 12,
  vaCollection = 13,
  vaInt64 = 14,
};

class TWriter : public TFiler {
public:
  explicit TWriter(TStream& stream) : FStream(stream) {}

  TStream& Stream() { return FStream; }
  // The component that references are written relative to.
  void SetRoot(TComponent* root) { FRoot = root; }

  void WriteValue(TValueType v);
  // In the smallest of the integer forms.
  void WriteInteger(int64_t v);
  void WriteBoolean(bool v);
  void WriteString(const std::string& s);
  void WriteIdent(const std::string& s);
  void WriteFloat(double v);
  void WriteListBegin() { WriteValue(TValueType::vaList); }
  void WriteListEnd() { WriteValue(TValueType::vaNull); }
  void WritePropName(const std::string& name);

  // The published and defined properties of instance, then the end mark.
  void WriteProperties(TPersistent& instance);
  // One component with its owned components (not sub-components).
  void WriteComponent(TComponent& component);
  // The signature and the root with everything it owns.
  void WriteRootComponent(TComponent& root);

  void DefineProperty(const std::string& name, const std::function<void(TReader&)>& readData,
                      const std::function<void(TWriter&)>& writeData, bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const std::function<void(TStream&)>& readData,
                            const std::function<void(TStream&)>& writeData, bool hasData) override;

private:
  void WritePropertiesOf(TPersistent& instance, const std::string& prefix);
  void WriteProperty(TPersistent& instance, const TPropInfo& prop, const std::string& prefix);
  void WriteCollection(TCollection& collection);
  std::string ReferenceName(TComponent* c) const;

  TStream& FStream;
  TComponent* FRoot = nullptr;
  std::string FPrefix;
  int FDepth = 0; // nesting of objects, bounded against objects that contain themselves
};

class TReader : public TFiler {
public:
  explicit TReader(TStream& stream) : FStream(stream) {}
  ~TReader() override;

  TStream& Stream() { return FStream; }
  void SetRoot(TComponent* root) { FRoot = root; }
  // When set, a property that the object does not have is skipped instead
  // of raising EReadError.
  void SetIgnoreUnknownProperties(bool v) { FIgnoreUnknown = v; }

  TValueType ReadValue();
  TValueType NextValue();
  bool EndOfList() { return NextValue() == TValueType::vaNull; }
  int64_t ReadInt64();
  // Raises EReadError for a value that is no integer or out of range.
  int ReadInteger();
  bool ReadBoolean();
  std::string ReadString();
  std::string ReadIdent();
  double ReadFloat();
  void ReadListBegin();
  void ReadListEnd();
  std::string ReadPropName();
  // Skips one value of any kind.
  void SkipValue();

  // Reads name/value pairs into instance up to and including the end mark.
  void ReadProperties(TPersistent& instance);
  // Reads one component (and its owned ones) into owner.  It stays in the
  // loading state until its owner's EndLoading (ReadRootComponent does it).
  TComponent* ReadComponent(TComponent* owner);
  // Reads what WriteRootComponent wrote into root: loading state on the way,
  // references resolved and Loaded called on every component at the end.
  void ReadRootComponent(TComponent& root);
  // Resolves the component references read so far against the root.
  void FixupReferences();

  void DefineProperty(const std::string& name, const std::function<void(TReader&)>& readData,
                      const std::function<void(TWriter&)>& writeData, bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const std::function<void(TStream&)>& readData,
                            const std::function<void(TStream&)>& writeData, bool hasData) override;

private:
  struct TFixup {
    TPersistent* Instance;
    const TPropInfo* Prop;
    std::string Name;
  };
  void ReadProperty(TPersistent& instance, const std::string& path);
  void ReadPropValue(TPersistent& instance, const TPropInfo& prop);
  void ReadCollection(TCollection& collection);
  [[noreturn]] void InvalidValue() const;
  TComponent* FindReference(const std::string& name) const;

  TStream& FStream;
  TComponent* FRoot = nullptr;
  bool FIgnoreUnknown = false;
  std::string FPropName; // the defined property being looked for
  bool FCanHandle = false;
  std::vector<TFixup> FFixups;
  int FDepth = 0; // nesting of lists and components, bounded against damaged data
  friend class TNestingGuard;
};

} // namespace zel
