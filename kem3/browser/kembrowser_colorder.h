// The order of the browser list's columns as the user drags them: the moves
// the header makes, and the files' order kept between uses (with the
// columns a handler adds at their end).
#pragma once
#include <vector>

// Whether Order holds each of 0 .. size-1 once.
bool BrowserIsPermutation(std::vector<int> Order);
// Order after the header put Column at Position, as it does when a drag ends
// there; a column or position it does not hold leaves Order as it is.
std::vector<int> BrowserMovedColumnOrder(std::vector<int> Order, int Column, int Position);
// The order to show Count columns in, the first Used of them the ones the
// view fills: Kept when it orders exactly those, else their own order; the
// empty columns after them stay at the end.
std::vector<int> BrowserShownColumnOrder(const std::vector<int>& Kept, int Used, int Count);
// What is kept of a shown order: the filled columns, in their shown order.
std::vector<int> BrowserKeptColumnOrder(const std::vector<int>& Shown, int Used);
