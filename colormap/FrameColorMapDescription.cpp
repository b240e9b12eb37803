// The description of the colour-map editor: the frame's settings, its
// components with their design positions (the frame's Resize rules adjust
// them), the actions, the frame's own glyphs and the three colour maps with
// their design values.  The components are read in the loading state, as a
// description is read, so the speed buttons take their actions without
// giving up their own glyphs.

#include <functional>

#include "colormap/UnitFrameColorMap.h"
#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/graphics/Bitmap.h"
#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/Panel.h"
#include "framework/stdctrls/TrackBar.h"
#include "imagelist/ImageListZel.h"
#include "speedbutton/SpeedButtonZel.h"

namespace zel {

namespace {

using namespace std::placeholders;

// The glyphs of the frame's own list, in the roles its buttons give them.
constexpr int kRadioOn = 0, kRadioOff = 1, kCheckOn = 2, kCheckOff = 3, kStyleGlyph = 4,
              kDefaultGlyph = 5;
constexpr int kButtonHeight = 22;

template <class T> T* Make(TFrameColorMap& frame, const char* name) {
  auto* c = new T(&frame);
  c->SetName(name);
  c->BeginLoading();
  return c;
}

template <class T>
T* Put(TFrameColorMap& frame, const char* name, TWinControl* parent, int left, int top, int width,
       int height) {
  T* c = Make<T>(frame, name);
  c->SetBounds(left, top, width, height);
  c->SetParent(parent);
  return c;
}

TAction* Action(TFrameColorMap& f, const char* name, const char* caption, bool autoCheck, int group,
                bool checked, void (TFrameColorMap::*handler)(TObject*)) {
  auto* a = Make<TAction>(f, name);
  a->SetActionList(f.ActionList1);
  a->SetCaption(caption);
  a->SetHint(caption);
  a->SetAutoCheck(autoCheck);
  a->SetGroupIndex(group);
  a->SetChecked(checked);
  a->OnExecute = std::bind(handler, &f, _1);
  return a;
}

void DescribeActions(TFrameColorMap& f) {
  f.ActionList1 = Make<TActionList>(f, "ActionList1");
  f.ActionList1->SetImages(f.ImageListZel1);
  auto map = &TFrameColorMap::actColorMapExecute;
  f.actXPColorMap = Action(f, "actXPColorMap", "Цветовая схема XP", true, 1, false, map);
  f.actStandartColorMap =
      Action(f, "actStandartColorMap", "Стандартная цветовая схема", true, 1, false, map);
  f.actTwilightColorMap =
      Action(f, "actTwilightColorMap", "Чернобелая цветовая схема", true, 1, false, map);
  f.actGradient = Action(f, "actGradient", "Градиентная заливка", true, 0, true,
                         &TFrameColorMap::actGradientExecute);
  f.actVert =
      Action(f, "actVert", "Вертикальная", true, 2, true, &TFrameColorMap::actVertHorExecute);
  f.actHor =
      Action(f, "actHor", "Горизонтальная", true, 2, false, &TFrameColorMap::actVertHorExecute);
  f.actDefaultColor = Action(f, "actDefaultColor", "actDefaultColor", false, 0, false,
                             &TFrameColorMap::actDefaultColorExecute);
  f.actDefaultColor->SetHint("По умолчанию");
  f.actDefaultColor->SetImageIndex(kDefaultGlyph);
  f.actHideUnused = Action(f, "actHideUnused", "Скрывать неиспользуемые", false, 0, false,
                           &TFrameColorMap::actHideUnusedExecute);
  f.actHideUnused->SetHint(
      "Скрывать неиспользуемые пункты меню|Пункты меню, которыми давно не пользовались будут "
      "скрыты");
  // The customize dialog switches the same setting: the button follows it.
  f.actHideUnused->OnUpdate = [&f](TObject*) { f.actHideUnused->SetChecked(f.BarsHideUnused()); };
}

void DescribeImages(TFrameColorMap& f) {
  f.ImageListZel1 = Make<TImageListZel>(f, "ImageListZel1");
  f.ImageListZel1->SetSize(16, 16);
  TBitmap glyphs;
  glyphs.LoadFromResourceName(nullptr, "COLORMAP_GLYPHS_16");
  f.ImageListZel1->CustomImg()->SetSize(16, 16);
  f.ImageListZel1->CustomImg()->AddMasked(&glyphs, TColor(0xFF00FF));
}

// A speed button of the frame: XP border, the frame's glyphs, its action,
// a fixed width, and the glyph it shows when hot (and, checked, checkedHot),
// which stands for the other states of its kind too.  Under the mouse an
// unchecked button's glyph is raised with a shadow; a checked one shows its
// own hot-checked glyph, flat, as it looks when not hot.
TSpeedButtonZel* Button(TFrameColorMap& f, const char* name, TWinControl* parent, int left, int top,
                        int width, TAction* action, int hot, int checkedHot) {
  auto* b = Put<TSpeedButtonZel>(f, name, parent, left, top, width, kButtonHeight);
  b->Constraints()->SetMinWidth(width);
  b->Constraints()->SetMaxWidth(width);
  b->SetBorder(ZelXPBorder);
  b->SetSpacing(2);
  b->SetBtnFrameColor(clBtnFace);
  b->SetSelectedColor(clBtnFace);
  b->SetImageList(f.ImageListZel1);
  b->Gliphs()->SetImageIndexNormalHot(hot);
  b->Gliphs()->SetImageIndexCheckHot(checkedHot);
  if (action) b->SetAction(action);
  return b;
}

TColorBox* ColorBox(TFrameColorMap& f, const char* name, int top) {
  auto* box = Put<TColorBox>(f, name, f.GroupBox1, 96, top, 81, 22);
  box->SetStyle(TColorBoxStyle{cbStandardColors, cbExtendedColors, cbSystemColors, cbIncludeNone,
                               cbIncludeDefault, cbCustomColor, cbPrettyNames, cbCustomColors});
  box->OnChange = std::bind(&TFrameColorMap::actVertHorExecute, &f, _1);
  return box;
}

TLabel* Label(TFrameColorMap& f, const char* name, TWinControl* parent, int left, int top,
              const char* caption) {
  auto* l = Put<TLabel>(f, name, parent, left, top, 0, 0);
  l->SetCaption(caption);
  return l;
}

void DescribeControls(TFrameColorMap& f) {
  f.lCapSize = Label(f, "lCapSize", &f, 0, 6, "  Размер картинок:");
  f.lSize = Label(f, "lSize", &f, 112, 6, "000");
  f.TrackBar1 = Put<TTrackBar>(f, "TrackBar1", &f, 4, 22, 185, 32);
  f.TrackBar1->SetParams(24, 10, 32);
  f.TrackBar1->SetTickMarks(tmTopLeft);
  f.TrackBar1->SetThumbLength(14);
  f.TrackBar1->OnChange = std::bind(&TFrameColorMap::TrackBar1Change, &f, _1);

  f.sbHideUnused = Button(f, "sbHideUnused", &f, 4, 58, 180, f.actHideUnused, kCheckOff, kCheckOn);
  f.sbStyle = Button(f, "sbStyle", &f, 4, 82, 130, nullptr, kStyleGlyph, -1);
  f.sbStyle->SetCaption("Стиль:");
  f.sbStyle->OnClick = std::bind(&TFrameColorMap::sbStyleClick, &f, _1);
  f.SpeedButtonZel1 =
      Button(f, "SpeedButtonZel1", &f, 4, 108, 180, f.actStandartColorMap, kRadioOff, kRadioOn);
  f.SpeedButtonZel2 =
      Button(f, "SpeedButtonZel2", &f, 4, 130, 127, f.actXPColorMap, kRadioOff, kRadioOn);
  f.SpeedButtonZel3 =
      Button(f, "SpeedButtonZel3", &f, 4, 152, 170, f.actTwilightColorMap, kRadioOff, kRadioOn);

  f.GroupBox1 = Put<TGroupBox>(f, "GroupBox1", &f, 4, 178, 185, 134);
  // The frame's own speed buttons are one keyboard stop after the track bar,
  // the gradient's buttons another, in their box (TWinControl::KeyboardGroup).
  f.SetGroupTabPosition(1);
  f.GroupBox1->SetTabStop(true);
  f.SpeedButtonZel4 =
      Button(f, "SpeedButtonZel4", f.GroupBox1, 6, 14, 150, f.actGradient, kCheckOff, kCheckOn);
  f.SpeedButtonZel5 =
      Button(f, "SpeedButtonZel5", f.GroupBox1, 22, 36, 118, f.actVert, kRadioOff, kRadioOn);
  f.SpeedButtonZel6 =
      Button(f, "SpeedButtonZel6", f.GroupBox1, 22, 58, 120, f.actHor, kRadioOff, kRadioOn);
  f.lStartColor = Label(f, "lStartColor", f.GroupBox1, 8, 82, "Начальный цвет");
  f.lEndColor = Label(f, "lEndColor", f.GroupBox1, 8, 105, "Конечный цвет");
  f.cbStart = ColorBox(f, "cbStart", 78);
  f.cbEnd = ColorBox(f, "cbEnd", 101);
}

void DescribeGrid(TFrameColorMap& f) {
  using Grid = UnitFrameColorMap::TValueListEditor;
  Grid* g = Put<Grid>(f, "ValueListEditor1", &f, 4, 234, 181, 100);
  // The value column keeps its width: the key column may be sized by hand.
  g->SetDisplayOptions(TDisplayOptions{doColumnTitles, doKeyColFixed});
  g->SetDefaultColWidth(70);
  g->SetColWidths(0, 84);
  g->SetColWidths(1, 93);
  g->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                             goDrawFocusSelected, goColSizing, goThumbTracking});
  g->TitleCaptions()->Clear();
  g->TitleCaptions()->Add("Элемент");
  g->TitleCaptions()->Add("Цвет");
  g->Strings()->Add("=");
  g->SetVisible(false);
  g->OnDrawCell = std::bind(&TFrameColorMap::ValueListEditor1DrawCell, &f, _1, _2, _3, _4, _5);
  g->OnSelectCell = std::bind(&TFrameColorMap::ValueListEditor1SelectCell, &f, _1, _2, _3, _4);
  g->OnTopLeftChanged = std::bind(&TFrameColorMap::ValueListEditor1TopLeftChanged, &f, _1);
  g->OnExit = std::bind(&TFrameColorMap::ValueListEditor1Exit, &f, _1);
  f.ValueListEditor1 = g;

  f.SpeedButtonZel8 =
      Button(f, "SpeedButtonZel8", &f, 167, 234, 18, f.actDefaultColor, kDefaultGlyph, -1);
  f.SpeedButtonZel8->SetHeight(18);
  // An 18-pixel button has room for its glyph only: the action's caption
  // would push the glyph off the middle.
  f.SpeedButtonZel8->SetCaption("");
  // With its glyph alone, the button names what it does in its tool tip.
  f.SpeedButtonZel8->SetShowHint(true);
  f.SpeedButtonZel8->SetTransparent(true);
  f.SpeedButtonZel8->SetBtnFrameColor(clNone);
}

void DescribeColorMaps(TFrameColorMap& f) {
  auto change = std::bind(&TFrameColorMap::ChangeColorMap, &f, _1);
  f.StandardColorMap1 = Make<TStandardColorMap>(f, "StandardColorMap1");
  f.StandardColorMap1->SetHighlightColor(clBtnHighlight);
  f.StandardColorMap1->SetUnusedColor(13882323); // 0xD3D3D3
  f.StandardColorMap1->SetSelectedColor(clHighlight);
  f.StandardColorMap1->OnColorChange = change;
  f.XPColorMap1 = Make<TXPColorMap>(f, "XPColorMap1");
  f.XPColorMap1->SetHighlightColor(13684944); // 0xD0D0D0
  f.XPColorMap1->SetBtnSelectedColor(clBtnFace);
  f.XPColorMap1->SetUnusedColor(13684944);
  f.XPColorMap1->OnColorChange = change;
  f.TwilightColorMap1 = Make<TTwilightColorMap>(f, "TwilightColorMap1");
  f.TwilightColorMap1->SetHighlightColor(clBlack);
  f.TwilightColorMap1->SetBtnFrameColor(clBlack);
  f.TwilightColorMap1->SetDisabledColor(cl3DDkShadow);
  f.TwilightColorMap1->OnColorChange = change;
}

} // namespace

void BuildFrameColorMap(TFrameColorMap& f) {
  f.BeginLoading();
  f.SetBounds(f.Left(), f.Top(), 193, 449);
  f.SetColor(clBtnFace);
  f.SetDragKind(dkDock);
  f.SetDragMode(dmAutomatic);
  DescribeImages(f);
  DescribeActions(f);
  DescribeControls(f);
  DescribeGrid(f);
  DescribeColorMaps(f);
  f.EndLoading();
  // The glyphs are wanted at once, not 40 ms after the frame was read.
  f.ImageListZel1->RebuildImages();
}

} // namespace zel
