// Draws the program's icon (a launcher bar holding four coloured tiles) and
// writes it as a Windows .ico file with 16, 32 and 48 pixel images, 32-bit
// with alpha. Usage: mkicon OUTPUT.ico
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;
};

// Coverage of a rounded rectangle at a point, with corner radius rad.
bool InsideRounded(double x, double y, double l, double t, double r, double b, double rad) {
  if (x < l || x > r || y < t || y > b) return false;
  double cx = std::clamp(x, l + rad, r - rad);
  double cy = std::clamp(y, t + rad, b - rad);
  double dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy <= rad * rad;
}

// Paints "over" in premultiplied space.
void Over(Rgba& dst, double r, double g, double b, double a) {
  dst.r = r * a + dst.r * (1 - a);
  dst.g = g * a + dst.g * (1 - a);
  dst.b = b * a + dst.b * (1 - a);
  dst.a = a + dst.a * (1 - a);
}

// Samples the picture in a unit square (0..1 on both axes).
Rgba Sample(double x, double y) {
  Rgba c;
  // The bar: a dark blue-grey rounded band with a lighter top edge.
  if (InsideRounded(x, y, 0.02, 0.22, 0.98, 0.78, 0.12)) {
    double shade = 0.25 + 0.2 * (1 - (y - 0.22) / 0.56);
    Over(c, shade * 0.55, shade * 0.7, shade * 1.2, 1.0);
  }
  // Four tiles on the bar, each its own colour.
  const double colours[4][3] = {{0.95, 0.35, 0.25}, {0.98, 0.75, 0.2}, {0.3, 0.8, 0.35}, {0.25, 0.6, 0.98}};
  for (int i = 0; i < 4; ++i) {
    double l = 0.09 + i * 0.215;
    if (InsideRounded(x, y, l, 0.33, l + 0.175, 0.67, 0.04)) {
      double lift = 1.0 + 0.25 * (0.5 - (y - 0.33) / 0.34);
      Over(c, std::min(1.0, colours[i][0] * lift), std::min(1.0, colours[i][1] * lift),
           std::min(1.0, colours[i][2] * lift), 1.0);
    }
  }
  return c;
}

// One image as BGRA rows, top row first, supersampled 4x4 per pixel.
std::vector<uint8_t> Render(int size) {
  std::vector<uint8_t> px(size * size * 4);
  const int ss = 4;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      Rgba sum;
      for (int sy = 0; sy < ss; ++sy)
        for (int sx = 0; sx < ss; ++sx) {
          Rgba s = Sample((x + (sx + 0.5) / ss) / size, (y + (sy + 0.5) / ss) / size);
          sum.r += s.r;
          sum.g += s.g;
          sum.b += s.b;
          sum.a += s.a;
        }
      double n = ss * ss;
      double a = sum.a / n;
      uint8_t* p = &px[(y * size + x) * 4];
      auto channel = [&](double premul) {
        return static_cast<uint8_t>(a > 0 ? std::lround(std::min(1.0, premul / n / a) * 255) : 0);
      };
      p[0] = channel(sum.b);
      p[1] = channel(sum.g);
      p[2] = channel(sum.r);
      p[3] = static_cast<uint8_t>(std::lround(a * 255));
    }
  return px;
}

void Put16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, unsigned v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A DIB as stored in an icon: header with doubled height, bottom-up XOR pixels, AND mask.
std::vector<uint8_t> IconImage(int size) {
  std::vector<uint8_t> rgba = Render(size);
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, size);
  Put32(out, size * 2);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  int maskStride = ((size + 31) / 32) * 4;
  Put32(out, size * size * 4 + maskStride * size);
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = size - 1; y >= 0; --y) out.insert(out.end(), &rgba[y * size * 4], &rgba[(y + 1) * size * 4]);
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = 0; x < size; ++x)
      if (rgba[(y * size + x) * 4 + 3] == 0) row[x / 8] |= 0x80 >> (x % 8);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mkicon OUTPUT.ico\n");
    return 2;
  }
  const int sizes[] = {16, 32, 48};
  std::vector<std::vector<uint8_t>> images;
  for (int s : sizes) images.push_back(IconImage(s));
  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, 3);
  unsigned offset = 6 + 16 * 3;
  for (size_t i = 0; i < images.size(); ++i) {
    file.push_back(static_cast<uint8_t>(sizes[i]));
    file.push_back(static_cast<uint8_t>(sizes[i]));
    file.push_back(0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, images[i].size());
    Put32(file, offset);
    offset += images[i].size();
  }
  for (auto& img : images) file.insert(file.end(), img.begin(), img.end());
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!out) {
    std::fprintf(stderr, "mkicon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
