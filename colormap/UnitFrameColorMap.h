#pragma once
// The colour-map editor: TFrameColorMap, a dockable panel that styles the
// action bars of one action manager while the program runs.  It sets the
// glyph size of the manager's image list, whether menus hide unused items,
// the manager's action-bar style, which of three colour maps the bars use,
// the control bar's gradient, and, in the grid of ColorPropertyGrid.cpp,
// every colour of the chosen map.
//
// The frame's components come from its description (FrameColorMapDescription
// .cpp); its settings travel in the layout file (FrameColorMapLayout.cpp).

#include <memory>
#include <string>

#include "colormap/ColorPropertyGrid.h"
#include "framework/actnbars/ActnStyles.h"
#include "framework/forms/Frame.h"

namespace zel {

class TAction;
class TActionClient;
class TActionList;
class TColorBox;
class TCustomActionBar;
class TCustomActionBarColorMap;
class TCustomActionManager;
class TCustomControlBar;
class TGroupBox;
class TImageListZel;
class TLabel;
class TPopupActionBar;
class TSpeedButtonZel;
class TStandardColorMap;
class TStream;
class TStringList;
class TTrackBar;
class TTwilightColorMap;
class TXPColorMap;

class TFrameColorMap : public TFrame {
  ZEL_CREATABLE_CLASS(TFrameColorMap, TFrame)
public:
  explicit TFrameColorMap(TComponent* owner);
  ~TFrameColorMap() override;

  // ---- The components of the description ---------------------------------------
  TLabel* lCapSize = nullptr;
  TLabel* lSize = nullptr;
  TTrackBar* TrackBar1 = nullptr;
  TSpeedButtonZel* sbHideUnused = nullptr;
  TSpeedButtonZel* sbStyle = nullptr;
  TSpeedButtonZel* SpeedButtonZel1 = nullptr;
  TSpeedButtonZel* SpeedButtonZel2 = nullptr;
  TSpeedButtonZel* SpeedButtonZel3 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TSpeedButtonZel* SpeedButtonZel4 = nullptr;
  TSpeedButtonZel* SpeedButtonZel5 = nullptr;
  TSpeedButtonZel* SpeedButtonZel6 = nullptr;
  TLabel* lStartColor = nullptr;
  TLabel* lEndColor = nullptr;
  TColorBox* cbStart = nullptr;
  TColorBox* cbEnd = nullptr;
  UnitFrameColorMap::TValueListEditor* ValueListEditor1 = nullptr;
  TSpeedButtonZel* SpeedButtonZel8 = nullptr;
  TImageListZel* ImageListZel1 = nullptr;
  TActionList* ActionList1 = nullptr;
  TAction* actXPColorMap = nullptr;
  TAction* actStandartColorMap = nullptr;
  TAction* actTwilightColorMap = nullptr;
  TAction* actGradient = nullptr;
  TAction* actVert = nullptr;
  TAction* actHor = nullptr;
  TAction* actDefaultColor = nullptr;
  TAction* actHideUnused = nullptr;
  TStandardColorMap* StandardColorMap1 = nullptr;
  TXPColorMap* XPColorMap1 = nullptr;
  TTwilightColorMap* TwilightColorMap1 = nullptr;

  // ---- The manager being edited ----------------------------------------------------
  TCustomActionManager* ActionManager() const { return FActionManager; }
  void SetActionManager(TCustomActionManager* manager);
  // The map of the checked colour-map action (XP, then standard, then
  // twilight), or nil when none is checked.
  TCustomActionBarColorMap* CurrentColorMap() const;

  // ---- Handlers of the description ---------------------------------------------------
  void actColorMapExecute(TObject* sender);
  void actDefaultColorExecute(TObject* sender);
  void actGradientExecute(TObject* sender);
  void actVertHorExecute(TObject* sender);
  void actHideUnusedExecute(TObject* sender);
  void ChangeColorMap(TObject* sender);
  void sbStyleClick(TObject* sender);
  void TrackBar1Change(TObject* sender);

  // ---- Bringing the frame and the bars together ---------------------------------------
  // Shows the controls that fit the manager and reads the bars' state back.
  // Does nothing while the frame is updating or being destroyed.
  void RefreshFrame();
  void EnableGradientControls(bool checked, bool enabled);
  // Gives every bar the current map and the manager the chosen style.
  void ApplyColorMapAndStyle();
  // Pushes the current map's Color to the bars and their control bars.
  void ApplyBarColor();
  // Gives the gradient settings to the control bars of the gradient bars.
  void ApplyGradient();
  // Gives every bar's items the hide-unused setting.
  void ApplyHideUnused();
  // Whether the bars hide unused items: the one value of the setting, which
  // the customize dialog may change too.  Without a manager, the action's.
  bool BarsHideUnused() const;

  // ---- The style menu --------------------------------------------------------------------
  void StyleMenuClick(TObject* sender);
  void SelectStyle(const std::string& name);
  void StyleMenuControlClass(TCustomActionBar* bar, TActionClient* item,
                             TCustomActionControlClass& cls);
  TPopupActionBar* StyleMenu() const { return FStyleMenu; }
  const std::string& StyleName() const { return FStyleName; }

  // ---- The colour grid (ColorPropertyGrid.cpp) --------------------------------------------
  // Fills list with the name and value of every published TColor property
  // of map (nil: the current map), in declaration order; without a map the
  // list is freed.
  void BuildColorList(std::unique_ptr<TStringList>& list, TCustomActionBarColorMap* map);
  // The colour box's name of c, or c as "$00C66931".
  std::string ColorName(TColor c);
  // Sets the published TColor property called name (ignoring case) of map.
  void SetColorByName(const std::string& name, TColor c, TCustomActionBarColorMap* map);
  void ValueListEditor1DrawCell(TObject* sender, int col, int row, const sys::RECT& rect,
                                TGridDrawState state);
  void ValueListEditor1SelectCell(TObject* sender, int col, int row, bool& canSelect);
  void ValueListEditor1TopLeftChanged(TObject* sender);
  void ValueListEditor1Exit(TObject* sender);
  void ShowColorEditor(int col, int row);
  void SyncColorEditor(int col, int row);
  // The round trip of one edit in the colour box.
  void ApplyColorEdit(TObject* sender);
  void ColorEditorExit(TObject* sender);
  TStringList* ColorList() const { return FColorList.get(); }
  TColorBox* ColorEditor() const { return FColorEditor; }

  // ---- Layout file (FrameColorMapLayout.cpp) -------------------------------------------------
  // Writes the frame's settings; texts longer than their length byte allows
  // are cut at a character boundary.
  void SaveToStream(TStream& stream);
  // Reads what SaveToStream wrote and applies it.  A record of another
  // executable is skipped (the stream set back); damaged data raises
  // EReadError with the stream set back and nothing applied.
  void LoadFromStream(TStream& stream);
  int GlyphSize() const { return FGlyphSize; }

  // ---- Update bracket ----------------------------------------------------------------------
  void BeginUpdate();
  void EndUpdate();
  bool IsUpdating() const { return ComponentState().Contains(csUpdating); }
  // Runs f inside the bracket, closing it even when f fails.
  template <class F> void InUpdate(F&& f) {
    BeginUpdate();
    try {
      f();
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  }

  void Notification(TComponent* component, TOperation operation) override;
  // Dragged out of its site, the editor floats at its saved floating size,
  // or else at the size that shows all of it (see NaturalClientSize), no
  // larger than the screen.
  void DoStartDock(TDragDockObject* dragObject) override;
  // The client size at which every part of the editor shows, its grid with
  // every row, at the width it has now.
  sys::SIZE NaturalClientSize();

protected:
  void Resize() override;

private:
  void BuildStyleMenu();
  void ShowStyle(const std::string& name);
  void PlaceDefaultColorButton();
  void ShowGridWhileFloating();
  void LayOutGroupBox();
  void RebuildRows();
  // The control bar a gradient bar stands on, or nil for any other bar.
  static TCustomControlBar* GradientControlBar(TCustomActionBar* bar);
  template <class F> void ForEachActionBar(F&& f);
  template <class F> void ForEachDescribedField(F&& f);

  std::string FStylePrefix;
  TCustomActionManager* FActionManager = nullptr;
  std::unique_ptr<TStringList> FColorList;
  TColorBox* FColorEditor = nullptr;
  bool FLaidOut = false;
  TPopupActionBar* FStyleMenu = nullptr;
  std::string FStyleName;
  // No map has been pushed yet: a value no colour has, so that the first
  // map always reaches the bars, whatever its Color.
  static constexpr TColor kNoMapColor = TColor(0x7FFFFFFF);
  TColor FLastMapColor = kNoMapColor;
  bool FApplying = false;
  bool FSyncing = false;
  int FGlyphSize = 0;
  int FUpdateCount = 0;
};

// Builds the frame's components from its description.
void BuildFrameColorMap(TFrameColorMap& frame);

} // namespace zel
