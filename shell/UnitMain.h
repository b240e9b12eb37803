#pragma once
// The program's main window: an MDI form that hosts numbered child windows.

#include "framework/forms/Form.h"

namespace zel {

class TTemporaryNewFormPanel;

class TMainForm : public TForm {
  ZEL_CLASS(TMainForm, TForm)
public:
  explicit TMainForm(TComponent* owner);

  // Opens a new child window captioned "Форма " and the number of children.
  void actNewFormExecute(TObject* sender);

  // TEMPORARY: the strip with a "new form" button, until the action bars
  // bring the "Файлы" menu and the tool bar.
  TTemporaryNewFormPanel* TemporaryPanel = nullptr;

protected:
  void WndProc(TMessage& message) override;
};

// Builds the main window from its description (MainFormDescription.cpp).
void BuildMainForm(TMainForm& form);

} // namespace zel
