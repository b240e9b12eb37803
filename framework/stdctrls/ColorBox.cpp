// TColorBox: the colour entries, their names and swatches, and the custom
// colour.

#include "framework/stdctrls/ColorBox.h"

#include <algorithm>
#include <iterator>

#include "framework/stdctrls/ColorDialog.h"

namespace zel {

using namespace sys;

namespace {

struct NamedColor {
  TColor color;
  const char* pretty;
};

constexpr NamedColor kStandard[] = {
    {clBlack, "Чёрный"},      {clMaroon, "Бордовый"},   {clGreen, "Зелёный"},
    {clOlive, "Оливковый"},   {clNavy, "Тёмно-синий"},  {clPurple, "Пурпурный"},
    {clTeal, "Сине-зелёный"}, {clGray, "Серый"},        {clSilver, "Серебристый"},
    {clRed, "Красный"},       {clLime, "Ярко-зелёный"}, {clYellow, "Жёлтый"},
    {clBlue, "Синий"},        {clFuchsia, "Фуксия"},    {clAqua, "Бирюзовый"},
    {clWhite, "Белый"},
};

constexpr NamedColor kExtended[] = {
    {clMoneyGreen, "Светло-зелёный"},
    {clSkyBlue, "Небесно-голубой"},
    {clCream, "Кремовый"},
    {clMedGray, "Средне-серый"},
};

constexpr NamedColor kSystem[] = {
    {clActiveBorder, "Рамка активного окна"},
    {clActiveCaption, "Заголовок активного окна"},
    {clAppWorkSpace, "Фон окна MDI"},
    {clBackground, "Рабочий стол"},
    {clBtnFace, "Поверхность кнопки"},
    {clBtnHighlight, "Блик кнопки"},
    {clBtnShadow, "Тень кнопки"},
    {clBtnText, "Текст кнопки"},
    {clCaptionText, "Текст заголовка"},
    {clGradientActiveCaption, "Градиент активного заголовка"},
    {clGradientInactiveCaption, "Градиент неактивного заголовка"},
    {clGrayText, "Недоступный текст"},
    {clHighlight, "Выделение"},
    {clHighlightText, "Текст выделения"},
    {clHotLight, "Гиперссылка"},
    {clInactiveBorder, "Рамка неактивного окна"},
    {clInactiveCaption, "Заголовок неактивного окна"},
    {clInactiveCaptionText, "Текст неактивного заголовка"},
    {clInfoBk, "Фон подсказки"},
    {clInfoText, "Текст подсказки"},
    {clMenu, "Меню"},
    {clMenuBar, "Полоса меню"},
    {clMenuHighlight, "Выделение в меню"},
    {clMenuText, "Текст меню"},
    {clScrollBar, "Полоса прокрутки"},
    {cl3DDkShadow, "Тёмная тень объёма"},
    {cl3DLight, "Светлая грань объёма"},
    {clWindow, "Окно"},
    {clWindowFrame, "Рамка окна"},
    {clWindowText, "Текст окна"},
};

constexpr const char* kCustomName = "Другой...";
constexpr const char* kNoneName = "Нет";
constexpr const char* kDefaultName = "По умолчанию";

} // namespace

TCustomColorBox::TCustomColorBox(TComponent* owner) : TCustomComboBox(owner) {
  TCustomComboBox::SetStyle(csOwnerDrawFixed);
  SetItemHeight(16);
  PopulateList();
  SetSelected(clBlack);
}

std::string TCustomColorBox::PrettyName(TColor color) {
  auto find = [color](const auto& table) -> const char* {
    for (const NamedColor& e : table)
      if (e.color == color) return e.pretty;
    return nullptr;
  };
  for (const char* name : {find(kStandard), find(kExtended), find(kSystem)})
    if (name) return name;
  if (color == clNone) return kNoneName;
  if (color == clDefault) return kDefaultName;
  return "";
}

void TCustomColorBox::SetStyle(TColorBoxStyle value) {
  if (value == FColorStyle) return;
  const TColor keep = Selected();
  FColorStyle = value;
  PopulateList();
  SetSelected(keep);
}

void TCustomColorBox::Loaded() {
  TCustomComboBox::Loaded();
  const TColor keep = Selected();
  PopulateList();
  SetSelected(keep);
}

// The entries in a fixed order: custom, standard, extended, system, then
// None and Default, then the program's own.
void TCustomColorBox::PopulateList() {
  TStrings* items = Items();
  items->BeginUpdate();
  items->Clear();
  const bool pretty = FColorStyle.Contains(cbPrettyNames);
  auto add = [&](TColor c, const char* prettyName) {
    items->AddData(pretty ? std::string(prettyName) : ColorToString(c), intptr_t(c));
  };
  if (FColorStyle.Contains(cbCustomColor)) items->AddData(kCustomName, intptr_t(FCustomColor));
  if (FColorStyle.Contains(cbStandardColors))
    for (const auto& e : kStandard)
      add(e.color, e.pretty);
  if (FColorStyle.Contains(cbExtendedColors))
    for (const auto& e : kExtended)
      add(e.color, e.pretty);
  if (FColorStyle.Contains(cbSystemColors))
    for (const auto& e : kSystem)
      add(e.color, e.pretty);
  if (FColorStyle.Contains(cbIncludeNone)) add(clNone, kNoneName);
  if (FColorStyle.Contains(cbIncludeDefault)) add(clDefault, kDefaultName);
  if (FColorStyle.Contains(cbCustomColors) && OnGetColors) OnGetColors(this, items);
  items->EndUpdate();
}

TColor TCustomColorBox::Colors(int index) const {
  auto* self = const_cast<TCustomColorBox*>(this);
  if (index < 0 || index >= self->Items()->Count()) return clBlack;
  return TColor(self->Items()->GetData(index));
}

std::string TCustomColorBox::ColorNames(int index) const {
  auto* self = const_cast<TCustomColorBox*>(this);
  if (index < 0 || index >= self->Items()->Count()) return "";
  return self->Items()->Get(index);
}

TColor TCustomColorBox::Selected() const {
  return ItemIndex() >= 0 ? Colors(ItemIndex()) : clBlack;
}

void TCustomColorBox::SetSelected(TColor color) {
  const int first = FColorStyle.Contains(cbCustomColor) ? 1 : 0;
  for (int i = first; i < Items()->Count(); ++i)
    if (Colors(i) == color) {
      SetItemIndex(i);
      FLastIndex = i;
      return;
    }
  // Not listed: the custom entry takes it, or a new entry is made for it.
  if (FColorStyle.Contains(cbCustomColor)) {
    FCustomColor = color;
    Items()->PutData(0, intptr_t(color));
    SetItemIndex(0);
    FLastIndex = 0;
    Invalidate();
    return;
  }
  const int i = Items()->AddData(ColorToString(color), intptr_t(color));
  SetItemIndex(i);
  FLastIndex = i;
}

bool TCustomColorBox::PickCustomColor() {
  TColor color = FCustomColor;
  bool ok = false;
  if (OnPickCustomColor) {
    ok = OnPickCustomColor(color);
  } else {
    TColorDialog dialog(nullptr);
    dialog.SetColor(color);
    ok = dialog.Execute();
    if (ok) color = dialog.Color();
  }
  if (!ok) return false;
  FCustomColor = color;
  Items()->PutData(0, intptr_t(color));
  Invalidate();
  return true;
}

// Choosing the custom entry asks for the colour first; a cancelled dialog
// puts the previous choice back and reports no change.
void TCustomColorBox::Change() {
  if (FColorStyle.Contains(cbCustomColor) && ItemIndex() == 0 && !FPicking) {
    FPicking = true;
    bool ok = false;
    try {
      ok = PickCustomColor();
    } catch (...) {
      FPicking = false;
      throw;
    }
    FPicking = false;
    if (!ok) {
      SetItemIndex(FLastIndex);
      return;
    }
  }
  FLastIndex = ItemIndex();
  TCustomComboBox::Change();
}

void TCustomColorBox::DrawItem(TCanvas* c, int index, const RECT& rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    TCustomComboBox::DrawItem(c, index, rect, state);
    return;
  }
  c->Font()->Assign(Font());
  const bool selected = state.Contains(odSelected);
  c->Brush()->SetColor(selected ? clHighlight : Color());
  c->FillRect(rect);
  if (index < 0 || index >= Items()->Count()) return;
  // The swatch: a square as high as the item, less a margin, framed.
  const int h = rect.Height();
  RECT swatch{rect.left + 2, rect.top + 2, rect.left + 2 + std::max(h - 4, 0) * 3 / 2,
              rect.bottom - 2};
  TColor color = Colors(index);
  if (color == clNone) color = FNoneColorColor;
  if (color == clDefault) color = FDefaultColorColor;
  c->Brush()->SetColor(color);
  c->FillRect(swatch);
  c->Brush()->SetColor(clBlack);
  c->FrameRect(swatch);
  RECT tr{swatch.right + 4, rect.top, rect.right, rect.bottom};
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(selected ? clHighlightText : (Enabled() ? Font()->Color() : clGrayText));
  c->TextRect(tr, Items()->Get(index), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
}

} // namespace zel
