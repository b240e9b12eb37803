// The description of the main window: its settings, its components and
// their settings, the actions and the design-time items of both bars, as the
// window is read when it is made.  The components are read in the loading
// state, so the image list builds itself once the whole window is in place.

#include "actionbars/ZelStyleActnCtrls.h"
#include "docking/FrameSite.h"
#include "framework/actions/ActnList.h"
#include "framework/actions/StdActns.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/graphics/Bitmap.h"
#include "framework/stdctrls/Splitter.h"
#include "imagelist/ImageListZel.h"
#include "shell/UnitMain.h"

namespace zel {

namespace {

using namespace std::placeholders;

constexpr TColor kBarHighlight = 14410210; // 0xDBE1E2

void DescribeForm(TMainForm& form) {
  form.SetName("MainForm");
  form.SetCaption("MainForm");
  form.SetFormStyle(fsMDIForm);
  form.SetPosition(poDefault);
  form.SetColor(clBtnFace);
  form.Font()->SetName("Tahoma");
  form.Font()->SetHeight(-11);
  form.SetOldCreateOrder(true);
  form.SetClientSize(606, 383);
}

template <class T> T* Make(TMainForm& form, const char* name) {
  auto* c = new T(&form);
  c->SetName(name);
  // Read in the loading state like every component of a description.
  c->BeginLoading();
  return c;
}

void DescribeImageList(TMainForm& f) {
  f.ImageListZel1 = Make<TImageListZel>(f, "ImageListZel1");
  TImageListZel& list = *f.ImageListZel1;
  list.SetSize(24, 24);
  TResourceName* strip = list.ResourceNames()->Add();
  strip->SetName("STANDARTBTN");
  strip->SetGliphCount(36);
  // The window's own glyphs: the four window commands, the window menu and
  // the customize command (images 36 to 41).
  TBitmap custom;
  custom.LoadFromResourceName(nullptr, "MAINFORM_CUSTOM_24");
  list.CustomImg()->SetSize(24, 24);
  list.CustomImg()->AddMasked(&custom, TColor(0xFF00FF));
  list.onChange = std::bind(&TMainForm::ImageListZel1Change, &f, _1);
}

// An action of ActionManager1 with its category, caption and image.
template <class T>
T* Action(TMainForm& f, const char* name, const char* category, const char* caption, int image) {
  T* a = Make<T>(f, name);
  a->SetActionList(f.ActionManager1);
  a->SetCategory(category);
  a->SetCaption(caption);
  a->SetImageIndex(image);
  return a;
}

void DescribeActions(TMainForm& f) {
  f.ActionManager1 = Make<TActionManager>(f, "ActionManager1");
  f.ActionManager1->SetImages(f.ImageListZel1);
  f.ActionManager1->OnUpdate = std::bind(&TMainForm::ActionManager1Update, &f, _1, _2);
  f.ActionManager1->SetStyleName("Zel Style");

  f.FileExit1 = Action<TFileExit>(f, "FileExit1", "File", "Выход", 0);
  f.FileExit1->SetShortCut(32856); // Alt+X
  f.FileExit1->SetHint("Выход|Завершить работу приложения");
  f.ActFile = Action<TAction>(f, "ActFile", "File", "Файлы", -1);
  f.ActFile->OnExecute = std::bind(&TMainForm::ActFileExecute, &f, _1);
  f.actNewForm = Action<TAction>(f, "actNewForm", "", "Новая форма", 12);
  f.actNewForm->OnExecute = std::bind(&TMainForm::actNewFormExecute, &f, _1);
  f.actWindows = Action<TAction>(f, "actWindows", "Window", "Окно", 40);
  f.actWindows->OnExecute = std::bind(&TMainForm::actWindowsExecute, &f, _1);

  f.WindowMinimizeAll1 =
      Action<TWindowMinimizeAll>(f, "WindowMinimizeAll1", "Window", "Скрыть все", 39);
  f.WindowMinimizeAll1->SetHint("Минимизировать все дочерние окна");
  f.WindowCascade1 = Action<TWindowCascade>(f, "WindowCascade1", "Window", "Каскад", 36);
  f.WindowCascade1->SetHint("Расположить окна каскадом");
  f.WindowTileHorizontal1 =
      Action<TWindowTileHorizontal>(f, "WindowTileHorizontal1", "Window", "По горизонтали", 37);
  f.WindowTileHorizontal1->SetHint("Расположить все окна горизонтально");
  f.WindowTileVertical1 =
      Action<TWindowTileVertical>(f, "WindowTileVertical1", "Window", "По вертикали", 38);
  f.WindowTileVertical1->SetHint("Расположить все окна вертикально");
  for (TCustomAction* a : std::initializer_list<TCustomAction*>{
           f.WindowMinimizeAll1, f.WindowCascade1, f.WindowTileHorizontal1, f.WindowTileVertical1})
    a->SetEnabled(false); // as designed: the first update enables them with children

  f.actHelp = Action<TAction>(f, "actHelp", "", "Помощь", 5);
  f.CustomizeActionBars1 = Action<TCustomizeActionBars>(f, "CustomizeActionBars1", "Tools",
                                                        "Дополнительные настройки", 41);
  f.actPanels = Action<TAction>(f, "actPanels", "Window", "Панели инструментов", -1);
}

// The three values both bars' colour maps take from the description.
void DescribeColorMap(TCustomActionBar& bar) {
  TCustomActionBarColorMap* map = bar.ColorMap();
  map->SetHighlightColor(kBarHighlight);
  map->SetBtnSelectedColor(clBtnFace);
  map->SetUnusedColor(kBarHighlight);
}

void DescribeControlBar(TMainForm& f) {
  f.ControlBar1 = Make<TControlBar>(f, "ControlBar1");
  TControlBar& bar = *f.ControlBar1;
  bar.SetAlign(alTop);
  bar.SetAutoSize(true);
  bar.SetBevelKind(bkNone);
  bar.SetColor(clBtnFace);
  bar.SetDrawingStyle(dsGradient);
  bar.SetRowSize(38);
  bar.OnBandInfo = std::bind(&TMainForm::ControlBar1BandInfo, &f, _1, _2, _3, _4, _5);
  bar.OnDockOver = std::bind(&TMainForm::ControlBar1DockOver, &f, _1, _2, _3, _4, _5, _6);
  bar.SetParent(&f);
}

void DescribeMenuBar(TMainForm& f) {
  f.GradientActionMainMenuBar1 = Make<TGradientActionMainMenuBar>(f, "GradientActionMainMenuBar1");
  TGradientActionMainMenuBar& bar = *f.GradientActionMainMenuBar1;
  bar.SetCaption("Главное меню");
  bar.SetUseSystemFont(false);
  bar.Font()->SetName("Tahoma");
  bar.Font()->SetHeight(-16);
  bar.Font()->SetCharset(sys::RUSSIAN_CHARSET);
  bar.SetEdgeInner(esNone);
  bar.SetEdgeOuter(esNone);
  bar.SetSpacing(0);
  bar.SetParent(f.ControlBar1);
  bar.SetActionManager(f.ActionManager1);
  DescribeColorMap(bar);
  bar.onItemClicked = std::bind(&TMainForm::GradientActionMainMenuBar1ItemClicked, &f, _1);
}

void DescribeToolBar(TMainForm& f) {
  f.GradientActionToolBar1 = Make<TGradientActionToolBar>(f, "GradientActionToolBar1");
  TGradientActionToolBar& bar = *f.GradientActionToolBar1;
  bar.SetCaption("Основные кнопки");
  bar.SetEdgeInner(esNone);
  bar.SetSpacing(0);
  bar.SetParent(f.ControlBar1);
  bar.SetActionManager(f.ActionManager1);
  DescribeColorMap(bar);
  bar.onShowCustomize = std::bind(&TMainForm::GradientActionToolBar1ShowCustomize, &f, _1);
}

TActionClientItem* Item(TActionClients* list, TContainedAction* action, int image) {
  TActionClientItem* item = list->Add();
  item->SetAction(action);
  item->SetImageIndex(image);
  return item;
}

// The design-time items of both bars.
void DescribeBarItems(TMainForm& f) {
  TActionBarItem* menu = f.ActionManager1->FindActionBar(f.GradientActionMainMenuBar1);
  menu->SetAutoSize(false);
  menu->ContextItems()->SetHideUnused(false);
  TActionClientItem* files = Item(menu->Items(), f.ActFile, -1);
  Item(files->Items(), f.actNewForm, 12);
  files->Items()->AddSeparator();
  Item(files->Items(), f.FileExit1, 0)->SetShortCut(32856);
  TActionClientItem* windows = Item(menu->Items(), f.actWindows, 40);
  Item(windows->Items(), f.WindowCascade1, 36);
  Item(windows->Items(), f.WindowTileHorizontal1, 37);
  Item(windows->Items(), f.WindowTileVertical1, 38);
  Item(windows->Items(), f.WindowMinimizeAll1, 39);
  Item(windows->Items(), f.actPanels, -1);
  Item(windows->Items(), f.CustomizeActionBars1, 41);
  windows->Items()->AddSeparator();
  Item(menu->Items(), f.actHelp, 5);

  TActionBarItem* tools = f.ActionManager1->FindActionBar(f.GradientActionToolBar1);
  tools->SetAutoSize(false);
  TActionClientItem* exit = Item(tools->Items(), f.FileExit1, 0);
  exit->SetShortCut(32856);
  exit->SetShowCaption(false);
}

} // namespace

void BuildMainForm(TMainForm& form) {
  DescribeForm(form);
  form.Splitter1 = new TSplitter(&form);
  form.Splitter1->SetName("Splitter1");
  form.Splitter1->SetAlign(alRight);
  form.Splitter1->SetParent(&form);
  // The embedded dock site, at its design size until the window aligns it.
  form.FrameSite1 = new TFrameSite(&form);
  form.FrameSite1->SetName("FrameSite1");
  form.FrameSite1->SetBounds(0, 0, 320, 240);
  form.FrameSite1->SetParent(&form);
  DescribeImageList(form);
  DescribeActions(form);
  DescribeControlBar(form);
  DescribeMenuBar(form);
  DescribeToolBar(form);
  DescribeBarItems(form);
  // The customize action's dialog does not stay on top of the window.
  if (auto* dlg = dynamic_cast<TCustomizeDlg*>(form.CustomizeActionBars1->CustomizeDlg()))
    dlg->SetStayOnTop(false);
  form.EndLoading();
}

} // namespace zel
