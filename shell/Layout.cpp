// The layout file of the main window: six sections one after the other,
// each written and read by the component it belongs to, with no header and
// no lengths; the last one, the action manager's configuration, runs to the
// end of the file.  A load that fails anywhere deletes the file and keeps
// whatever the sections before the failure applied.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <limits>

#include "actionbars/ZelStyleActnCtrls.h"
#include "colormap/UnitFrameColorMap.h"
#include "docking/FloatTree.h"
#include "docking/FrameSite.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/TrackBar.h"
#include "imagelist/ImageListZel.h"
#include "shell/LayoutFile.h"
#include "shell/UnitMain.h"

namespace zel {

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
}

void TMainForm::LoadLayoutSections(TStream& stream) {
  FColorMapFrame->LoadFromStream(stream);
  ApplyLoadedGlyphSize();
  LoadBarSections(stream);
  FloatTree()->LoadFromStream(&stream);
  if (IDockManager* manager = FrameSite1->DockManager()) manager->LoadFromStream(stream);
  TMemoryStream configuration;
  if (stream.Remaining() > 0) configuration.CopyFrom(stream, stream.Remaining());
  configuration.SetPosition(0);
  ActionManager1->LoadFromStream(configuration);
  RepairPrioritySchedule();
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
  WriteFileReplacing(FLayoutFileName, stream);
}

void TMainForm::LoadLayout() {
  // A loaded editor record overrides these.
  FColorMapFrame->cbStart->SetSelected(ControlBar1->GradientStartColor());
  FColorMapFrame->cbEnd->SetSelected(ControlBar1->GradientEndColor());
  std::error_code ec;
  if (!FLayoutFileName.empty() && std::filesystem::exists(FLayoutFileName, ec)) {
    try {
      TMemoryStream stream;
      stream.LoadFromFile(FLayoutFileName);
      LoadLayoutSections(stream);
      // Start-up has finished: every later close keeps the arrangement,
      // whether or not the glyph size changes in this run.
      FStarted = true;
    } catch (const std::exception&) {
      // A file that cannot be read whole is not kept: the next run starts
      // from the defaults, and this run writes no file.
      DeleteFileQuietly(FLayoutFileName);
      FLayoutFileName.clear();
    }
  }
  FColorMapFrame->TrackBar1->SetPosition(ImageListZel1->Width());
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
