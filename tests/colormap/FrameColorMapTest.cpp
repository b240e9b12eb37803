// The colour-map editor as a person meets it: the controls it shows with and
// without a manager, the colour maps, the gradient, hiding unused items,
// the style menu, the glyph size and the layout rules.

#include "framework/actnbars/PopupActnBar.h"
#include "tests/colormap/ColorMapFixture.h"

namespace zel::test {
namespace {

// Without a manager only the frame shows; the manager brings its controls,
// the bars' gradient and hide-unused state; its going takes them away.
TEST_F(ColorMapTest, TheControlsFollowTheManager) {
  EXPECT_EQ(frame->Caption(), "Настройка внешнего вида");
  EXPECT_EQ(frame->DragKind(), dkDock);
  EXPECT_EQ(frame->DragMode(), dmAutomatic);
  EXPECT_EQ(frame->GlyphSize(), 24);
  // The style is chosen even without a manager: the second registered one.
  ASSERT_EQ(ActionBarStyles()->Text(), "Zel Style\nXP Style\nStandard\n");
  EXPECT_EQ(frame->StyleName(), "XP Style");
  EXPECT_EQ(frame->sbStyle->Caption(), "Стиль: XP Style");
  // The default-colour button sits in the grid's title row, at its right.
  TValueListEditor* grid = frame->ValueListEditor1;
  EXPECT_EQ(frame->SpeedButtonZel8->Parent(), grid);
  EXPECT_EQ(frame->SpeedButtonZel8->BoundsRect(),
            (sys::RECT{grid->ClientWidth() - 19, 0, grid->ClientWidth() - 1, 18}));

  const std::initializer_list<TControl*> managed{
      frame->sbStyle,         frame->sbHideUnused,    frame->SpeedButtonZel1,
      frame->SpeedButtonZel2, frame->SpeedButtonZel3, frame->TrackBar1,
      frame->lCapSize,        frame->lSize,           frame->GroupBox1};
  for (int step = 0; step < 3; ++step) {
    const bool withManager = step == 1;
    if (step == 1) Connect();
    if (step == 2) {
      delete manager; // the frame forgets it
      manager = nullptr;
    }
    EXPECT_EQ(frame->ActionManager(), withManager ? manager : nullptr);
    for (TControl* c : managed)
      EXPECT_EQ(c->Visible(), withManager) << c->Name();
    EXPECT_FALSE(grid->Visible()); // no map chosen
    if (!withManager) continue;
    EXPECT_EQ(frame->lSize->Caption(), "24");
    // The gradient controls read the control bar.
    EXPECT_TRUE(frame->actGradient->Checked() && frame->actGradient->Enabled());
    EXPECT_TRUE(frame->cbStart->Enabled());
    EXPECT_EQ(frame->cbStart->Selected(), clWhite);
    EXPECT_EQ(frame->cbEnd->Selected(), clSilver);
    EXPECT_FALSE(frame->actHideUnused->Checked());
    // The manager's style becomes the selected one and a chosen map keeps it.
    EXPECT_EQ(frame->sbStyle->Caption(), "Стиль: Zel Style");
    ClickOn(frame->SpeedButtonZel2);
    EXPECT_EQ(manager->StyleName(), "Zel Style");
    frame->actXPColorMap->SetChecked(false);
  }
}

// The track bar follows the kind of image list the manager has.
TEST_F(ColorMapTest, TheTrackBarWorksOnlyOnAGlyphImageList) {
  auto* plain = new TImageList(16, 16, form);
  manager->SetImages(plain);
  Connect();
  EXPECT_TRUE(frame->TrackBar1->Visible());
  EXPECT_FALSE(frame->TrackBar1->Enabled());
  frame->TrackBar1->SetPosition(30);
  EXPECT_EQ(plain->Width(), 16);
  EXPECT_EQ(frame->GlyphSize(), 24);

  manager->SetImages(nullptr);
  frame->RefreshFrame();
  EXPECT_FALSE(frame->TrackBar1->Visible());
  EXPECT_FALSE(frame->lSize->Visible());

  manager->SetImages(images);
  frame->RefreshFrame();
  frame->TrackBar1->SetPosition(32);
  Settle();
  EXPECT_EQ(images->Width(), 32);
  EXPECT_EQ(images->Height(), 32);
  EXPECT_EQ(frame->GlyphSize(), 32);
  EXPECT_EQ(frame->lSize->Caption(), "32");
}

// Each map goes to the bars with the style and fills the grid; a map of
// the Color the bars already have leaves their colours alone; clDefault
// gives them their parents' colour; the default-colour button resets the
// map; no map checked gives the bars none of the editor's.
TEST_F(ColorMapTest, ChosenMapsReachTheBars) {
  Connect();
  struct Case {
    TSpeedButtonZel* button;
    TCustomActionBarColorMap* map;
    const char* firstRow;
  };
  for (const Case& c : {Case{frame->SpeedButtonZel3, frame->TwilightColorMap1, "Color"},
                        Case{frame->SpeedButtonZel2, frame->XPColorMap1, "ShadowColor"},
                        Case{frame->SpeedButtonZel1, frame->StandardColorMap1, "HighlightColor"}}) {
    ClickOn(c.button);
    EXPECT_EQ(frame->CurrentColorMap(), c.map);
    EXPECT_EQ(toolBar->ColorMap(), c.map);
    EXPECT_EQ(manager->StyleName(), "Zel Style");
    EXPECT_TRUE(frame->ValueListEditor1->Visible());
    EXPECT_EQ(frame->ValueListEditor1->Keys(1), c.firstRow);
    EXPECT_EQ(frame->ValueListEditor1->RowCount(), 21);
    if (c.map == frame->TwilightColorMap1) {
      EXPECT_EQ(controlBar->Color(), clBlack); // even though clBlack is 0
      EXPECT_EQ(toolBar->Color(), clBlack);
      controlBar->SetColor(clRed); // XP and standard share clBtnFace
    }
  }
  EXPECT_EQ(controlBar->Color(), clBtnFace); // XP's, after twilight
  controlBar->SetColor(clRed);
  ClickOn(frame->SpeedButtonZel2);
  ClickOn(frame->SpeedButtonZel1);
  EXPECT_EQ(controlBar->Color(), clRed); // the same Color: untouched
  frame->StandardColorMap1->SetColor(clDefault);
  EXPECT_TRUE(controlBar->ParentColor());
  EXPECT_TRUE(toolBar->ParentColor());

  frame->StandardColorMap1->SetShadowColor(clRed);
  ClickOn(frame->SpeedButtonZel8); // back to the class defaults
  EXPECT_EQ(frame->StandardColorMap1->ShadowColor(), clBtnShadow);
  EXPECT_EQ(controlBar->Color(), clBtnFace);

  frame->actStandartColorMap->SetChecked(false);
  frame->ApplyColorMapAndStyle();
  EXPECT_NE(toolBar->ColorMap(), frame->StandardColorMap1); // the bar's own default again
  EXPECT_FALSE(frame->ValueListEditor1->Visible());
}

// The gradient buttons and colour boxes drive the control bar and are read
// back; hide-unused toggles the bars' items.
TEST_F(ColorMapTest, GradientAndHideUnusedDriveTheBars) {
  Connect();
  ClickOn(frame->SpeedButtonZel6); // horizontal
  EXPECT_EQ(controlBar->GradientDirection(), gdHorizontal);
  EXPECT_FALSE(frame->actVert->Checked());
  frame->cbStart->ChooseItem(frame->cbStart->Items()->IndexOf("Красный"));
  EXPECT_EQ(controlBar->GradientStartColor(), clRed);
  for (bool on : {false, true}) {
    ClickOn(frame->SpeedButtonZel4);
    EXPECT_EQ(controlBar->DrawingStyle(), on ? dsGradient : TBandDrawingStyle::dsNormal);
    EXPECT_EQ(frame->actVert->Enabled(), on);
    EXPECT_EQ(frame->cbStart->Enabled(), on);
    EXPECT_EQ(frame->cbStart->Font()->Color(), on ? frame->Font()->Color() : clGrayText);
  }
  TActionBarItem* bar = manager->FindActionBar(toolBar);
  for (bool hide : {true, false}) {
    ClickOn(frame->sbHideUnused);
    EXPECT_EQ(frame->actHideUnused->Checked(), hide);
    EXPECT_EQ(bar->Items()->HideUnused(), hide);
    // The customize dialog switches the bars: the button follows.
    manager->ActionBars()->SetHideUnused(!hide);
    frame->actHideUnused->Update();
    EXPECT_EQ(frame->actHideUnused->Checked(), !hide);
    manager->ActionBars()->SetHideUnused(hide);
    frame->actHideUnused->Update();
  }
}

TEST_F(ColorMapTest, TheStyleMenuChoosesAStyle) {
  Connect();
  TStringList* styles = ActionBarStyles();
  TMenuItem* root = frame->StyleMenu()->Items();
  ASSERT_EQ(root->Count(), styles->Count());
  for (int i = 0; i < root->Count(); ++i) {
    EXPECT_EQ(root->Items(i)->Caption(), styles->Get(i));
    EXPECT_EQ(root->Items(i)->Tag(), i);
    EXPECT_TRUE(root->Items(i)->RadioItem());
    EXPECT_EQ(root->Items(i)->Checked(), i == 0); // the manager's own style
  }
  // The menu is drawn in the chosen style and map: Zel items, then XP ones.
  ClickOn(frame->SpeedButtonZel2);
  ClickOn(frame->sbStyle);
  TCustomActionPopupMenu* popup = frame->StyleMenu()->PopupBar();
  ASSERT_TRUE(popup && popup->ActionControlCount() == 3);
  EXPECT_TRUE(Is<TZelStyleMenuItem>(popup->ActionControls(0)));
  EXPECT_EQ(popup->ColorMap(), frame->XPColorMap1);
  ClickOn(popup->ActionControls(1));
  EXPECT_EQ(frame->StyleName(), styles->Get(1));
  ClickOn(frame->sbStyle);
  popup = frame->StyleMenu()->PopupBar();
  ASSERT_TRUE(popup && popup->ActionControlCount() == 3);
  EXPECT_TRUE(Is<TXPStyleMenuItem>(popup->ActionControls(1)));
  EXPECT_FALSE(Is<TZelStyleMenuItem>(popup->ActionControls(1)));
  screen->Click(1, 1); // closes it
  app->ProcessMessages();
  EXPECT_EQ(manager->Style(), styles->Objects(1));
  EXPECT_FALSE(root->Items(0)->Checked());
  EXPECT_TRUE(root->Items(1)->Checked());
  EXPECT_EQ(frame->sbStyle->Caption(), "Стиль: " + styles->Get(1));

  // The chosen style again changes nothing, not even a style set meanwhile.
  manager->SetStyle(static_cast<TActionBarStyle*>(styles->Objects(0)));
  root->Items(1)->Click();
  EXPECT_EQ(manager->Style(), styles->Objects(0));

  // A name no style has: no item checked, the manager's style kept.
  frame->SelectStyle("Нет такого");
  EXPECT_EQ(frame->sbStyle->Caption(), "Стиль: Нет такого");
  for (int i = 0; i < root->Count(); ++i)
    EXPECT_FALSE(root->Items(i)->Checked());
  EXPECT_EQ(manager->Style(), styles->Objects(0));
}

// The direction buttons stand side by side only when the group box's
// client area is wider than 22 + 118 + 120 + 8 = 268 pixels.
TEST_F(ColorMapTest, TheDirectionButtonsFollowTheWidthRule) {
  Connect();
  TGroupBox* box = frame->GroupBox1;
  TSpeedButtonZel* vert = frame->SpeedButtonZel5;
  TSpeedButtonZel* hor = frame->SpeedButtonZel6;
  const int border = box->Width() - box->ClientWidth();
  struct Case {
    int client;
    bool beside;
  };
  for (const Case c : {Case{268, false}, Case{269, true}, Case{185, false}, Case{400, true}}) {
    // The box is the frame's width less twice its left.
    frame->SetWidth(c.client + border + 2 * box->Left() + (frame->Width() - frame->ClientWidth()));
    ASSERT_EQ(box->ClientWidth(), c.client);
    if (c.beside) {
      EXPECT_EQ(hor->Left(), vert->Left() + vert->Width() + 4) << c.client;
      EXPECT_EQ(hor->Top(), vert->Top()) << c.client;
    } else {
      EXPECT_EQ(hor->Left(), vert->Left()) << c.client;
      EXPECT_EQ(hor->Top(), vert->Top() + vert->Height()) << c.client;
    }
    EXPECT_EQ(frame->lStartColor->Top(), hor->Top() + hor->Height() + 2);
    EXPECT_EQ(frame->cbStart->Top(), frame->lStartColor->Top() - 4);
    EXPECT_EQ(frame->cbEnd->Top(), frame->lEndColor->Top() - 4);
    EXPECT_EQ(frame->cbEnd->Left() + frame->cbEnd->Width(), c.client - box->Left());
    EXPECT_EQ(box->Height(), frame->cbEnd->Top() + frame->cbEnd->Height() + 6);
    // The speed buttons keep their widths; the grid fills what is left.
    EXPECT_EQ(frame->SpeedButtonZel1->Width(), 180);
    TValueListEditor* grid = frame->ValueListEditor1;
    EXPECT_EQ(grid->Top(), box->Top() + box->Height() + grid->Left());
    EXPECT_EQ(grid->Width(), box->Width());
    EXPECT_EQ(grid->ColWidths(0), 84); // the columns keep their widths
    EXPECT_EQ(grid->ColWidths(1), 93);
    EXPECT_EQ(grid->Top() + grid->Height() + grid->Left(), frame->ClientHeight());
  }
}

// Controls of the editor moved into another parent and freed with it leave
// no field pointing at them: the editor's own end writes through none.
TEST_F(ColorMapTest, ControlsFreedWithAnotherParentLeaveNoFieldBehind) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  frame->TrackBar1->SetParent(panel);
  frame->cbStart->SetParent(panel);
  frame->ValueListEditor1->SetParent(panel);
  delete panel;
  EXPECT_EQ(frame->TrackBar1, nullptr);
  EXPECT_EQ(frame->cbStart, nullptr);
  EXPECT_EQ(frame->ValueListEditor1, nullptr);
  delete frame;
  frame = nullptr;
}

} // namespace
} // namespace zel::test
