// Arranging aligned controls.
#include "platform/controls_align.h"

#include <algorithm>

namespace {

// Whether a goes before b among items of the same kind.
bool InsertBefore(const TRect& a, const TRect& b, TAlign align) {
  switch (align) {
    case alTop:
      return a.Top < b.Top;
    case alBottom:
      return a.Bottom >= b.Bottom;
    case alLeft:
      return a.Left < b.Left;
    case alRight:
      return a.Right >= b.Right;
    default:
      return false;
  }
}

void Place(TAlignItem& item, TRect& client) {
  TRect& r = item.Bounds;
  const int across = std::max(0, client.Width()), down = std::max(0, client.Height());
  switch (item.Align) {
    case alTop: {
      const int h = r.Height();
      r = Bounds(client.Left, client.Top, across, h);
      client.Top += h;
      break;
    }
    case alBottom: {
      const int h = r.Height();
      client.Bottom -= h;
      r = Bounds(client.Left, client.Bottom, across, h);
      break;
    }
    case alLeft: {
      const int w = r.Width();
      r = Bounds(client.Left, client.Top, w, down);
      client.Left += w;
      break;
    }
    case alRight: {
      const int w = r.Width();
      client.Right -= w;
      r = Bounds(client.Right, client.Top, w, down);
      break;
    }
    case alClient:
      r = Bounds(client.Left, client.Top, across, down);
      break;
    default:
      break;
  }
}

}  // namespace

void ArrangeAlignedControls(std::vector<TAlignItem>& Items, TRect& Client, int First) {
  const int count = static_cast<int>(Items.size());
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<int> order;
    auto wanted = [&](int i) { return Items[i].Visible && Items[i].Align == align; };
    if (First >= 0 && First < count && wanted(First)) order.push_back(First);
    for (int i = 0; i < count; ++i) {
      if (i == First || !wanted(i)) continue;
      auto at = std::find_if(order.begin(), order.end(),
                             [&](int j) { return InsertBefore(Items[i].Bounds, Items[j].Bounds, align); });
      order.insert(at, i);
    }
    for (int i : order) Place(Items[i], Client);
  }
}
