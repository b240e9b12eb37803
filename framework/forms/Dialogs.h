#pragma once
// Message boxes: a small modal form with the message, an icon letter and one
// button per answer.  Tests (and programs without a person) may install a
// hook that answers instead.

#include <functional>
#include <string>

#include "framework/core/Set.h"
#include "framework/forms/FormTypes.h"

namespace zel {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// Shows the message and returns the modal result of the button chosen.
int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext = 0);
void ShowMessage(const std::string& msg);

// With a hook installed, MessageDlg calls it instead of showing a form and
// returns what it returns.  An empty hook restores the form.
using TMessageDlgHook =
    std::function<int(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons)>;
void SetMessageDlgHook(TMessageDlgHook hook);

} // namespace zel
