#pragma once
// The message texts of the framework's own errors.  The texts with "%"
// are Format patterns.

namespace zel {

inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
inline constexpr const char* SInvalidCast = "Invalid class typecast: %s is not a %s";
inline constexpr const char* SClassNotFound = "Class %s not found";
inline constexpr const char* SNoFactory = "Class %s cannot be created through a class reference";
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SListCountError = "List count out of bounds (%d)";
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";
inline constexpr const char* SSortedListError = "Operation not allowed on sorted list";
inline constexpr const char* SDuplicateName = "A component named %s already exists";
inline constexpr const char* SInvalidName = "'%s' is not a valid component name";
inline constexpr const char* SOwnerCycle =
    "A component cannot be owned by itself or by a component it owns";
inline constexpr const char* SControlParentCycle =
    "Control %s cannot be put inside %s, which is the control itself or lies inside it";
inline constexpr const char* SInvalidFormat = "Format '%s' invalid or incompatible with argument";
inline constexpr const char* SInvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SSeekNotImplemented = "Stream does not support seeking";
inline constexpr const char* SMemoryStreamError = "Out of memory while expanding memory stream";
inline constexpr const char* SFCreateError = "Cannot create file \"%s\". %s";
inline constexpr const char* SFOpenError = "Cannot open file \"%s\". %s";
inline constexpr const char* SOSError = "System error. Code: %d. %s";
inline constexpr const char* SUnknownOSError = "A call to an operating-system function failed";
inline constexpr const char* SOperationAborted = "Operation aborted";
inline constexpr const char* SUnknownProperty = "Property %s does not exist";
inline constexpr const char* SReadOnlyProperty = "Property %s is read-only";
inline constexpr const char* SInvalidPropertyValue = "Invalid property value for %s";
inline constexpr const char* SInvalidPropertyType = "Property %s is of an unexpected type";
inline constexpr const char* SCollectionItemClass = "Item class %s does not descend from %s";
inline constexpr const char* SInvalidStreamFormat = "Invalid stream format";
inline constexpr const char* SInvalidPropValue = "Invalid property value of %s";
inline constexpr const char* SInvalidBinaryValue = "Invalid binary value";
inline constexpr const char* SPropertyNotFound = "Error reading %s: property %s does not exist";
inline constexpr const char* SWrongRootClass = "The stream holds a %s, not a %s";

} // namespace zel
