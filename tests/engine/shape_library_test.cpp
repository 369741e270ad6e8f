// The shape library: its file is read whole or not at all, a wrong magic
// says so in a box, and every drawing the build made plays as one solid
// area, however it is flipped, turned and sized.
#include "cut/shape_library.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "cut/emf_player.h"
#include "cut/emf_records.h"
#include "cut/emf_writer.h"
#include "raster/byte_io.h"
#include "support/fake_platform.h"
#include "support/pixel_areas.h"
#include "support/temp_home.h"

namespace varlo {
namespace {

using testing_pixels::Components;
using testing_pixels::CountColour;

std::vector<uint8_t> Triangle(int32_t w, int32_t h) {
  EmfWriter e(w, h);
  e.CreateBrush(1, 0);
  e.SelectObject(1);
  e.PointList(kEmrPolygon, {{0, h - 1}, {w / 2, 0}, {w - 1, h - 1}}, false);
  return e.Finish();
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& b) {
  testing::WriteFile(path, std::string(b.begin(), b.end()));
}

std::vector<uint8_t> TwoEntries() {
  return BuildShapeLibrary({{Triangle(40, 30), 40, 30, true, false}, {Triangle(20, 50), 20, 50, false, true}});
}

TEST(ShapeLibrary, ReadsWhatTheBuilderWrote) {
  const std::vector<uint8_t> b = TwoEntries();
  ShapeLibrary lib;
  std::string error;
  ASSERT_EQ(ParseShapeLibrary(b.data(), b.size(), lib, &error), ShapeLibraryResult::Loaded) << error;
  ASSERT_EQ(lib.Entries.size(), 2u);
  EXPECT_EQ(lib.Entries[0].DesignWidth, 40);
  EXPECT_EQ(lib.Entries[0].DesignHeight, 30);
  EXPECT_TRUE(lib.Entries[0].FlipTopBottom);
  EXPECT_FALSE(lib.Entries[0].FlipLeftRight);
  EXPECT_FALSE(lib.Entries[1].FlipTopBottom);
  EXPECT_TRUE(lib.Entries[1].FlipLeftRight);
  EXPECT_EQ(lib.Entries[1].Drawing.Width, 20);
  EXPECT_EQ(lib.Entries[1].Drawing.Bytes, Triangle(20, 50));
  // The directory as laid out: magic, count, offsets on 4-byte boundaries.
  EXPECT_EQ(std::memcmp(b.data(), "BJ61DAT ", 8), 0);
  EXPECT_EQ(GetI32(&b[8]), 2);
  EXPECT_EQ(GetU32(&b[12]), 12u + 80u);
  EXPECT_EQ(GetU32(&b[12 + 40]) % 4, 0u);
  EXPECT_EQ(b[12 + 32], 1);
  EXPECT_EQ(b[12 + 40 + 33], 1);

  const std::vector<uint8_t> none = BuildShapeLibrary({});
  EXPECT_EQ(ParseShapeLibrary(none.data(), none.size(), lib, nullptr), ShapeLibraryResult::Loaded);
  EXPECT_TRUE(lib.Empty());
}

TEST(ShapeLibrary, RefusesDamagedFilesWhole) {
  struct Case {
    const char* name;
    ShapeLibraryResult result;
    std::function<void(std::vector<uint8_t>&)> damage;
  };
  const Case cases[] = {
      {"zero byte instead of the blank", ShapeLibraryResult::WrongMagic, [](auto& b) { b[7] = 0; }},
      {"lower-case magic", ShapeLibraryResult::WrongMagic, [](auto& b) { std::memcpy(b.data(), "bj61dat ", 8); }},
      {"empty file", ShapeLibraryResult::WrongMagic, [](auto& b) { b.clear(); }},
      {"magic only", ShapeLibraryResult::Damaged, [](auto& b) { b.resize(8); }},
      {"negative count", ShapeLibraryResult::Damaged, [](auto& b) { PutI32(&b[8], -1); }},
      {"count beyond the directory", ShapeLibraryResult::Damaged, [](auto& b) { PutI32(&b[8], 3); }},
      {"huge count", ShapeLibraryResult::Damaged, [](auto& b) { PutI32(&b[8], 0x7FFFFFFF); }},
      {"entry beyond the end", ShapeLibraryResult::Damaged,
       [](auto& b) { PutU32(&b[12 + 40], static_cast<uint32_t>(b.size()) - 8); }},
      {"size that wraps", ShapeLibraryResult::Damaged, [](auto& b) { PutU32(&b[12 + 44], 0xFFFFFFF0u); }},
      {"drawing cut short", ShapeLibraryResult::Damaged,
       [](auto& b) { PutU32(&b[12 + 44], GetU32(&b[12 + 44]) - 4); }},
      {"drawing that is not an EMF", ShapeLibraryResult::Damaged, [](auto& b) { b[GetU32(&b[12]) + 40] ^= 0xFF; }},
      {"zero design width", ShapeLibraryResult::Damaged, [](auto& b) { PutI32(&b[12 + 8], 0); }},
      {"huge design height", ShapeLibraryResult::Damaged, [](auto& b) { PutI32(&b[12 + 40 + 12], 1 << 20); }},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> b = TwoEntries();
    c.damage(b);
    ShapeLibrary lib;
    std::string error;
    EXPECT_EQ(ParseShapeLibrary(b.data(), b.size(), lib, &error), c.result) << c.name;
    EXPECT_TRUE(lib.Empty()) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
}

TEST(ShapeLibrary, WrongMagicShowsTheBoxAndLeavesTheLibraryEmpty) {
  testing::TempDir dir;
  std::vector<uint8_t> b = TwoEntries();
  b[7] = 0;
  const std::string path = dir.path() + "pic_varlo.dat";
  WriteBytes(path, b);
  testing::FakePlatform fake;
  ShapeLibrary lib;
  EXPECT_EQ(LoadShapeLibrary(path, lib, fake.platform(), nullptr), ShapeLibraryResult::WrongMagic);
  EXPECT_TRUE(lib.Empty());
  ASSERT_EQ(fake.messages.size(), 1u);
  EXPECT_EQ(fake.messages[0].text, "Invalid DAT file!");
  EXPECT_EQ(fake.messages[0].style, kMsgExclamationOk);

  // A damaged or missing file leaves the message to the caller.
  std::vector<uint8_t> cut = TwoEntries();
  cut.resize(30);
  WriteBytes(path, cut);
  std::string error;
  EXPECT_EQ(LoadShapeLibrary(path, lib, fake.platform(), &error), ShapeLibraryResult::Damaged);
  EXPECT_EQ(LoadShapeLibrary(dir.path() + "none.dat", lib, fake.platform(), &error),
            ShapeLibraryResult::Unreadable);
  EXPECT_EQ(fake.messages.size(), 1u);
  WriteBytes(path, TwoEntries());
  EXPECT_EQ(LoadShapeLibrary(path, lib, fake.platform(), &error), ShapeLibraryResult::Loaded);
  EXPECT_EQ(lib.Entries.size(), 2u);
}

#ifdef VARLO_SHAPE_LIBRARY_BUILT
// The library of the build: enough drawings, each one solid area in the
// piece's colour at the sizes cells have, in every form a placement makes.
// (Where a tail or a trunk nearly touches the body a small white pocket can
// be closed in; the mask clean-up gives such pockets to the piece around
// them.)
TEST(ShapeLibrary, EveryBuiltDrawingPlaysAsOneSolidArea) {
  const std::string text = testing::ReadFile(std::string(VARLO_BINARY_DIR) + "/bin/pic_varlo.dat");
  const std::vector<uint8_t> b(text.begin(), text.end());
  ShapeLibrary lib;
  std::string error;
  ASSERT_EQ(ParseShapeLibrary(b.data(), b.size(), lib, &error), ShapeLibraryResult::Loaded) << error;
  ASSERT_GE(lib.Entries.size(), 30u);
  const uint32_t colour = MakeRGB(128, 0, 42);
  for (size_t i = 0; i < lib.Entries.size(); ++i) {
    const ShapeEntry& e = lib.Entries[i];
    EXPECT_EQ(e.Drawing.Width, e.DesignWidth) << i;
    EXPECT_EQ(e.Drawing.Height, e.DesignHeight) << i;
    for (int32_t angle : {-30, 0, 17, 29}) {
      for (int flips = 0; flips < 4; ++flips) {
        const bool lr = flips & 1, tb = flips & 2;
        if ((lr && !e.FlipLeftRight) || (tb && !e.FlipTopBottom)) continue;
        EmfDrawing d = e.Drawing;
        EmfFlip(d, lr, tb);
        EmfTurn(d, angle);
        EmfRecolour(d, colour);
        for (double scale : {0.3, 0.6, 1.2}) {
          const int32_t w = static_cast<int32_t>(d.Width * scale + 0.5), h = static_cast<int32_t>(d.Height * scale + 0.5);
          DIB_P out;
          ASSERT_TRUE(DibCreate24(out, w + 6, h + 6));
          DibFillRect(out, 0, 0, out.Width, out.Height, MakeRGB(255, 255, 255));
          ASSERT_TRUE(EmfPlay(d, out, 3, 3, w, h));
          EXPECT_EQ(Components(out, colour), 1) << "entry " << i << " angle " << angle << " flips " << flips
                                                << " scale " << scale;
          // Nothing else than the colour and the white around it.
          EXPECT_EQ(CountColour(out, colour) + CountColour(out, MakeRGB(255, 255, 255)), out.Width * out.Height);
          // A solid area covers a fair part of its box.
          EXPECT_GT(CountColour(out, colour), w * h / 6) << "entry " << i;
        }
      }
    }
  }
}
#endif

}  // namespace
}  // namespace varlo
