// Picture codecs: the BMP reader against libpng on the same pixels written
// by ImageMagick, PNG and JPEG kinds, round trips of the writers, and
// damaged files, which must fail cleanly and leave the target alone.
#include "raster/picture_codecs.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "raster/byte_io.h"
#include "support/temp_home.h"

namespace varlo {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Fixture(const std::string& name) {
  const std::string s = testing::ReadFile(testing::FixturePath("pictures/" + name));
  return Bytes(s.begin(), s.end());
}

DIB_P LoadPngFixture(const std::string& name) {
  const Bytes b = Fixture(name);
  DIB_P d;
  std::string error;
  EXPECT_TRUE(DibLoadPng(d, b.data(), b.size(), &error)) << name << ": " << error;
  return d;
}

// Largest difference of any colour channel, or 1000 when the sizes differ.
int MaxColourDiff(const DIB_P& a, const DIB_P& b) {
  if (a.Width != b.Width || a.Height != b.Height || a.Width == 0) return 1000;
  int most = 0;
  for (int32_t y = 0; y < a.Height; ++y)
    for (int32_t x = 0; x < a.Width; ++x) {
      const uint8_t* p = DibPixel(a, x, y);
      const uint8_t* q = DibPixel(b, x, y);
      for (int k = 0; k < 3; ++k) most = std::max(most, std::abs(p[k] - q[k]));
    }
  return most;
}

double MeanColourDiff(const DIB_P& a, const DIB_P& b) {
  double sum = 0;
  for (int32_t y = 0; y < a.Height; ++y)
    for (int32_t x = 0; x < a.Width; ++x)
      for (int k = 0; k < 3; ++k) sum += std::abs(DibPixel(a, x, y)[k] - DibPixel(b, x, y)[k]);
  return sum / (3.0 * a.Width * a.Height);
}

double MeanChannel(const DIB_P& d, int k) {
  double sum = 0;
  for (int32_t y = 0; y < d.Height; ++y)
    for (int32_t x = 0; x < d.Width; ++x) sum += DibPixel(d, x, y)[k];
  return sum / (double(d.Width) * d.Height);
}

DIB_P MakeNumbered(int32_t w, int32_t h, bool alpha) {
  DIB_P d;
  EXPECT_TRUE(alpha ? DibCreate32(d, w, h) : DibCreate24(d, w, h));
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      DibSetPixel(d, x, y, MakeRGB((x * 37) & 255, (y * 11) & 255, (x ^ y) & 255));
      if (alpha) DibPixel(d, x, y)[3] = static_cast<uint8_t>((x * 5 + y * 3) & 255);
    }
  return d;
}

// A target that already holds a picture, to see that failures leave it.
struct Sentinel {
  DIB_P d;
  uint8_t* bits = nullptr;
  Sentinel() {
    DibCreate24(d, 3, 2);
    DibSetPixel(d, 1, 1, MakeRGB(1, 2, 3));
    bits = d.Bits;
  }
  bool Untouched() const {
    return d.Width == 3 && d.Height == 2 && d.Bits == bits && DibGetPixel(d, 1, 1) == int32_t(MakeRGB(1, 2, 3));
  }
};

// A Windows bitmap built field by field.
Bytes MakeBmp(uint32_t headerSize, int32_t w, int32_t h, uint16_t bits, uint32_t compression,
              const Bytes& palette, uint32_t coloursUsed, const Bytes& pixels) {
  ByteWriter out;
  const uint32_t offset = 14 + headerSize + static_cast<uint32_t>(palette.size());
  out.U8('B');
  out.U8('M');
  out.U32(offset + static_cast<uint32_t>(pixels.size()));
  out.U32(0);
  out.U32(offset);
  out.U32(headerSize);
  if (headerSize == 12) {
    out.U16(static_cast<uint16_t>(w));
    out.U16(static_cast<uint16_t>(h));
    out.U16(1);
    out.U16(bits);
  } else {
    out.I32(w);
    out.I32(h);
    out.U16(1);
    out.U16(bits);
    out.U32(compression);
    out.U32(static_cast<uint32_t>(pixels.size()));
    out.U32(2835);
    out.U32(2835);
    out.U32(coloursUsed);
    out.U32(0);
    for (uint32_t i = 40; i < headerSize; ++i) out.U8(0);
  }
  out.Bytes(palette.data(), palette.size());
  out.Bytes(pixels.data(), pixels.size());
  return out.bytes();
}

// ---- sniffing ----

TEST(PictureCodecsTest, SniffBySignature) {
  struct Case {
    Bytes data;
    PictureFormat want;
  };
  const Case cases[] = {
      {{0xFF, 0xD8, 0xFF, 0xE0}, PictureFormat::Jpeg},
      {{0xFF, 0xD8, 0xFF}, PictureFormat::Jpeg},
      {{0xFF, 0xD8}, PictureFormat::Unknown},
      {{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, PictureFormat::Png},
      {{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A}, PictureFormat::Unknown},
      {{'B', 'M'}, PictureFormat::Bmp},
      {{'G', 'I', 'F', '8', '9', 'a'}, PictureFormat::Unknown},
      {{}, PictureFormat::Unknown},
  };
  for (const Case& c : cases) EXPECT_EQ(SniffPicture(c.data.data(), c.data.size()), c.want) << c.data.size();
  EXPECT_EQ(SniffPicture(nullptr, 10), PictureFormat::Unknown);
}

// ---- BMP against PNG ----

TEST(PictureCodecsTest, BitmapKindsMatchImageMagicksPngOfTheSamePixels) {
  struct Case {
    const char* bmp;
    const char* png;
  };
  const Case cases[] = {
      {"photo-64x48-24bit.bmp", "photo-64x48.png"},
      {"photo-64x48-32bit-alpha.bmp", "photo-64x48-rgba.png"},  // V5 header, bit fields
      {"photo-64x48-16bit-565.bmp", "photo-64x48-16bit-565.png"},
      {"quant2-1bit.bmp", "quant2.png"},
      {"quant16-4bit.bmp", "quant16.png"},
      {"quant256-8bit.bmp", "quant256.png"},
      {"quant256-8bit-rle.bmp", "quant256.png"},
      {"quant256-8bit-core.bmp", "quant256.png"},  // the old 12-byte header
      {"grey-64x48-8bit.bmp", "grey-64x48.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bmp);
    const Bytes b = Fixture(c.bmp);
    DIB_P bmp;
    std::string error;
    ASSERT_TRUE(DibLoadBmp(bmp, b.data(), b.size(), &error)) << error;
    EXPECT_EQ(bmp.BytesPerPixel, 3);
    const DIB_P png = LoadPngFixture(c.png);
    EXPECT_EQ(MaxColourDiff(bmp, png), 0);
  }
}

TEST(PictureCodecsTest, TopDownBitmapReadsLikeTheBottomUpOne) {
  // The 24-bit fixture with its rows turned round and a negative height.
  Bytes b = Fixture("photo-64x48-24bit.bmp");
  const uint32_t offset = GetU32(b.data() + 10);
  const int32_t w = GetI32(b.data() + 18), h = GetI32(b.data() + 22);
  const size_t row = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  Bytes flipped = b;
  for (int32_t y = 0; y < h; ++y)
    std::memcpy(flipped.data() + offset + y * row, b.data() + offset + (h - 1 - y) * row, row);
  PutI32(flipped.data() + 22, -h);
  DIB_P a, t;
  std::string error;
  ASSERT_TRUE(DibLoadBmp(a, b.data(), b.size(), &error)) << error;
  ASSERT_TRUE(DibLoadBmp(t, flipped.data(), flipped.size(), &error)) << error;
  EXPECT_EQ(t.Height, h);
  EXPECT_EQ(MaxColourDiff(a, t), 0);
}

TEST(PictureCodecsTest, CraftedBitmapKinds) {
  // 3 x 2 pictures of every kind ImageMagick does not write for us.
  const Bytes pal4 = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};  // black, red, green, blue
  struct Case {
    const char* what;
    Bytes file;
    uint32_t top[3], bottom[3];
  };
  const uint32_t R = MakeRGB(255, 0, 0), G = MakeRGB(0, 255, 0), B = MakeRGB(0, 0, 255), K = 0;
  const Case cases[] = {
      {"16-bit 5-5-5 without masks",
       MakeBmp(40, 3, 2, 16, 0, {}, 0,
               {0x1F, 0x00, 0xE0, 0x03, 0x00, 0x7C, 0, 0,     // bottom: blue, green, red
                0x00, 0x7C, 0x00, 0x00, 0x1F, 0x00, 0, 0}),  // top: red, black, blue
       {R, K, B},
       {B, G, R}},
      {"32-bit without masks, V3 header",
       MakeBmp(40, 3, 2, 32, 0, {}, 0,
               {255, 0, 0, 9, 0, 255, 0, 9, 0, 0, 255, 9, 0, 0, 0, 9, 0, 0, 255, 9, 255, 0, 0, 9}),
       {K, R, B},
       {B, G, R}},
      {"4-bit run lengths with a skip",
       MakeBmp(40, 3, 2, 4, 2, pal4, 4,
               {0x03, 0x12,              // bottom row: red, green, red
                0x00, 0x00,              // end of row
                0x00, 0x02, 0x01, 0x00,  // skip one pixel right (stays black)
                0x02, 0x23,              // green, blue
                0x00, 0x01}),            // end of picture
       {K, G, B},
       {R, G, R}},
      {"4-bit run lengths with a literal run",
       MakeBmp(40, 3, 2, 4, 2, pal4, 4,
               {0x00, 0x03, 0x12, 0x30,  // literal: red, green, blue
                0x00, 0x00,
                0x03, 0x11,              // red, red, red
                0x00, 0x01}),
       {R, R, R},
       {R, G, B}},
      {"8-bit palette, top-down, fewer colours than the depth",
       MakeBmp(40, 3, -2, 8, 0, pal4, 4, {1, 2, 3, 0, 3, 3, 1, 0}),
       {R, G, B},
       {B, B, R}},
      {"1-bit core header",
       MakeBmp(12, 3, 2, 1, 0, {0, 0, 255, 255, 255, 255}, 0, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}),
       {R, MakeRGB(255, 255, 255), R},
       {MakeRGB(255, 255, 255), R, MakeRGB(255, 255, 255)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DIB_P d;
    std::string error;
    ASSERT_TRUE(DibLoadBmp(d, c.file.data(), c.file.size(), &error)) << error;
    ASSERT_EQ(d.Width, 3);
    ASSERT_EQ(d.Height, 2);
    for (int32_t x = 0; x < 3; ++x) {
      EXPECT_EQ(DibGetPixel(d, x, 0), int32_t(c.top[x])) << "top " << x;
      EXPECT_EQ(DibGetPixel(d, x, 1), int32_t(c.bottom[x])) << "bottom " << x;
    }
  }
}

TEST(PictureCodecsTest, DamagedBitmapsFailAndLeaveTheTarget) {
  const Bytes good = Fixture("photo-64x48-24bit.bmp");
  const Bytes rle = Fixture("quant256-8bit-rle.bmp");
  const Bytes pal = Fixture("quant256-8bit.bmp");
  const Bytes v5 = Fixture("photo-64x48-32bit-alpha.bmp");
  auto patched32 = [](Bytes b, size_t at, uint32_t v) {
    PutU32(b.data() + at, v);
    return b;
  };
  auto patched16 = [](Bytes b, size_t at, uint16_t v) {
    PutU16(b.data() + at, v);
    return b;
  };
  auto cut = [](const Bytes& b, size_t n) { return Bytes(b.begin(), b.begin() + static_cast<ptrdiff_t>(n)); };
  struct Case {
    const char* what;
    Bytes file;
  };
  const Case cases[] = {
      {"no signature", patched16(good, 0, 0x4D42 ^ 0x0101)},
      {"cut inside the file header", cut(good, 10)},
      {"cut inside the info header", cut(good, 30)},
      {"cut by one byte", cut(good, good.size() - 1)},
      {"cut inside the palette", cut(pal, 14 + 40 + 100)},
      {"run lengths cut short", cut(rle, rle.size() / 2)},
      {"zero width", patched32(good, 18, 0)},
      {"zero height", patched32(good, 22, 0)},
      {"negative width", patched32(good, 18, static_cast<uint32_t>(-64))},
      {"width beyond the limit", patched32(good, 18, kDibMaxSide + 1)},
      {"most negative height", patched32(good, 22, 0x80000000u)},
      {"huge area from a small file", patched32(patched32(good, 18, 20000), 22, 20000)},
      {"bit count 7", patched16(good, 28, 7)},
      {"bit count 0", patched16(good, 28, 0)},
      {"embedded JPEG", patched32(good, 30, 4)},
      {"embedded PNG", patched32(good, 30, 5)},
      {"bit fields on 24 bits", patched32(good, 30, 3)},
      {"run lengths on 24 bits", patched32(good, 30, 1)},
      {"pixels past the end", patched32(good, 10, static_cast<uint32_t>(good.size()) - 100)},
      {"pixel offset far outside", patched32(good, 10, 0xFFFFFFF0u)},
      {"header size 200", patched32(good, 14, 200)},
      {"header size 0", patched32(good, 14, 0)},
      {"header larger than the file", patched32(cut(good, 60), 14, 124)},
      {"channel mask with a gap", patched32(v5, 54, 0x00FF00FF)},
      {"top-down run lengths", patched32(rle, 22, static_cast<uint32_t>(-48))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sentinel s;
    std::string error;
    EXPECT_FALSE(DibLoadBmp(s.d, c.file.data(), c.file.size(), &error));
    EXPECT_EQ(error.rfind("BMP: ", 0), 0u) << error;
    EXPECT_TRUE(s.Untouched());
  }
}

TEST(PictureCodecsTest, BitmapWriterRoundTripsAndWritesAPlainHeader) {
  const int32_t widths[] = {1, 2, 3, 5, 64};
  for (const int32_t w : widths) {
    for (const bool alpha : {false, true}) {
      SCOPED_TRACE(::testing::Message() << w << (alpha ? " 32-bit" : " 24-bit"));
      const DIB_P src = MakeNumbered(w, 7, alpha);
      Bytes file;
      std::string error;
      ASSERT_TRUE(DibSaveBmp(src, file, &error)) << error;
      const uint32_t row = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
      ASSERT_EQ(file.size(), 54u + row * 7);
      EXPECT_EQ(file[0], 'B');
      EXPECT_EQ(file[1], 'M');
      EXPECT_EQ(GetU32(file.data() + 2), file.size());
      EXPECT_EQ(GetU32(file.data() + 10), 54u);
      EXPECT_EQ(GetU32(file.data() + 14), 40u);
      EXPECT_EQ(GetI32(file.data() + 22), 7);  // bottom-up
      EXPECT_EQ(GetU16(file.data() + 28), 24);
      EXPECT_EQ(GetU32(file.data() + 30), 0u);
      // The first stored row is the bottom one.
      EXPECT_EQ(file[54], DibPixel(src, 0, 6)[0]);
      DIB_P back;
      ASSERT_TRUE(DibLoadBmp(back, file.data(), file.size(), &error)) << error;
      EXPECT_EQ(MaxColourDiff(back, src), 0);
    }
  }
  DIB_P empty;
  Bytes file;
  std::string error;
  EXPECT_FALSE(DibSaveBmp(empty, file, &error));
  EXPECT_FALSE(error.empty());
}

// ---- PNG ----

TEST(PictureCodecsTest, PngKindsDecodeToEightBitBgr) {
  struct Case {
    const char* png;
    const char* reference;
    int bytesPerPixel;
  };
  const Case cases[] = {
      {"photo-64x48-16bit.png", "photo-64x48.png", 3},
      {"photo-64x48-interlaced.png", "photo-64x48.png", 3},
      {"quant256-palette.png", "quant256.png", 3},
      {"photo-64x48-rgba.png", "photo-64x48-32bit-alpha.bmp", 4},
      {"grey-64x48.png", "grey-64x48-8bit.bmp", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.png);
    const DIB_P d = LoadPngFixture(c.png);
    EXPECT_EQ(d.BytesPerPixel, c.bytesPerPixel);
    DIB_P ref;
    const Bytes r = Fixture(c.reference);
    std::string error;
    ASSERT_TRUE(DibLoadPicture(ref, r.data(), r.size(), &error)) << error;
    EXPECT_EQ(MaxColourDiff(d, ref), 0);
  }
}

TEST(PictureCodecsTest, PngTransparencyBecomesAlpha) {
  // The alpha ramp runs from opaque at the top to clear at the bottom.
  const DIB_P ramp = LoadPngFixture("photo-64x48-rgba.png");
  ASSERT_EQ(ramp.HasAlpha, 1);
  EXPECT_EQ(DibGetAlpha(ramp, 10, 0), 255);
  EXPECT_EQ(DibGetAlpha(ramp, 10, 47), 0);
  EXPECT_GT(DibGetAlpha(ramp, 10, 20), DibGetAlpha(ramp, 10, 30));

  // A palette picture with one transparent entry (the left half).
  const DIB_P pal = LoadPngFixture("palette-trns.png");
  ASSERT_EQ(pal.BytesPerPixel, 4);
  ASSERT_EQ(pal.Width, 8);
  for (int32_t x = 0; x < 8; ++x) {
    EXPECT_EQ(DibGetAlpha(pal, x, 2), x < 4 ? 0 : 255) << x;
    if (x >= 4) {
      EXPECT_EQ(DibGetPixel(pal, x, 2), int32_t(MakeRGB(255, 0, 0))) << x;
    }
  }
}

TEST(PictureCodecsTest, PngWriterRoundTrips) {
  for (const bool alpha : {false, true}) {
    SCOPED_TRACE(alpha ? "32-bit" : "24-bit");
    const DIB_P src = MakeNumbered(13, 9, alpha);
    Bytes file;
    std::string error;
    ASSERT_TRUE(DibSavePng(src, file, &error)) << error;
    DIB_P back;
    ASSERT_TRUE(DibLoadPng(back, file.data(), file.size(), &error)) << error;
    ASSERT_EQ(back.BytesPerPixel, src.BytesPerPixel);
    for (int32_t y = 0; y < 9; ++y)
      EXPECT_EQ(std::memcmp(DibRow(back, y), DibRow(src, y), 13u * src.BytesPerPixel), 0) << y;
  }
}

// Rewrites the IHDR size of a PNG, with a matching CRC so that only the size
// is wrong.
Bytes WithPngSize(Bytes b, uint32_t w, uint32_t h) {
  auto be32 = [&](size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v >> 24);
    b[at + 1] = static_cast<uint8_t>(v >> 16);
    b[at + 2] = static_cast<uint8_t>(v >> 8);
    b[at + 3] = static_cast<uint8_t>(v);
  };
  be32(16, w);
  be32(20, h);
  be32(29, static_cast<uint32_t>(crc32(0, b.data() + 12, 17)));
  return b;
}

TEST(PictureCodecsTest, DamagedPngsFailAndLeaveTheTarget) {
  const Bytes good = Fixture("photo-64x48.png");
  Bytes badCrc = good;
  badCrc[good.size() / 2] ^= 0x55;  // inside the image data
  struct Case {
    const char* what;
    Bytes file;
  };
  const Case cases[] = {
      {"cut in half", Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(good.size() / 2))},
      {"cut after the header", Bytes(good.begin(), good.begin() + 40)},
      {"only the signature", Bytes(good.begin(), good.begin() + 8)},
      {"damaged image data", badCrc},
      {"side beyond the limit", WithPngSize(good, kDibMaxSide + 1, 48)},
      {"sides allowed, bytes not", WithPngSize(good, 20000, 20000)},
      {"zero width", WithPngSize(good, 0, 48)},
      {"not a PNG", Fixture("photo-64x48-24bit.bmp")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sentinel s;
    std::string error;
    EXPECT_FALSE(DibLoadPng(s.d, c.file.data(), c.file.size(), &error));
    EXPECT_EQ(error.rfind("PNG: ", 0), 0u) << error;
    EXPECT_TRUE(s.Untouched());
  }
}

// ---- JPEG ----

TEST(PictureCodecsTest, JpegKindsDecode) {
  struct Case {
    const char* jpeg;
    const char* reference;  // ImageMagick's decode, or none
    int32_t w, h;
  };
  const Case cases[] = {
      {"photo-160x120-exif.jpg", nullptr, 160, 120},
      {"progressive-80x60.jpg", "progressive-80x60-decoded.png", 80, 60},
      {"grey-80x60.jpg", "grey-80x60-decoded.png", 80, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.jpeg);
    const Bytes b = Fixture(c.jpeg);
    DIB_P d;
    std::string error;
    ASSERT_TRUE(DibLoadJpeg(d, b.data(), b.size(), &error)) << error;
    EXPECT_EQ(d.Width, c.w);
    EXPECT_EQ(d.Height, c.h);
    EXPECT_EQ(d.BytesPerPixel, 3);
    if (c.reference) {
      EXPECT_LE(MaxColourDiff(d, LoadPngFixture(c.reference)), 1);
    }
  }
  // The Exif picture is the photo: its average colour is the reference's.
  const Bytes b = Fixture("photo-160x120-exif.jpg");
  DIB_P big;
  ASSERT_TRUE(DibLoadJpeg(big, b.data(), b.size(), nullptr));
  const DIB_P ref = LoadPngFixture("photo-64x48.png");
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(MeanChannel(big, k), MeanChannel(ref, k), 3.0) << "channel " << k;
}

TEST(PictureCodecsTest, GreyJpegIsExpanded) {
  const Bytes b = Fixture("grey-80x60.jpg");
  DIB_P d;
  ASSERT_TRUE(DibLoadJpeg(d, b.data(), b.size(), nullptr));
  for (int32_t y = 0; y < d.Height; y += 7)
    for (int32_t x = 0; x < d.Width; x += 5) {
      const uint8_t* p = DibPixel(d, x, y);
      EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << "," << y;
    }
}

TEST(PictureCodecsTest, BadJpegsFailAndLeaveTheTarget) {
  const Bytes exif = Fixture("photo-160x120-exif.jpg");
  const Bytes prog = Fixture("progressive-80x60.jpg");
  const Bytes noEnd(exif.begin(), exif.end() - 2);  // without its end marker
  struct Case {
    const char* what;
    Bytes file;
    const char* says;
  };
  const Case cases[] = {
      {"CMYK", Fixture("cmyk-48x36.jpg"), "CMYK"},
      {"cut in half", Bytes(exif.begin(), exif.begin() + static_cast<ptrdiff_t>(exif.size() / 2)), "cut short"},
      {"progressive cut in half", Bytes(prog.begin(), prog.begin() + static_cast<ptrdiff_t>(prog.size() / 2)),
       "cut short"},
      {"only the start marker", Bytes(exif.begin(), exif.begin() + 3), "JPEG: "},
      {"header without data", Bytes(exif.begin(), exif.begin() + 400), "JPEG: "},
      {"end marker missing", noEnd, "cut short"},
      {"not a JPEG", Fixture("photo-64x48.png"), "not a JPEG"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sentinel s;
    std::string error;
    EXPECT_FALSE(DibLoadJpeg(s.d, c.file.data(), c.file.size(), &error));
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    EXPECT_EQ(error.rfind("JPEG: ", 0), 0u) << error;
    EXPECT_TRUE(s.Untouched());
  }
}

TEST(PictureCodecsTest, JpegWriterWritesJfifAndFollowsQuality) {
  const DIB_P photo = LoadPngFixture("photo-64x48.png");
  const DIB_P withAlpha = LoadPngFixture("photo-64x48-rgba.png");
  const uint8_t jfif[12] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01};
  Bytes low, high, four;
  std::string error;
  ASSERT_TRUE(DibSaveJpeg(photo, 20, low, &error)) << error;
  ASSERT_TRUE(DibSaveJpeg(photo, 95, high, &error)) << error;
  ASSERT_TRUE(DibSaveJpeg(withAlpha, 95, four, &error)) << error;
  for (const Bytes* b : {&low, &high, &four}) {
    ASSERT_GE(b->size(), 12u);
    EXPECT_EQ(std::memcmp(b->data(), jfif, 12), 0);  // packs take pictures with exactly this start
  }
  EXPECT_LT(low.size(), high.size());
  DIB_P back;
  ASSERT_TRUE(DibLoadJpeg(back, high.data(), high.size(), &error)) << error;
  EXPECT_LT(MeanColourDiff(back, photo), 5.0);
  ASSERT_TRUE(DibLoadJpeg(back, four.data(), four.size(), &error)) << error;
  EXPECT_LT(MeanColourDiff(back, photo), 5.0);  // the colours, not the alpha
  DIB_P empty;
  EXPECT_FALSE(DibSaveJpeg(empty, 90, low, &error));
}

// ---- the generic loader and files ----

TEST(PictureCodecsTest, LoadPictureGivesTwentyFourBitsOfEveryFormat) {
  const char* files[] = {"photo-64x48-24bit.bmp", "photo-64x48.png", "photo-64x48-rgba.png",
                         "photo-160x120-exif.jpg", "quant2-1bit.bmp"};
  for (const char* f : files) {
    SCOPED_TRACE(f);
    const Bytes b = Fixture(f);
    DIB_P d;
    std::string error;
    ASSERT_TRUE(DibLoadPicture(d, b.data(), b.size(), &error)) << error;
    EXPECT_EQ(d.BytesPerPixel, 3);
    EXPECT_EQ(d.HasAlpha, 0);
  }
  const DIB_P rgba = LoadPngFixture("photo-64x48-rgba.png");
  const Bytes b = Fixture("photo-64x48-rgba.png");
  DIB_P flat;
  ASSERT_TRUE(DibLoadPicture(flat, b.data(), b.size(), nullptr));
  EXPECT_EQ(MaxColourDiff(flat, rgba), 0);

  Sentinel s;
  const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0};
  std::string error;
  EXPECT_FALSE(DibLoadPicture(s.d, gif.data(), gif.size(), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(s.Untouched());
}

TEST(PictureCodecsTest, WholeFilesAndResources) {
  testing::TempDir dir;
  const std::string png = testing::ReadFile(testing::FixturePath("pictures/photo-64x48-rgba.png"));
  testing::WriteFile(dir.path() + "skins/window.png", png);
  testing::WriteFile(dir.path() + "empty.bin", "");

  Bytes bytes;
  std::string error;
  EXPECT_FALSE(ReadWholeFile(dir.path() + "missing.bmp", bytes, &error));
  EXPECT_NE(error.find("missing.bmp"), std::string::npos) << error;
  ASSERT_TRUE(ReadWholeFile(dir.path() + "empty.bin", bytes, &error)) << error;
  EXPECT_TRUE(bytes.empty());
  ASSERT_TRUE(ReadWholeFile(dir.path() + "skins/window.png", bytes, &error)) << error;
  EXPECT_EQ(bytes.size(), png.size());

  DIB_P d;
  ASSERT_TRUE(DibLoadPictureFile(d, testing::FixturePath("pictures/quant16-4bit.bmp"), &error)) << error;
  EXPECT_EQ(d.Width, 64);
  EXPECT_FALSE(DibLoadPictureFile(d, dir.path() + "empty.bin", &error));
  EXPECT_NE(error.find("empty.bin"), std::string::npos) << error;

  // Resources keep their alpha, with or without a slash after the folder.
  for (const std::string& folder : {dir.path() + "skins", dir.path() + "skins/"}) {
    DIB_P skin;
    ASSERT_TRUE(DibLoadPngResource(skin, folder, "window", &error)) << error;
    EXPECT_EQ(skin.BytesPerPixel, 4);
  }
  // A missing resource leaves no stale picture behind.
  DIB_P skin = MakeNumbered(4, 4, true);
  EXPECT_FALSE(DibLoadPngResource(skin, dir.path() + "skins", "glass", &error));
  EXPECT_EQ(skin.Width, 0);
  EXPECT_NE(error.find("glass.png"), std::string::npos) << error;
}

}  // namespace
}  // namespace varlo
