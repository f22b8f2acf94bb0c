// The marks before each module of the modules page: a green tick for an
// active module, a grey dash for one the bar does not show.
#include "pictures.h"

namespace art {

TNamedPictures ModuleMarkPictures() {
  TNamedPictures Pictures;
  const TShape Disc = Circle(8, 8, 6.5);
  TArtCanvas Active(16, 16);
  Active.Fill(Disc, [](double, double Y) { return Mix(Rgb(120, 210, 110), Rgb(40, 140, 50), Y / 16); });
  Active.Fill(Outline(Disc, 0.6), Rgb(30, 100, 40));
  Active.Fill(Union(Segment({4.8, 8.2}, {7, 10.6}, 1.1), Segment({7, 10.6}, {11.2, 5.4}, 1.1)), Rgb(255, 255, 255));
  Pictures.emplace_back("MODULEACTIVE", std::move(Active));
  TArtCanvas Inactive(16, 16);
  Inactive.Fill(Disc, [](double, double Y) { return Mix(Rgb(215, 215, 215), Rgb(150, 150, 150), Y / 16); });
  Inactive.Fill(Outline(Disc, 0.6), Rgb(110, 110, 110));
  Inactive.Fill(Segment({5, 8}, {11, 8}, 1.1), Rgb(255, 255, 255));
  Pictures.emplace_back("MODULEINACTIVE", std::move(Inactive));
  return Pictures;
}

}  // namespace art
