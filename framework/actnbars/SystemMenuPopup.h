#pragma once
// Windows' system menus drawn by the program's own pop-up menus.

namespace zel {

// Makes the forms' system menus (SystemMenu.h) pop-up action bars in the
// look of the program's menu bar: the style and the colour map of the
// form's main menu bar, else of the main form's (tool windows and MDI
// children have none), else the first registered style.  Called once at
// start-up, like the other parts the program chooses.
void InstallSystemMenu();

} // namespace zel
