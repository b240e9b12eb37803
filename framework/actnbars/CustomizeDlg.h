#pragma once
// The customize dialog of an action manager's bars, with three tabs:
//   "Панели"    the bars with check boxes that show or hide them, and a
//               reset of the chosen bar to its default items (those the
//               program defined, see TCustomActionManager::SaveDefaults);
//   "Команды"   the commands by category, which are dragged onto a bar to
//               add them there (DesignDrag.h);
//   "Параметры" recently used commands first (unused items hidden) and a
//               reset of the usage data.
// While it is open every bar is in design mode, so its items can be dragged
// within and between bars and off them.  Closing it ends design mode and
// raises OnClose.  The window stays on top unless StayOnTop is switched off.
#include <memory>
#include <string>
#include <vector>

#include "framework/actnbars/ActnCtrls.h"
#include "framework/forms/Form.h"

namespace zel {

class TCustomizeActionBars;
class TListBox;
class TPageControl;
class TPushButton;
class TTabSheet;

// The options tab's list: rows with a check box and a caption, rows that
// look like a button and run a command, or a heading.
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
  // The part of a row that takes clicks: the box with its caption, or the
  // button; empty for a heading.
  sys::RECT RowHitRect(int row);

  // The row the keyboard is on (Up and Down move it, Space acts), or -1.
  int FocusRow() const { return FFocusRow; }

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(sys::WORD& key, TShiftState shift) override;
  bool WantsKey(sys::WORD key, TShiftState shift) override;
  void WndProc(TMessage& message) override;

private:
  // The next row from `from` that is not a heading, or from when none is.
  int NextRow(int from, int direction) const;
  std::vector<TRow> FRows;
  int FPressedRow = -1;
  int FFocusRow = -1;
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
  // Whether the window stays above the others (true by default).
  bool StayOnTop() const { return FStayOnTop; }
  void SetStayOnTop(bool value);
  TForm* Form() const { return FForm; }
  // The options tab's list.
  TCustomizeList* List() const { return FList; }
  // The parts of the window, nil until it is first shown.
  TPageControl* Pages() const { return FPages; }
  TTabSheet* BarsSheet() const { return FBarsSheet; }
  TTabSheet* CommandsSheet() const { return FCommandsSheet; }
  TTabSheet* OptionsSheet() const { return FOptionsSheet; }
  TListBox* BarList() const { return FBarList; }
  TListBox* CategoryList() const { return FCategoryList; }
  TListBox* CommandList() const { return FCommandList; }
  TPushButton* ResetBarButton() const { return FResetBarButton; }
  TPushButton* CloseButton() const { return FCloseButton; }
  // The bar a line of the bars tab stands for.
  TCustomActionBar* BarOfLine(int index) const;
  // Puts the bar of the chosen line of the bars tab back to its default
  // items; false when there is nothing to go back to.
  bool ResetBar(int line);
  TNotifyEvent OnClose;
  void Notification(TComponent* component, TOperation operation) override;

private:
  void CreateForm();
  void CreateBarsTab();
  void CreateCommandsTab();
  void CreateOptionsTab();
  void Build();
  void BuildBars();
  void BuildCategories();
  void BuildCommands();
  void BuildOptions();
  void SaveBarItems();
  void SetDesignMode(bool value);
  void DrawCommand(int index, const sys::RECT& rect, bool selected);
  void FormKeyDown(sys::WORD& key, TShiftState shift);

  TCustomActionManager* FActionManager = nullptr;
  bool FStayOnTop = true;
  TForm* FForm = nullptr;
  TPageControl* FPages = nullptr;
  TTabSheet *FBarsSheet = nullptr, *FCommandsSheet = nullptr, *FOptionsSheet = nullptr;
  TListBox *FBarList = nullptr, *FCategoryList = nullptr, *FCommandList = nullptr;
  TPushButton *FResetBarButton = nullptr, *FCloseButton = nullptr;
  TCustomizeList* FList = nullptr;
  // The bars the bars tab lists, line by line (followed by free notification).
  std::vector<TCustomActionBar*> FBars;
};

// Lets TCustomizeActionBars make and open this dialog (called once at
// start-up, before the actions are made).
void InstallCustomizeDialog();

} // namespace zel
