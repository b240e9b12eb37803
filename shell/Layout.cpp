// The layout file of the main window: six sections one after the other,
// each written and read by the component it belongs to, with no header and
// no lengths; the last one, the action manager's configuration, runs to the
// end of the file or to the main window's own placement record, which ends
// it when there is one (MainWindowPlacement.h).  A load that fails anywhere
// deletes the file and keeps whatever the sections before the failure
// applied; the run then goes on as any other and writes a whole new file at
// its close.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <limits>
#include <memory>

#include "actionbars/ZelStyleActnCtrls.h"
#include "colormap/UnitFrameColorMap.h"
#include "docking/FloatTree.h"
#include "docking/FrameSite.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/forms/Application.h"
#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/TrackBar.h"
#include "imagelist/ImageListZel.h"
#include "platform/user/User.h"
#include "shell/LayoutFile.h"
#include "shell/MainWindowPlacement.h"
#include "shell/UnitMain.h"

namespace zel {

using namespace sys;

void TMainForm::SaveLayoutSections(TStream& stream) {
  FColorMapFrame->SaveToStream(stream);
  GradientActionMainMenuBar1->SaveToStream(stream);
  GradientActionToolBar1->SaveToStream(stream);
  FloatTree()->SaveToStream(&stream);
  if (IDockManager* manager = FrameSite1->DockManager()) manager->SaveToStream(stream);
  // The configuration is made apart and appended whole, so that its reader
  // later gets a stream that holds exactly it.
  TMemoryStream configuration;
  ActionManager1->SaveToStream(configuration);
  configuration.SetPosition(0);
  stream.WriteBuffer(configuration.Memory(), configuration.Size());
  WriteMainWindowPlacement(stream, MainWindowPlacement());
}

void TMainForm::LoadLayoutSections(TStream& stream) {
  auto loaded = [this](int section) {
    if (OnLayoutSectionLoaded) OnLayoutSectionLoaded(section);
  };
  const TTrailingPlacement placement = FindMainWindowPlacement(stream);
  const int64_t sectionsEnd = stream.Size() - placement.Length;
  FColorMapFrame->LoadFromStream(stream);
  ApplyLoadedGlyphSize();
  loaded(1);
  LoadBarSections(stream);
  loaded(3);
  FloatTree()->LoadFromStream(&stream);
  loaded(4);
  if (IDockManager* manager = FrameSite1->DockManager()) manager->LoadFromStream(stream);
  loaded(5);
  // Sections read past their end ran into the placement record: the bytes
  // before it were not what they claimed to be.
  if (stream.Position() > sectionsEnd) throw EReadError(SReadError);
  TMemoryStream configuration;
  if (stream.Position() < sectionsEnd)
    configuration.CopyFrom(stream, sectionsEnd - stream.Position());
  configuration.SetPosition(0);
  LoadConfiguration(configuration);
  loaded(6);
  if (placement.Placement) ApplyMainWindowPlacement(*placement.Placement);
}

// The bounds the window has when it is neither maximised nor minimised, and
// whether it is (or, minimised, was) maximised.
TMainWindowPlacement TMainForm::MainWindowPlacement() {
  WINDOWPLACEMENT wp;
  RECT r = BoundsRect();
  bool maximized = WindowState() == wsMaximized;
  if (HandleAllocated() && GetWindowPlacement(Handle(), &wp)) {
    r = wp.rcNormalPosition;
    maximized = wp.showCmd == SW_SHOWMAXIMIZED ||
                (wp.showCmd == SW_SHOWMINIMIZED && (wp.flags & WPF_RESTORETOMAXIMIZED));
  }
  return TMainWindowPlacement{r.left, r.top, r.Width(), r.Height(), maximized};
}

// The saved bounds fitted on this screen's work area, maximised again when
// they were; restoring then gives the saved bounds back.
void TMainForm::ApplyMainWindowPlacement(const TMainWindowPlacement& placement) {
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  const SIZE smallest{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  const RECT r = FitMainWindowOnWorkArea(placement, work, smallest);
  if (WindowState() != wsNormal) SetWindowState(wsNormal);
  SetBounds(r.left, r.top, r.Width(), r.Height());
  if (placement.Maximized) SetWindowState(wsMaximized);
}

// The configuration and the repair of its schedule take effect together or
// not at all: a schedule the repair refuses would otherwise stay, be written
// at the close and make the next start refuse the file again.
void TMainForm::LoadConfiguration(TStream& configuration) {
  TMemoryStream previous;
  ActionManager1->SaveToStream(previous);
  ActionManager1->LoadFromStream(configuration);
  try {
    RepairPrioritySchedule();
  } catch (...) {
    previous.SetPosition(0);
    ActionManager1->LoadFromStream(previous);
    throw;
  }
}

// Both bars' records are applied before the control bar lays its bands out,
// once: applied one at a time, a bar that left its row closed that row up,
// and the other bar's saved row then was another one (the bars came back
// swapped, and were saved so).
void TMainForm::LoadBarSections(TStream& stream) {
  ControlBar1->DisableAlign();
  try {
    GradientActionMainMenuBar1->LoadFromStream(stream);
    GradientActionToolBar1->LoadFromStream(stream);
  } catch (...) {
    ControlBar1->EnableAlign();
    throw;
  }
  ControlBar1->EnableAlign();
}

// The editor's glyph size reaches the image list in one bracket; the list is
// rebuilt and the bars follow it even when the size was refused.
void TMainForm::ApplyLoadedGlyphSize() {
  const int size = FColorMapFrame->TrackBar1->Position();
  ImageListZel1->BeginUpdate();
  try {
    ImageListZel1->SetWidth(uint8_t(size));
    ImageListZel1->SetHeight(uint8_t(size));
  } catch (...) {
    ImageListZel1->EndUpdate();
    ImageListZel1->RebuildImages();
    ImageListZel1Change(nullptr);
    throw;
  }
  ImageListZel1->EndUpdate();
  ImageListZel1->RebuildImages();
  ImageListZel1Change(nullptr);
}

void TMainForm::SaveLayout() {
  // The window entries are made again at every start; the saved menu never
  // holds them.
  RemoveFormActions(FindMenuClient(actWindows));
  // A count read from a file may already be the largest there is.
  TActionBars* bars = ActionManager1->ActionBars();
  if (bars->SessionCount() < std::numeric_limits<int>::max())
    bars->SetSessionCount(bars->SessionCount() + 1);
  if (FLayoutFileName.empty()) return;
  TMemoryStream stream;
  SaveLayoutSections(stream);
  // The configuration folder may not be there yet.
  MakeFolderFor(FLayoutFileName);
  WriteFileReplacing(FLayoutFileName, stream);
}

void TMainForm::LoadLayout() {
  // A loaded editor record overrides these.
  FColorMapFrame->cbStart->SetSelected(ControlBar1->GradientStartColor());
  FColorMapFrame->cbEnd->SetSelected(ControlBar1->GradientEndColor());
  if (!FLayoutFileName.empty() && !SetAsideLayoutOfFailedStart() && LoadLayoutFile()) {
    // Start-up has finished, whether the file was read whole or refused:
    // every later close writes the arrangement shown, so that nothing a
    // person does in a run that began with a damaged file is lost.
    FStarted = true;
  }
  FColorMapFrame->TrackBar1->SetPosition(ImageListZel1->Width());
}

// A start that crashed or was killed while it applied the layout left its
// mark: the file it read would most likely end this start the same way.  It
// is moved aside, one line says so, and the window keeps its defaults.
bool TMainForm::SetAsideLayoutOfFailedStart() {
  if (!TLayoutLoadMark::LeftBehind(FLayoutFileName)) return false;
  const std::string bad = SetLayoutFileAside(FLayoutFileName);
  if (!bad.empty()) std::fprintf(stderr, "%s\n", Format(SLayoutSetAside, bad).c_str());
  return true;
}

// Reads and applies the layout file; false when there is no regular file to
// read.  A file that cannot be read whole is deleted: the window keeps what
// the sections before the failure applied.
bool TMainForm::LoadLayoutFile() {
  auto mark = std::make_shared<TLayoutLoadMark>(FLayoutFileName);
  try {
    TMemoryStream stream;
    if (!ReadLayoutFile(FLayoutFileName, stream)) return false;
    mark->Set();
    LoadLayoutSections(stream);
  } catch (const std::exception&) {
    DeleteFileQuietly(FLayoutFileName);
  }
  ClearMarkWhenPainted(std::move(mark));
  return true;
}

// The mark stays until the first idle pass of the message loop, which comes
// only when every window has painted: a start that dies painting what the
// file arranged counts as dying in the load.  A window freed before then
// leaves the mark to the hook, which clears it at the next idle pass or when
// the application goes.
void TMainForm::ClearMarkWhenPainted(std::shared_ptr<TLayoutLoadMark> mark) {
  TApplication* app = Application;
  if (!app) return;
  auto hook = std::make_shared<int>(0);
  *hook = app->AddIdleHook([app, mark, hook] {
    mark->Clear();
    app->RemoveIdleHook(*hook);
  });
}

// A layout that cannot be written must not keep the program from ending:
// the reason goes to standard error and the close goes on.
void TMainForm::SaveLayoutOnClose() {
  try {
    SaveLayout();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", Format(SLayoutNotSaved, e.what()).c_str());
  }
}

} // namespace zel
