// Message boxes: a dialog form with the text and a row of buttons.

#include "framework/forms/Dialogs.h"

#include <algorithm>
#include <vector>

#include "framework/controls/CustomControl.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

namespace {

TMessageDlgHook gHook;

struct ButtonInfo {
  TMsgDlgBtn btn;
  const char* caption;
  TModalResult result;
};

constexpr ButtonInfo kButtons[] = {
    {mbYes, "&Yes", mrYes},
    {mbNo, "&No", mrNo},
    {mbOK, "OK", mrOk},
    {mbCancel, "Cancel", mrCancel},
    {mbAbort, "&Abort", mrAbort},
    {mbRetry, "&Retry", mrRetry},
    {mbIgnore, "&Ignore", mrIgnore},
    {mbAll, "&All", mrAll},
    {mbNoToAll, "N&o to All", mrNoToAll},
    {mbYesToAll, "Yes to &All", mrYesToAll},
    {mbHelp, "&Help", mrNone},
};

const char* TitleOf(TMsgDlgType type) {
  switch (type) {
  case mtWarning:
    return "Warning";
  case mtError:
    return "Error";
  case mtInformation:
    return "Information";
  case mtConfirmation:
    return "Confirm";
  default:
    return Application && !Application->Title().empty() ? Application->Title().c_str() : "Message";
  }
}

// A plain push button: a raised frame with the caption, sunken while held.
class TDialogButton : public TCustomControl {
  ZEL_CLASS(TDialogButton, TCustomControl)
public:
  TDialogButton(TComponent* owner, TModalResult result) : TCustomControl(owner), FResult(result) {
    SetTabStop(true);
  }
  void Click() override {
    TCustomControl::Click();
    if (auto* form = GetParentForm(this)) form->SetModalResult(FResult);
  }

protected:
  void Paint() override {
    RECT r = ClientRect();
    const bool down = ControlState().Contains(csLButtonDown);
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(r);
    Canvas()->Pen()->SetColor(down ? clBtnShadow : clBtnHighlight);
    Canvas()->MoveTo(r.left, r.bottom - 1);
    Canvas()->LineTo(r.left, r.top);
    Canvas()->LineTo(r.right - 1, r.top);
    Canvas()->Pen()->SetColor(down ? clBtnHighlight : cl3DDkShadow);
    Canvas()->LineTo(r.right - 1, r.bottom - 1);
    Canvas()->LineTo(r.left, r.bottom - 1);
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->TextRect(r, Text(), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) {
      InflateRect(r, -4, -4);
      Canvas()->DrawFocusRect(r);
    }
  }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    Invalidate();
    TCustomControl::MouseDown(b, s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    Invalidate();
    TCustomControl::MouseUp(b, s, x, y);
  }
  void KeyDown(WORD& key, TShiftState shift) override {
    if (key == VK_RETURN || key == VK_SPACE) {
      key = 0;
      Click();
      return;
    }
    TCustomControl::KeyDown(key, shift);
  }

private:
  TModalResult FResult;
};

// The message form: the text on the left above the buttons.  Escape
// answers Cancel (or the only button), Enter the focused button.
class TMessageForm : public TForm {
  ZEL_CLASS(TMessageForm, TForm)
public:
  TMessageForm(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons)
      : TForm(nullptr), FMessage(msg) {
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetCaption(TitleOf(type));
    SetKeyPreview(true);
    Build(buttons);
  }

protected:
  void Paint() override {
    Canvas()->Brush()->SetStyle(bsClear);
    RECT r = FTextRect;
    Canvas()->TextRect(r, FMessage, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  }
  void KeyDown(WORD& key, TShiftState shift) override {
    if (key == VK_ESCAPE) {
      key = 0;
      SetModalResult(FCancelResult);
      return;
    }
    TForm::KeyDown(key, shift);
  }

private:
  void Build(TMsgDlgButtons buttons) {
    HDC dc = GetDC(nullptr);
    TCanvas measure;
    measure.SetHandle(dc);
    measure.Font()->Assign(Font());
    RECT text{0, 0, 360, 0};
    measure.TextRect(text, FMessage, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    measure.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    std::vector<const ButtonInfo*> list;
    for (const auto& b : kButtons)
      if (buttons.Contains(b.btn)) list.push_back(&b);
    if (list.empty()) list.push_back(&kButtons[2]);
    const int bw = 75, bh = 25, gap = 8, margin = 12;
    const int rowW = int(list.size()) * bw + (int(list.size()) - 1) * gap;
    const int cw = std::max(text.Width(), rowW) + 2 * margin;
    const int ch = margin + text.Height() + margin + bh + margin;
    SetClientSize(cw, ch);
    FTextRect = RECT{margin, margin, margin + text.Width(), margin + text.Height()};
    int x = (cw - rowW) / 2;
    FCancelResult = list.size() == 1 ? list[0]->result : mrCancel;
    for (const ButtonInfo* b : list) {
      auto* button = new TDialogButton(this, b->result);
      button->SetCaption(b->caption);
      button->SetBounds(x, ch - margin - bh, bw, bh);
      button->SetParent(this);
      if (!ActiveControl()) SetActiveControl(button);
      x += bw + gap;
    }
  }

  std::string FMessage;
  RECT FTextRect{};
  TModalResult FCancelResult = mrCancel;
};

} // namespace

void SetMessageDlgHook(TMessageDlgHook hook) {
  gHook = std::move(hook);
}

int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  if (gHook) return gHook(msg, type, buttons);
  TMessageForm form(msg, type, buttons);
  return form.ShowModal();
}

void ShowMessage(const std::string& msg) {
  MessageDlg(msg, mtCustom, {mbOK});
}

} // namespace zel
