// A button aligned inside a masked edit takes its width from the edit's
// margin and gives it back; properties by name; the new button's values.

#include "framework/core/Properties.h"
#include "tests/speedbutton/SpeedButtonFixture.h"

namespace zel::test {
namespace {

constexpr sys::UINT kGetMargins = 0x00D4, kSetMargins = 0x00D3, kScrollCaret = 0x00B7;

// The smallest stand-in for a masked edit: it keeps its two margins.
class TCustomMaskEdit : public TWinControl {
  ZEL_CLASS(TCustomMaskEdit, TWinControl)
public:
  explicit TCustomMaskEdit(TComponent* owner) : TWinControl(owner) {}
  int left = 3, right = 5, carets = 0;
  void WndProc(TMessage& m) override {
    switch (m.Msg) {
    case kGetMargins:
      m.Result = sys::LRESULT(left | (right << 16));
      return;
    case kSetMargins:
      if (m.WParam & 1) left = int(m.LParam & 0xFFFF);
      if (m.WParam & 2) right = int((m.LParam >> 16) & 0xFFFF);
      return;
    case kScrollCaret:
      ++carets;
      return;
    default:
      TWinControl::WndProc(m);
    }
  }
};
class TMaskEdit : public TCustomMaskEdit {
  ZEL_CLASS(TMaskEdit, TCustomMaskEdit)
public:
  explicit TMaskEdit(TComponent* owner) : TCustomMaskEdit(owner) {}
};

TEST_F(SpeedButtonTest, AlignedButtonTakesAndGivesBackTheEditMargin) {
  auto* edit = new TMaskEdit(nullptr);
  edit->SetBounds(10, 10, 200, 24);
  edit->SetParent(host.get());
  auto* right = new TSpeedButtonZel(nullptr);
  right->SetWidth(20);
  right->SetAlign(alRight);
  right->SetParent(edit);
  EXPECT_EQ(edit->right, 25);
  EXPECT_EQ(edit->left, 3);
  auto* left = new TSpeedButtonZel(nullptr);
  left->SetWidth(16);
  left->SetAlign(alLeft);
  left->SetParent(edit);
  EXPECT_EQ(edit->left, 19);
  EXPECT_EQ(edit->carets, 2);
  right->SetParent(host.get());
  EXPECT_EQ(edit->right, 5);
  // An unaligned button leaves the margins alone; so does a class that is
  // only named like the edit, without the ancestor.
  auto* plain = new TSpeedButtonZel(nullptr);
  plain->SetParent(edit);
  EXPECT_EQ(edit->left, 19);
  EXPECT_EQ(edit->right, 5);
  auto* other = new TCustomMaskEdit(nullptr);
  other->SetParent(host.get());
  left->SetParent(other);
  EXPECT_EQ(edit->left, 3);
  EXPECT_EQ(other->left, 3);
}

TEST_F(SpeedButtonTest, NewButtonValuesAndPropertiesByName) {
  auto* b = Put(0, 0);
  b->SetBounds(4, 6, 28, 28);
  EXPECT_EQ(b->Width(), 28);
  EXPECT_EQ(b->Border(), ZelSingleBorder);
  EXPECT_EQ(b->Blend(), 255);
  EXPECT_EQ(b->BtnFrameColor(), TColor(13003057));
  EXPECT_EQ(b->SelectedColor(), TColor(15717318));
  EXPECT_EQ(b->Spacing(), 2);
  EXPECT_EQ(b->Face()->ImageIndex(), -1);
  EXPECT_TRUE(b->HoverMaster());
  EXPECT_TRUE(b->ControlStyle().Contains(csOpaque));

  SetPropValue(*b, "ButtonKind", TPropValue(int64_t(ZelBkCheck)));
  EXPECT_EQ(b->Face()->ImageIndex(), -10);
  SetPropValue(*b, "Style", TPropValue(int64_t(cbsDropRight)));
  ASSERT_NE(b->DropButton(), nullptr);
  EXPECT_EQ(b->DropButton()->ButtonKind(), ZelBKRightArrow);
  TObject* gliphs = std::get<TObject*>(GetPropValue(*b, "Gliphs"));
  SetPropValue(*gliphs, "ImageIndexNormalHot", TPropValue(int64_t(7)));
  EXPECT_EQ(b->Gliphs()->ImageIndexNormalHot(), 7);
  // Transparency or a blend below 255 means the button does not cover its
  // rectangle.
  b->SetTransparent(true);
  EXPECT_FALSE(b->ControlStyle().Contains(csOpaque));
  b->SetTransparent(false);
  EXPECT_TRUE(b->ControlStyle().Contains(csOpaque));
  b->SetBlend(128);
  EXPECT_FALSE(b->ControlStyle().Contains(csOpaque));
  EXPECT_EQ(b->DropButton()->Blend(), 128);
}

} // namespace
} // namespace zel::test
