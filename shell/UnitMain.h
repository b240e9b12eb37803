#pragma once
// The program's main window: an MDI form with the control bar of the main
// menu bar and the tool bar across its top, the action manager with every
// command, the glyph image list whose size the bars follow, and numbered
// child windows.

#include <functional>
#include <memory>
#include <string>

#include "framework/forms/Form.h"
#include "framework/stdctrls/ControlBar.h"

namespace zel {

class TAction;
class TBasicAction;
class TActionClientItem;
class TActionList;
class TActionManager;
class TCustomActionControl;
class TGradientActionMainMenuBar;
class TGradientActionToolBar;
class TCustomizeActionBars;
class TFileExit;
class TFormAction;
class TFrameColorMap;
class TFrameSite;
class TImageListZel;
class TLayoutLoadMark;
struct TMainWindowPlacement;
class TSplitter;
class TStringList;
class TStream;
class TWindowCascade;
class TWindowMinimizeAll;
class TWindowTileHorizontal;
class TWindowTileVertical;

class TMainForm : public TForm {
  ZEL_CLASS(TMainForm, TForm)
public:
  explicit TMainForm(TComponent* owner);

  // The components of the window's description (MainFormDescription.cpp).
  TSplitter* Splitter1 = nullptr;
  TFrameSite* FrameSite1 = nullptr;
  TControlBar* ControlBar1 = nullptr;
  TGradientActionMainMenuBar* GradientActionMainMenuBar1 = nullptr;
  TGradientActionToolBar* GradientActionToolBar1 = nullptr;
  TActionManager* ActionManager1 = nullptr;
  TImageListZel* ImageListZel1 = nullptr;
  TFileExit* FileExit1 = nullptr;
  TAction* ActFile = nullptr;
  TAction* actNewForm = nullptr;
  TAction* actWindows = nullptr;
  TWindowMinimizeAll* WindowMinimizeAll1 = nullptr;
  TWindowCascade* WindowCascade1 = nullptr;
  TWindowTileHorizontal* WindowTileHorizontal1 = nullptr;
  TWindowTileVertical* WindowTileVertical1 = nullptr;
  TAction* actHelp = nullptr;
  TCustomizeActionBars* CustomizeActionBars1 = nullptr;
  TAction* actPanels = nullptr;

  // Event handlers of the description.
  void ActionManager1Update(TBasicAction* action, bool& handled);
  void ActFileExecute(TObject* sender);
  void actWindowsExecute(TObject* sender);
  void actNewFormExecute(TObject* sender);
  void ImageListZel1Change(TObject* sender);
  void ControlBar1BandInfo(TObject* sender, TControl* control, sys::RECT& insets,
                           int& preferredSize, int& rowCount);
  void ControlBar1DockOver(TObject* sender, TDragDockObject* source, int x, int y, TDragState state,
                           bool& accept);
  void GradientActionMainMenuBar1ItemClicked(TCustomActionControl* sender);
  void GradientActionToolBar1ShowCustomize(TObject* sender);

  // Start-up has finished: from now on a close saves the layout and a show
  // loads nothing.
  bool Started() const { return FStarted; }
  // The colour-map editor docked in FrameSite1.
  TFrameColorMap* ColorMapFrame() const { return FColorMapFrame; }
  // The layout file: the executable's full path with ".sav" as extension,
  // or the same name in the user's configuration folder for an installed
  // program (LayoutFileNameForProgram); empty when neither is known.  A load that refuses the
  // file keeps the name: the run's close writes a fresh file there.
  const std::string& LayoutFileName() const { return FLayoutFileName; }
  // Points the layout elsewhere (empty: none); only before the first show.
  void SetLayoutFileName(const std::string& value) { FLayoutFileName = value; }

  // The layout file (Layout.cpp): written at close, read at the first show.
  void SaveLayout();
  void LoadLayout();
  // The window's normal bounds and maximised state, as the layout keeps them.
  TMainWindowPlacement MainWindowPlacement();
  // Called as the layout file's load goes on, with the number of the section
  // just applied (1, 3 after both bars', 4, 5, 6); tests end a start there
  // as a crash would.
  std::function<void(int section)> OnLayoutSectionLoaded;

  // The window menu (WindowMenu.cpp).  The top-level item of the first
  // main menu bar that shows action, or nil.
  TActionClientItem* FindMenuClient(TBasicAction* action);
  // Deletes the window actions' items from menu and frees the actions;
  // the layout does so before it saves the bars' configuration.
  void RemoveFormActions(TActionClientItem* menu);
  // The window action of control in menu, made and appended when there
  // is none; nil when either is nil.
  TFormAction* AddFormAction(TControl* control, TActionClientItem* menu);
  // Orders priority-schedule entries by their names as text, ignoring case.
  static int CompareScheduleNames(TStringList& list, int index1, int index2);
  // Sorts ActionManager1's priority schedule with CompareScheduleNames and
  // gives each entry its value as its datum; a value that is not a whole
  // number raises EConvertError.  Run right after the configuration is read.
  void RepairPrioritySchedule();

protected:
  void DoShow() override;
  void DoClose(TCloseAction& action) override;

private:
  void ApplyRowSize();
  void FreeUnlistedFormActions();
  void SaveLayoutSections(TStream& stream);
  void LoadLayoutSections(TStream& stream);
  void LoadBarSections(TStream& stream);
  void LoadConfiguration(TStream& configuration);
  void ApplyLoadedGlyphSize();
  void ApplyMainWindowPlacement(const TMainWindowPlacement& placement);
  bool SetAsideLayoutOfFailedStart();
  bool LoadLayoutFile();
  static void ClearMarkWhenPainted(std::shared_ptr<TLayoutLoadMark> mark);
  void SaveLayoutOnClose();

  bool FStarted = false;
  bool FUpdatingWindowMenu = false;
  TActionList* FFormActions = nullptr;
  std::string FLayoutFileName;
  TFrameColorMap* FColorMapFrame = nullptr;
};

// The main window unit's start-up: floating forms of the docking unit paint
// themselves (TCustomDockFormZel) and dock sites get TDockTreeZel.
void InitializeUnitMain();

// Builds the main window from its description (MainFormDescription.cpp).
void BuildMainForm(TMainForm& form);

// The layout file's path for an executable: its extension replaced by
// ".sav" (added when it has none).
std::string LayoutFileNameFor(const std::string& executable);

} // namespace zel
