#pragma once
// TPersistent: objects that can copy themselves from others (Assign), name
// their place in the ownership tree (GetNamePath) and define extra data to
// store beside their published properties (DefineProperties).

#include <functional>
#include <string>

#include "framework/core/Object.h"

namespace zel {

class TFiler;
class TReader;
class TStream;
class TWriter;

class TPersistent : public TObject {
  ZEL_CLASS(TPersistent, TObject)
public:
  // Copies source into this object.  The base asks the source to AssignTo
  // this object; an unsupported pair raises EConvertError
  // "Cannot assign a <source class> to a <this class>" (nil for no source).
  virtual void Assign(TPersistent* source);
  // The name of this object in the ownership tree, such as "Form1.Panel1".
  virtual std::string GetNamePath() const;

  // Defines data stored beside the published properties (see TFiler).
  virtual void DefineProperties(TFiler& filer) {}
  // The object that owns this one in the sense of GetNamePath, or nil.
  virtual TPersistent* GetOwner() const { return nullptr; }

protected:
  // Copies this object into dest; the base raises the assignment error.
  virtual void AssignTo(TPersistent* dest);
  [[noreturn]] void AssignError(const TPersistent* source) const;
};

// A filer hands DefineProperties the means to read or write one extra
// property.  A writer calls writeData only when hasData is true; a reader
// calls readData when the stored data holds the property.  A binary property
// reads and writes raw bytes through a stream of its own.
class TFiler {
public:
  virtual ~TFiler() = default;
  virtual void DefineProperty(const std::string& name,
                              const std::function<void(TReader&)>& readData,
                              const std::function<void(TWriter&)>& writeData, bool hasData) = 0;
  virtual void DefineBinaryProperty(const std::string& name,
                                    const std::function<void(TStream&)>& readData,
                                    const std::function<void(TStream&)>& writeData,
                                    bool hasData) = 0;
};

} // namespace zel
