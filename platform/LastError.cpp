#include "platform/LastError.h"

#include <utility>

namespace zel::sys {

namespace {
thread_local DWORD tLastError = ERROR_SUCCESS;
thread_local std::string tLastDetail;
} // namespace

DWORD GetLastError() {
  return tLastError;
}

void SetLastError(DWORD code) {
  tLastError = code;
  tLastDetail.clear();
}

void SetLastErrorDetail(DWORD code, std::string detail) {
  tLastError = code;
  tLastDetail = std::move(detail);
}

std::string GetLastErrorText() {
  return tLastDetail.empty() ? FormatSystemMessage(tLastError) : tLastDetail;
}

std::string FormatSystemMessage(DWORD code) {
  switch (code) {
  case ERROR_SUCCESS:
    return "The operation completed successfully.";
  case ERROR_FILE_NOT_FOUND:
    return "The system cannot find the file specified.";
  case ERROR_PATH_NOT_FOUND:
    return "The system cannot find the path specified.";
  case ERROR_ACCESS_DENIED:
    return "Access is denied.";
  case ERROR_INVALID_HANDLE:
    return "The handle is invalid.";
  case ERROR_NOT_ENOUGH_MEMORY:
    return "Not enough memory is available for this command.";
  case ERROR_BAD_FORMAT:
    return "The file is not in a format this program can use.";
  case ERROR_INVALID_DATA:
    return "The data is invalid.";
  case ERROR_INVALID_PARAMETER:
    return "The parameter is incorrect.";
  case ERROR_RESOURCE_DATA_NOT_FOUND:
    return "The specified image file did not contain a resource section.";
  case ERROR_RESOURCE_TYPE_NOT_FOUND:
    return "The specified resource type cannot be found in the image file.";
  case ERROR_RESOURCE_NAME_NOT_FOUND:
    return "The specified resource name cannot be found in the image file.";
  case ERROR_RESOURCE_ENUM_USER_STOP:
    return "User stopped resource enumeration.";
  default:
    return "Error " + std::to_string(code) + ".";
  }
}

} // namespace zel::sys
