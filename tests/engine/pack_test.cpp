// Jigsaw packs: the scrambled entry, the picture-kind tests, reading packs
// in their three modes, and refusing damaged packs without touching the
// caller's records.
#include "files/jigsaw_pack.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include "raster/byte_io.h"
#include "files/byte_source.h"
#include "files/entry_coding.h"
#include "files/info_text.h"
#include "raster/output_file.h"
#include "raster/picture_codecs.h"
#include "support/temp_home.h"

using namespace varlo;
using varlo::testing::FixturePath;
using varlo::testing::TempDir;
using varlo::testing::WriteFile;

namespace {

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> v(n);
  uint32_t s = 12345;
  for (auto& b : v) b = static_cast<uint8_t>((s = s * 1103515245u + 12345u) >> 16);
  return v;
}

std::string AsString(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

// A picture with a gradient and a few hard edges, so that decoding errors
// and row order mistakes show.
void MakePicture(DIB_P& d, int32_t w, int32_t h) {
  ASSERT_TRUE(DibCreate24(d, w, h));
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint8_t* p = DibPixel(d, x, y);
      p[0] = static_cast<uint8_t>(x * 255 / w);
      p[1] = static_cast<uint8_t>(y * 255 / h);
      p[2] = static_cast<uint8_t>((x / 8 + y / 8) % 2 ? 200 : 40);
    }
}

std::vector<uint8_t> Jpeg(const DIB_P& d) {
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_TRUE(DibSaveJpeg(d, 92, out, &error)) << error;
  return out;
}

std::vector<uint8_t> Bmp(const DIB_P& d) {
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_TRUE(DibSaveBmp(d, out, &error)) << error;
  return out;
}

struct PackFixture {
  DIB_P picture;
  PackParts parts;
  PackFixture(bool bmpPicture = false) {
    MakePicture(picture, 120, 90);
    DIB_P thumb;
    MakePicture(thumb, 40, 30);
    parts.ImageW = 120;
    parts.ImageH = 90;
    parts.ShortText = "Tulips";
    parts.Thumbnail = Jpeg(thumb);
    parts.Info = EncodeInfoUtf8("Tulips in the rain\nSecond line");
    parts.Picture = bmpPicture ? Bmp(picture) : Jpeg(picture);
  }
};

// The open dialog's working copy as it stands before a preview: level
// settings of the player's choice that a preview must keep.
JIG_P DialogCopy() {
  JIG_P j;
  j.GameSeed = 4242;
  j.Level = 7;
  j.ShapeStyle = 5;
  j.TotalTileNum = 99;
  j.ImageW = 1;
  j.ImageH = 1;
  j.ThumbEnd = {11, 22, 33};
  return j;
}

}  // namespace

// ---- the entry coding ----

TEST(EntryCoding, KnownBytesPinTheKeySchedule) {
  // A rotating key turns right: 0x81 -> 0xC0 -> 0x60 -> 0x30; a plain key stays.
  std::vector<uint8_t> zeros(4, 0);
  uint8_t key = 0x81;
  ScrambleBytes(zeros.data(), zeros.size(), key, true);
  EXPECT_EQ(zeros, (std::vector<uint8_t>{0x81, 0xC0, 0x60, 0x30}));
  EXPECT_EQ(key, 0x18);
  std::vector<uint8_t> plain(3, 0x0F);
  key = 0x5A;
  ScrambleBytes(plain.data(), plain.size(), key, false);
  EXPECT_EQ(plain, (std::vector<uint8_t>{0x55, 0x55, 0x55}));
  EXPECT_EQ(key, 0x5A);
}

TEST(EntryCoding, RunningKeyIgnoresBlockBoundaries) {
  // Sizes around the 50000-byte block of the original streaming reader,
  // split at awkward places: the result must equal one pass.
  for (size_t n : {size_t{0}, size_t{1}, size_t{7}, size_t{50000}, size_t{50001}}) {
    for (bool rotating : {false, true}) {
      const std::vector<uint8_t> plain = Pattern(n);
      std::vector<uint8_t> whole = plain, split = plain;
      uint8_t k1 = 0xA7, k2 = 0xA7;
      ScrambleBytes(whole.data(), n, k1, rotating);
      const size_t cut1 = n / 3, cut2 = n / 3 + (n > 5 ? 5 : 0);
      ScrambleBytes(split.data(), cut1, k2, rotating);
      ScrambleBytes(split.data() + cut1, cut2 - cut1, k2, rotating);
      ScrambleBytes(split.data() + cut2, n - cut2, k2, rotating);
      EXPECT_EQ(whole, split) << n << " rotating " << rotating;
      EXPECT_EQ(k1, k2);
      uint8_t k3 = 0xA7;
      ScrambleBytes(whole.data(), n, k3, rotating);  // the same operation undoes it
      EXPECT_EQ(whole, plain) << n;
    }
  }
}

TEST(EntryCoding, FileRoundTripOfEdgeSizes) {
  TempDir dir;
  const std::string path = dir.path() + "entries.bin";
  const std::vector<size_t> sizes = {0, 50000, 50001, 3};
  {
    OutputFile out;
    ASSERT_TRUE(out.Create(path, nullptr));
    for (size_t n : sizes) {
      const std::vector<uint8_t> p = Pattern(n);
      WriteEntry(out, static_cast<uint8_t>(n), n % 2 == 1, p.data(), p.size());
    }
    ASSERT_TRUE(out.Finish(nullptr));
  }
  FileSource in;
  ASSERT_TRUE(in.Open(path, nullptr));
  uint64_t expectedEnd = 0;
  for (size_t n : sizes) {
    std::vector<uint8_t> payload{1, 2, 3};
    EntryRead info;
    std::string error;
    ASSERT_TRUE(ReadEntry(in, static_cast<uint8_t>(n), n % 2 == 1, 1 << 20, payload, &info, &error))
        << error;
    expectedEnd += 4 + n;
    EXPECT_EQ(payload, Pattern(n));
    EXPECT_EQ(info.Size, n);
    EXPECT_EQ(info.EndPos, expectedEnd);
  }
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(EntryCoding, RefusesImpossibleLengthsBeforeAllocating) {
  struct Case {
    const char* name;
    int32_t n;
    size_t bytesAfter;
    uint64_t max;
  } cases[] = {
      {"negative", -1, 10, 100},
      {"most negative", INT32_MIN, 10, 100},
      {"past the end", 11, 10, 100},
      {"huge", INT32_MAX, 10, UINT64_MAX},
      {"over the limit", 10, 10, 9},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file(4 + c.bytesAfter, 0);
    PutI32(file.data(), c.n);
    MemorySource in(file.data(), file.size());
    std::vector<uint8_t> payload{9, 9};
    std::string error;
    EXPECT_FALSE(ReadEntry(in, 0, false, c.max, payload, nullptr, &error)) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
    EXPECT_EQ(payload.size(), 2u) << c.name << ": nothing allocated for a refused entry";
  }
  std::vector<uint8_t> shortFile{1, 0};
  MemorySource in(shortFile.data(), shortFile.size());
  std::vector<uint8_t> payload;
  EXPECT_FALSE(ReadEntry(in, 0, false, 100, payload, nullptr, nullptr));
}

TEST(PictureKinds, BySignature) {
  const std::vector<uint8_t> jfif = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00, 0x01, 0x01};
  const std::vector<uint8_t> exif = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x10, 'E', 'x', 'i', 'f', 0x00, 0x00};
  struct Case {
    std::vector<uint8_t> bytes;
    int32_t kind;
    bool jfif;
  } cases[] = {
      {jfif, 2, true},
      {exif, 2, false},
      {{'B', 'M', 0, 0}, 1, false},
      {{'G', 'I', 'F', '8', '9', 'a'}, 0, false},
      {{0xFF, 0xD8}, 0, false},
      {{'B'}, 0, false},
      {{}, 0, false},
  };
  TempDir dir;
  int i = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(PictureKind(c.bytes.data(), c.bytes.size()), c.kind) << i;
    EXPECT_EQ(IsJfif(c.bytes.data(), c.bytes.size()), c.jfif) << i;
    const std::string path = dir.path() + std::to_string(i++);
    WriteFile(path, AsString(c.bytes));
    EXPECT_EQ(PictureKind(path), c.kind) << path;
    EXPECT_EQ(IsJfif(path), c.jfif) << path;
  }
  EXPECT_EQ(PictureKind(dir.path() + "missing"), 0);
  EXPECT_FALSE(IsJfif(dir.path() + "missing"));
  // libjpeg's own output has the exact JFIF start the pack reader asks for.
  DIB_P d;
  MakePicture(d, 16, 16);
  const std::vector<uint8_t> j = Jpeg(d);
  EXPECT_TRUE(IsJfif(j.data(), j.size()));
}

TEST(InfoText, FourEncodingsGiveTheSameText) {
  const std::string text = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 caf\xC3\xA9\r\n\xE2\x82\xAC 5";
  const std::vector<uint8_t> le = EncodeInfoUtf16Le(text);
  std::vector<uint8_t> be = le;
  for (size_t i = 0; i + 1 < be.size(); i += 2) std::swap(be[i], be[i + 1]);
  const std::string ansi = "Gr\xFC\xDF" "e \x96 caf\xE9\r\n\x80 5";
  const std::vector<uint8_t> utf8 = EncodeInfoUtf8(text);
  EXPECT_EQ(DecodeInfoText(le.data(), le.size()), text);
  EXPECT_EQ(DecodeInfoText(be.data(), be.size()), text);
  EXPECT_EQ(DecodeInfoText(utf8.data(), utf8.size()), text);
  EXPECT_EQ(DecodeInfoText(reinterpret_cast<const uint8_t*>(ansi.data()), ansi.size()), text);
  // A character outside the basic plane survives the saved-game form.
  const std::string clef = "\xF0\x9D\x84\x9E";
  const std::vector<uint8_t> c = EncodeInfoUtf16Le(clef);
  EXPECT_EQ(c.size(), 6u);
  EXPECT_EQ(DecodeInfoText(c.data(), c.size()), clef);
}

// ---- reading packs ----

TEST(Pack, PreviewThenPlayReadsWhatWasPacked) {
  TempDir dir;
  for (bool bmpPicture : {false, true}) {
    PackFixture f(bmpPicture);
    const std::string path = dir.path() + (bmpPicture ? "Tulips.AST" : "Tulips.ast");
    WriteFile(path, AsString(BuildPack(f.parts)));

    PackRead io;
    io.Jig = DialogCopy();
    std::string error;
    ASSERT_EQ(OpenJig(path, OpenMode::Preview, io, &error), OpenResult::Ok) << error;
    EXPECT_EQ(io.Jig.ImageW, 120);
    EXPECT_EQ(io.Jig.ImageH, 90);
    EXPECT_EQ(io.Jig.SideNum, 1);
    EXPECT_EQ(io.Jig.SideInd, 0);
    EXPECT_EQ(io.Jig.PackTag, 's');  // last character of "Tulips"
    EXPECT_EQ(io.Jig.ThumbEnd[1], static_cast<int32_t>(kPackHeaderBytes + 4 + f.parts.Thumbnail.size()));
    EXPECT_EQ(io.Jig.ThumbEnd[0], 11);  // slots 0 and 2 are not set
    EXPECT_EQ(io.Jig.ThumbEnd[2], 33);
    EXPECT_EQ(io.Jig.Level, 7);  // the player's level choice stays
    EXPECT_EQ(io.Jig.GameSeed, 4242);
    EXPECT_EQ(io.Thumbnail.Width, 40);
    EXPECT_EQ(io.ThumbnailBytes, f.parts.Thumbnail);

    ASSERT_EQ(OpenJig(path, OpenMode::Play, io, &error), OpenResult::Ok) << error;
    EXPECT_EQ(io.Info, "Tulips in the rain\nSecond line");
    ASSERT_EQ(io.Picture.Width, 120);
    ASSERT_EQ(io.Picture.Height, 90);
    EXPECT_EQ(io.Picture.BytesPerPixel, 3);
    if (bmpPicture) {
      for (int32_t y = 0; y < 90; ++y)
        ASSERT_EQ(std::memcmp(DibRow(io.Picture, y), DibRow(f.picture, y), 120 * 3), 0) << y;
    } else {
      // Lossy, but close: a swapped row order or channel would be far off.
      int64_t diff = 0;
      for (int32_t y = 0; y < 90; ++y)
        for (int32_t x = 0; x < 120 * 3; ++x)
          diff += std::abs(DibRow(io.Picture, y)[x] - DibRow(f.picture, y)[x]);
      EXPECT_LT(diff / (120 * 90 * 3), 12);
    }
  }
}

TEST(Pack, ThumbnailModeChangesOnlyTheThumbnail) {
  TempDir dir;
  PackFixture f;
  const std::string path = dir.path() + "a.ast";
  WriteFile(path, AsString(BuildPack(f.parts)));
  PackRead io;
  io.Jig = DialogCopy();
  ASSERT_EQ(OpenJig(path, OpenMode::Thumbnail, io, nullptr), OpenResult::Ok);
  EXPECT_EQ(io.Jig, DialogCopy());
  EXPECT_EQ(io.Thumbnail.Width, 40);
}

TEST(Pack, ShortTextTag) {
  TempDir dir;
  struct Case {
    std::string text;
    int32_t tag;
  } cases[] = {{"", 0}, {"A", 'A'}, {"123456789", '9'}, {"toolongtext", 'e'}};
  for (const Case& c : cases) {
    PackFixture f;
    f.parts.ShortText = c.text;
    const std::string path = dir.path() + "t.ast";
    WriteFile(path, AsString(BuildPack(f.parts)));
    PackRead io;
    ASSERT_EQ(OpenJig(path, OpenMode::Preview, io, nullptr), OpenResult::Ok);
    EXPECT_EQ(io.Jig.PackTag, c.tag) << c.text;
  }
}

TEST(Pack, DamagedOrForeignPacksLeaveTheRecordUntouched) {
  std::vector<uint8_t> exifBytes;
  ASSERT_TRUE(ReadWholeFile(FixturePath("pictures/photo-160x120-exif.jpg"), exifBytes, nullptr));
  DIB_P small;
  MakePicture(small, 60, 90);

  struct Case {
    const char* name;
    // Damage done to the parts before the pack is built, and to its bytes after.
    std::function<void(PackParts&, std::vector<uint8_t>&)> damage;
    OpenMode mode;
    OpenResult expected;
    const char* fileName = "p.ast";
  };
  const Case cases[] = {
      {"byte 8 not zero", [](PackParts&, std::vector<uint8_t>& b) { if (!b.empty()) b[8] = '!'; }, OpenMode::Preview,
       OpenResult::NotValid},
      {"other magic", [](PackParts&, std::vector<uint8_t>& b) { if (!b.empty()) b[0] = 'X'; }, OpenMode::Preview,
       OpenResult::NotValid},
      {"not a pack name", [](PackParts&, std::vector<uint8_t>&) {}, OpenMode::Preview,
       OpenResult::NotValid, "p.jpg"},
      {"GIF thumbnail",
       [](PackParts& p, std::vector<uint8_t>&) { p.Thumbnail = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}; },
       OpenMode::Preview, OpenResult::NotValid},
      {"thumbnail that is no picture",
       [](PackParts& p, std::vector<uint8_t>&) { p.Thumbnail.assign(100, 0x33); }, OpenMode::Preview,
       OpenResult::NotValid},
      {"broken JPEG thumbnail",
       [](PackParts& p, std::vector<uint8_t>&) { p.Thumbnail.resize(p.Thumbnail.size() / 2); },
       OpenMode::Preview, OpenResult::Failed},
      {"header cut short", [](PackParts&, std::vector<uint8_t>& b) { if (!b.empty()) b.resize(20); }, OpenMode::Preview,
       OpenResult::Failed},
      {"zero width", [](PackParts& p, std::vector<uint8_t>&) { p.ImageW = 0; }, OpenMode::Preview,
       OpenResult::Failed},
      {"side over 20000", [](PackParts& p, std::vector<uint8_t>&) { p.ImageH = 20001; },
       OpenMode::Preview, OpenResult::Failed},
      {"negative thumbnail length", [](PackParts&, std::vector<uint8_t>& b) { if (!b.empty()) PutI32(b.data() + 27, -5); },
       OpenMode::Preview, OpenResult::Failed},
      {"thumbnail length past the end",
       [](PackParts&, std::vector<uint8_t>& b) {
         if (!b.empty()) PutI32(b.data() + 27, static_cast<int32_t>(b.size()));
       },
       OpenMode::Preview, OpenResult::Failed},
      {"picture cut short", [](PackParts&, std::vector<uint8_t>& b) { if (!b.empty()) b.resize(b.size() - 100); },
       OpenMode::Play, OpenResult::Failed},
      {"Exif picture goes to the bitmap loader",
       [&](PackParts& p, std::vector<uint8_t>&) {
         p.Picture = exifBytes;
         p.ImageW = 160;
         p.ImageH = 120;
       },
       OpenMode::Play, OpenResult::Failed},
      {"picture smaller than the header says",
       [&](PackParts& p, std::vector<uint8_t>&) { p.Picture = Bmp(small); }, OpenMode::Play,
       OpenResult::Failed},
      {"picture that is no picture",
       [](PackParts& p, std::vector<uint8_t>&) { p.Picture.assign(5000, 0x42); }, OpenMode::Play,
       OpenResult::Failed},
  };
  TempDir dir;
  for (const Case& c : cases) {
    PackFixture f;
    PackParts parts = f.parts;
    std::vector<uint8_t> none;
    c.damage(parts, none);  // lambdas that touch bytes do nothing on an empty vector
    std::vector<uint8_t> bytes = BuildPack(parts);
    PackParts unused = f.parts;
    c.damage(unused, bytes);
    const std::string path = dir.path() + c.fileName;
    WriteFile(path, AsString(bytes));

    PackRead io;
    io.Jig = DialogCopy();
    if (c.mode == OpenMode::Play) {
      io.Jig.ImageW = GetI32(bytes.data() + 9);
      io.Jig.ImageH = GetI32(bytes.data() + 13);
    }
    MakePicture(io.Thumbnail, 7, 5);
    MakePicture(io.Picture, 9, 3);
    io.Info = "previous info";
    const JIG_P before = io.Jig;
    std::string error;
    EXPECT_EQ(OpenJig(path, c.mode, io, &error), c.expected) << c.name;
    if (c.expected == OpenResult::Failed) {
      EXPECT_FALSE(error.empty()) << c.name;
    } else {
      EXPECT_TRUE(error.empty()) << c.name << ": " << error;
    }
    EXPECT_EQ(io.Jig, before) << c.name;
    EXPECT_EQ(io.Thumbnail.Width, 7) << c.name;
    EXPECT_EQ(io.Picture.Width, 9) << c.name;
    EXPECT_EQ(io.Info, "previous info") << c.name;
  }
}

TEST(Pack, PlayRefusesAPackChangedSincePreview) {
  TempDir dir;
  PackFixture f;
  const std::string path = dir.path() + "a.ast";
  WriteFile(path, AsString(BuildPack(f.parts)));
  PackRead io;
  ASSERT_EQ(OpenJig(path, OpenMode::Preview, io, nullptr), OpenResult::Ok);
  PackFixture other;
  other.parts.ImageW = 60;
  DIB_P p;
  MakePicture(p, 60, 90);
  other.parts.Picture = Jpeg(p);
  WriteFile(path, AsString(BuildPack(other.parts)));
  std::string error;
  EXPECT_EQ(OpenJig(path, OpenMode::Play, io, &error), OpenResult::Failed);
  EXPECT_EQ(io.Picture.Width, 0);
}

TEST(Pack, MissingFileIsSimplyNotValid) {
  TempDir dir;
  PackRead io;
  std::string error;
  EXPECT_EQ(OpenJig(dir.path() + "gone.ast", OpenMode::Preview, io, &error), OpenResult::NotValid);
  EXPECT_TRUE(error.empty());
}

// ---- limits ----

namespace {

// A small JPEG whose frame header claims another size: what a damaged or
// hostile file looks like to a reader that trusts it.
std::vector<uint8_t> JpegClaiming(int32_t w, int32_t h) {
  DIB_P d;
  MakePicture(d, 16, 16);
  std::vector<uint8_t> b = Jpeg(d);
  for (size_t i = 2; i + 9 < b.size(); ++i)
    if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC2)) {
      b[i + 5] = static_cast<uint8_t>(h >> 8);
      b[i + 6] = static_cast<uint8_t>(h);
      b[i + 7] = static_cast<uint8_t>(w >> 8);
      b[i + 8] = static_cast<uint8_t>(w);
      return b;
    }
  ADD_FAILURE() << "no frame header";
  return b;
}

}  // namespace

// What lies beyond the limits is refused from the header: the file size, the
// picture size the pack gives, the thumbnail's size, before anything is
// decoded or allocated.
TEST(Pack, ReaderRefusesWhatExceedsTheLimits) {
  DIB_P wideThumb;
  MakePicture(wideThumb, kMaxThumbnailSide + 52, 10);
  struct Case {
    const char* name;
    std::function<void(PackParts&)> change;
    uint64_t fileSize = 0;  // made sparse to this size
    const char* says;
  };
  const Case cases[] = {
      // A saved game keeps the thumbnail as a bitmap in an entry of at most
      // 16 MiB: a pack's thumbnail may not be larger than that allows.
      {"thumbnail wider than a saved game holds",
       [&](PackParts& p) { p.Thumbnail = Jpeg(wideThumb); }, 0, "2100 x 10"},
      {"picture of 13000 x 13000",
       [](PackParts& p) {
         p.ImageW = p.ImageH = 13000;
         p.Picture = JpegClaiming(13000, 13000);
       },
       0, "13000 x 13000"},
      {"a file of over 400 MB", [](PackParts&) {}, kMaxPackBytes + 1, "bytes"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    PackFixture f;
    c.change(f.parts);
    const std::string path = dir.path() + "big.ast";
    WriteFile(path, AsString(BuildPack(f.parts)));
    if (c.fileSize) std::filesystem::resize_file(path, c.fileSize);
    PackRead io;
    std::string error;
    EXPECT_EQ(OpenJig(path, OpenMode::Preview, io, &error), OpenResult::Failed) << c.name;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.name << ": " << error;
    EXPECT_EQ(io.Thumbnail.Width, 0) << c.name;
  }
}

// The codecs check the size a picture's header gives before they allocate
// its pixels: a small file claiming a huge picture is refused by its size,
// not after half a gigabyte was set aside for it.
TEST(Pack, CodecsRefuseAClaimedSizeBeyondTheLimitsBeforeDecoding) {
  DIB_P d;
  std::string error;
  EXPECT_FALSE(DibLoadJpeg(d, JpegClaiming(13000, 13000).data(), JpegClaiming(13000, 13000).size(), &error));
  EXPECT_NE(error.find("out of range (13000 x 13000)"), std::string::npos) << error;
  EXPECT_EQ(d.Width, 0);
}

// The pack writer makes nothing its reader refuses or the cut cannot serve,
// and says what is wrong.
TEST(Pack, WriterChecksWhatTheReaderAndTheCutTake) {
  DIB_P tiny, wideThumb;
  MakePicture(tiny, 1, 1);
  MakePicture(wideThumb, kMaxThumbnailSide + 1, 8);
  struct Case {
    const char* name;
    std::function<void(PackParts&)> change;
    const char* says;  // empty: accepted
  };
  const Case cases[] = {
      {"sound parts", [](PackParts&) {}, ""},
      {"1 x 1 picture",
       [&](PackParts& p) {
         p.ImageW = p.ImageH = 1;
         p.Picture = Jpeg(tiny);
       },
       "1 x 1 pixels"},
      {"info text over 4 MiB", [](PackParts& p) { p.Info.assign((4u << 20) + 1, 'a'); }, "info text"},
      {"info text of exactly 4 MiB", [](PackParts& p) { p.Info.assign(4u << 20, 'a'); }, ""},
      {"thumbnail too large", [&](PackParts& p) { p.Thumbnail = Jpeg(wideThumb); }, "thumbnail"},
      {"picture of another size than given", [](PackParts& p) { p.ImageW = 121; }, "picture entry"},
  };
  for (const Case& c : cases) {
    PackFixture f;
    c.change(f.parts);
    const std::string bad = CheckPackParts(f.parts);
    if (std::string(c.says).empty()) {
      EXPECT_EQ(bad, "") << c.name;
      // ... and the reader takes it.
      const std::vector<uint8_t> bytes = BuildPack(f.parts);
      MemorySource pack(bytes.data(), bytes.size());
      PackRead io;
      std::string error;
      ASSERT_EQ(ReadPack(pack, OpenMode::Preview, io, &error), OpenResult::Ok) << c.name << ": " << error;
      ASSERT_EQ(ReadPack(pack, OpenMode::Play, io, &error), OpenResult::Ok) << c.name << ": " << error;
    } else {
      EXPECT_NE(bad.find(c.says), std::string::npos) << c.name << ": " << bad;
    }
  }
}
