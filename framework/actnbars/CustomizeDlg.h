#pragma once
// The customize dialog of an action manager's bars: a window that stays on
// top and lists the bars with check boxes that show or hide them, and the
// options (recently used commands first, reset of the usage data).  While it
// is open every bar is in design mode; closing it ends design mode and
// raises OnClose.
#include <string>
#include <vector>

#include "framework/actnbars/ActnCtrls.h"
#include "framework/forms/Form.h"

namespace zel {

class TCustomizeActionBars;

// The dialog's list: rows with a check box and a caption, or a heading.
class TCustomizeList : public TCustomControl {
  ZEL_CLASS(TCustomizeList, TCustomControl)
public:
  explicit TCustomizeList(TComponent* owner);
  struct TRow {
    std::string Caption;
    bool Heading = false;
    bool CheckBox = true;
    std::function<bool()> Checked; // the current state
    std::function<void()> Toggle;  // what a click does
  };
  std::vector<TRow>& Rows() { return FRows; }
  static constexpr int RowHeight = 22;
  // The row under a client point, or -1.
  int RowAt(int y) const;

protected:
  void Paint() override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  std::vector<TRow> FRows;
};

class TCustomizeDlg : public TComponent {
  ZEL_CREATABLE_CLASS(TCustomizeDlg, TComponent)
public:
  explicit TCustomizeDlg(TComponent* owner);
  ~TCustomizeDlg() override;
  TCustomActionManager* ActionManager() const { return FActionManager; }
  void SetActionManager(TCustomActionManager* value);
  // Shows the dialog (made on first use) and puts the bars in design mode.
  void Show();
  // Closes it: design mode ends and OnClose is raised.
  void Close();
  bool Showing() const;
  TForm* Form() const { return FForm; }
  TCustomizeList* List() const { return FList; }
  TNotifyEvent OnClose;
  void Notification(TComponent* component, TOperation operation) override;

private:
  void Build();
  void SetDesignMode(bool value);
  TCustomActionManager* FActionManager = nullptr;
  TForm* FForm = nullptr;
  TCustomizeList* FList = nullptr;
};

// Lets TCustomizeActionBars open this dialog (called once at start-up).
void InstallCustomizeDialog();

} // namespace zel
