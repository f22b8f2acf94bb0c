// The bar's information dialog (ovaInformation): its program and drag-and-drop
// entries, registered on first use, and the dialog itself.
#pragma once
#include "platform/types.h"

// The program's version numbers ("3.3.9.0") from its own version resource;
// empty when it carries none.
String ProgramVersionText();

// Registers the entries once, then shows the dialog with the system's and the
// component library's blocks (and no graphics block).
void ShowBarInformation();
