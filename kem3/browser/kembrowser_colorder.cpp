// The browser list's column order.
#include "kem3/browser/kembrowser_colorder.h"

#include <algorithm>
#include <numeric>

bool BrowserIsPermutation(std::vector<int> Order) {
  std::sort(Order.begin(), Order.end());
  for (size_t i = 0; i < Order.size(); ++i)
    if (Order[i] != static_cast<int>(i)) return false;
  return true;
}

std::vector<int> BrowserMovedColumnOrder(std::vector<int> Order, int Column, int Position) {
  const auto from = std::find(Order.begin(), Order.end(), Column);
  if (from == Order.end() || Position < 0 || Position >= static_cast<int>(Order.size())) return Order;
  Order.erase(from);
  Order.insert(Order.begin() + Position, Column);
  return Order;
}

std::vector<int> BrowserShownColumnOrder(const std::vector<int>& Kept, int Used, int Count) {
  Used = std::clamp(Used, 0, std::max(Count, 0));
  std::vector<int> order(static_cast<size_t>(std::max(Count, 0)));
  std::iota(order.begin(), order.end(), 0);
  if (static_cast<int>(Kept.size()) == Used && BrowserIsPermutation(Kept))
    std::copy(Kept.begin(), Kept.end(), order.begin());
  return order;
}

std::vector<int> BrowserKeptColumnOrder(const std::vector<int>& Shown, int Used) {
  std::vector<int> kept;
  for (int column : Shown)
    if (column >= 0 && column < Used) kept.push_back(column);
  return kept;
}
