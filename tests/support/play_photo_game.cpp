#include "support/play_photo_game.h"

#include <string>

#include "cut/knob_atlas.h"
#include "cut/level_table.h"
#include "cut/rect_cut.h"
#include "raster/picture_codecs.h"
#include "support/fake_platform.h"
#include "ui/lang.h"

namespace varlo::testing {

bool MakeCutPhotoGame(Jigsaw& jig, int32_t fw, int32_t fh) {
  DIB_P photo, pic;
  if (!DibLoadPictureFile(photo, std::string(VARLO_FIXTURE_DIR) + "/pictures/photo-160x120-exif.jpg", nullptr))
    return false;
  if (!DibCreate24(pic, 720, 480)) return false;
  DibScale(pic, photo);
  return CutPhotoGame(jig, pic, 17, true, fw, fh);
}

bool CutPhotoGame(Jigsaw& jig, const DIB_P& pic, int32_t seed, bool rotate, int32_t fw, int32_t fh) {
  jig = Jigsaw{};
  jig.Jig.ImageW = pic.Width;
  jig.Jig.ImageH = pic.Height;
  jig.Jig.ShapeStyle = 5;
  jig.Jig.Level = 3;
  jig.Jig.GameSeed = seed;
  jig.Jig.SpreadOut = 1;
  jig.Jig.Rotate = rotate ? 1 : 0;
  LevelTable table{};
  if (!EvaluateLevelCounts(jig.Jig, table)) return false;
  if (!AllocPieces(jig, jig.Jig.TotalTileNum + 1)) return false;
  DIB_P atlas;
  DrawKnobAtlas(atlas);
  FakePlatform fake;
  RandomGenerator random(static_cast<uint32_t>(jig.Jig.GameSeed));
  NullProgress progress;
  if (!CutRectangularJigsaw(jig, atlas, random, progress, fake.platform())) return false;
  DibFromBitmap(jig.Images[kPictureSlot], pic);
  PlayArea area{Max(fw, pic.Width), Max(fh, pic.Height), fw, fh};
  return SetupNewGame(jig, area, random, progress);
}

}  // namespace varlo::testing
