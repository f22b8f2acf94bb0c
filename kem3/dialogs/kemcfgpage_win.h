// The generated rows of a settings page: every group and item registered for
// a page, laid out in columns as captioned controls bound to their items.
#pragma once

class TWinControl;

// Lays the page out on Parent from Top down; gives the height used.
int cfgBuildPage(TWinControl* Parent, int PageId, int Top, int Columns, int LeftPercent, int WidthPercent,
                 int LeftMargin, int RightMargin, int ColumnGap);
// Removes the generated controls from Parent and forgets their bindings.
void cfgClearPage(TWinControl* Parent);
// Reads every bound control back into its item, counting changes.
void cfgReadPage();
// After a language change: refills the lists of the bound controls.
void cfgRelabel();
// Where the fields of the rows built on Page (in its group frames too) would
// start, from its left edge: their usual place, or further right where a
// caption and the gap after it need it.
int cfgFieldColumn(TWinControl* Page);
// The fields of those rows start at Column of Page; each keeps its right edge.
void cfgSetFieldColumn(TWinControl* Page, int Column);
