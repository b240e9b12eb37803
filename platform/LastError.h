#pragma once
// The calling thread's last-error code, as the platform keeps it: a failing
// call stores a code that the caller reads with GetLastError.  A call that
// succeeds leaves the code alone unless it says otherwise.

#include <string>

#include "platform/Types.h"

namespace zel::sys {

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_BAD_FORMAT = 11;
constexpr DWORD ERROR_INVALID_DATA = 13;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr DWORD ERROR_RESOURCE_ENUM_USER_STOP = 15106;

DWORD GetLastError();
// Also forgets the detail text of the previous failure.
void SetLastError(DWORD code);

// Stores a code together with a sentence that says exactly what went wrong
// (for example which field of a damaged file was wrong), for messages shown
// to a person.
void SetLastErrorDetail(DWORD code, std::string detail);
// The detail of the last failure, or the general text of the last code when
// the failure stored no detail.
std::string GetLastErrorText();

// The general text of a code, in English ("The system cannot find the file
// specified."); an unknown code reads "Error <n>.".
std::string FormatSystemMessage(DWORD code);

} // namespace zel::sys
