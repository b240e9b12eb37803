// The description of the main window: its settings and child components.

#include "framework/stdctrls/Splitter.h"
#include "shell/TemporaryNewFormPanel.h"
#include "shell/UnitMain.h"

namespace zel {

void BuildMainForm(TMainForm& form) {
  form.SetName("MainForm");
  form.SetCaption("MainForm");
  form.SetFormStyle(fsMDIForm);
  form.SetPosition(poDefault);
  form.SetColor(clBtnFace);
  form.Font()->SetName("Tahoma");
  form.Font()->SetHeight(-11);
  form.SetOldCreateOrder(true);
  form.SetClientSize(606, 383);

  auto* splitter = new TSplitter(&form);
  splitter->SetName("Splitter1");
  splitter->SetAlign(alRight);
  splitter->SetParent(&form);

  // TEMPORARY: remove with the action bars.
  auto* panel = new TTemporaryNewFormPanel(&form);
  panel->SetName("TemporaryNewFormPanel");
  panel->SetParent(&form);
  panel->OnNewForm = [&form](TObject* sender) { form.actNewFormExecute(sender); };
  form.TemporaryPanel = panel;
}

} // namespace zel
