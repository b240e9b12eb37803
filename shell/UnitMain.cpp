// The main window's behaviour: construction, the first show, the close, new
// child windows and the bars following the glyph size.

#include "shell/UnitMain.h"

#include <filesystem>
#include <string>

#include "actionbars/ZelStyleActnCtrls.h"
#include "colormap/UnitFrameColorMap.h"
#include "docking/UnitFrameSite.h"
#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/core/StrUtils.h"
#include "framework/docking/DragDock.h"
#include "framework/stdctrls/Label.h"
#include "imagelist/ImageListZel.h"
#include "platform/resource/Resource.h"
#include "shell/LayoutFile.h"

namespace zel {

std::string LayoutFileNameFor(const std::string& executable) {
  std::filesystem::path path(executable);
  path.replace_extension(".sav");
  return path.string();
}

void InitializeUnitMain() {
  DefaultDockFormClass() = &TCustomDockFormZel::StaticClass();
  DefaultDockTreeClass() = [](TWinControl* site) { return std::make_unique<TDockTreeZel>(site); };
}

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
  BuildMainForm(*this);
  // The dock site on the right edge, with the grabbers and self-painted
  // floating forms of dock style 1; it docks what is parented into it when
  // its window is made.
  FrameSite1->SetAlign(alRight);
  FrameSite1->SetDockStyle(1);
  FrameSite1->SetCtl3D(false);
  // The colour-map editor, docked there, working on the window's bars.
  FColorMapFrame = new TFrameColorMap(this);
  FColorMapFrame->SetName("FrameColorMap1");
  FColorMapFrame->SetParent(FrameSite1);
  FColorMapFrame->SetActionManager(ActionManager1);
  // Without a known executable there is no place for the layout: it is
  // then neither read nor written.
  const std::string executable = sys::GetModuleFileName(nullptr);
  if (!executable.empty())
    FLayoutFileName = LayoutFileNameForProgram(std::filesystem::absolute(executable).string());
  DoCreate();
}

void TMainForm::DoShow() {
  TForm::DoShow();
  if (FStarted) return;
  // Until start-up has finished a show is the first one, where the saved
  // layout is brought back.
  LoadLayout();
  // The window menu lists the colour-map editor from the start.
  AddFormAction(FColorMapFrame, FindMenuClient(actWindows));
}

void TMainForm::DoClose(TCloseAction& action) {
  TForm::DoClose(action);
  if (action == caNone || !FStarted) return;
  // Only a window that finished starting has a layout worth keeping.
  SaveLayoutOnClose();
}

// The two top-level menu actions need an execute handler to stay enabled.
void TMainForm::ActFileExecute(TObject*) {}
void TMainForm::actWindowsExecute(TObject*) {}

void TMainForm::GradientActionMainMenuBar1ItemClicked(TCustomActionControl*) {}
void TMainForm::GradientActionToolBar1ShowCustomize(TObject*) {}

void TMainForm::actNewFormExecute(TObject*) {
  auto* child = new TForm(this);
  child->SetFormStyle(fsMDIChild);
  child->SetParent(this);
  child->SetVisible(true);
  child->SetCaption("Форма " + std::to_string(MDIChildCount()));
}

void TMainForm::ImageListZel1Change(TObject* sender) {
  // The list's first own notification (its first build after the window was
  // read) only marks start-up as finished.
  if (!FStarted && sender) {
    FStarted = true;
    return;
  }
  ApplyRowSize();
}

void TMainForm::ApplyRowSize() {
  if (FColorMapFrame) FColorMapFrame->lSize->SetCaption(IntToStr(ImageListZel1->Width()));
  ControlBar1->DisableAlign();
  int row = 0;
  try {
    GradientActionMainMenuBar1->RecreateControls();
    GradientActionToolBar1->RecreateControls();
    row = GradientActionMainMenuBar1->ActionControlCount() > 0
              ? GradientActionMainMenuBar1->ActionControls(0)->Height() + 6
              : ImageListZel1->Height() + 14;
    ControlBar1->SetRowSize(row);
  } catch (...) {
    ControlBar1->EnableAlign();
    throw;
  }
  ControlBar1->EnableAlign();
  GradientActionMainMenuBar1->SetHeight(row - 5);
  GradientActionToolBar1->SetHeight(row - 5);
  GradientActionMainMenuBar1->RecreateControls();
  GradientActionToolBar1->RecreateControls();
  GradientActionToolBar1->Repaint();
  ControlBar1->Realign();
}

void TMainForm::ControlBar1BandInfo(TObject*, TControl* control, sys::RECT& insets,
                                    int& preferredSize, int& rowCount) {
  // The main menu takes a whole row of the control bar.
  if (!Is<TActionMainMenuBar>(control)) return;
  preferredSize = ControlBar1->ClientWidth() - (insets.left + insets.right);
  rowCount = 1;
}

void TMainForm::ControlBar1DockOver(TObject*, TDragDockObject* source, int, int, TDragState,
                                    bool& accept) {
  // Only action bars may be docked into the control bar.
  accept = source && Is<TCustomActionDockBar>(source->Control());
}

} // namespace zel
