// What the open dialog reads of packs and saved games: the preview (header,
// parameter block and thumbnail) and the list thumbnail. Kept apart from the
// dialog so the dialog does not see the saved-game format.
#pragma once

#include <cstdint>
#include <string>

#include "raster/dib.h"
#include "jigsaw/jig_params.h"

namespace varlo {

struct FilePreview {
  bool Ok = false;
  JIG_P Jig;            // a pack: the working copy with the picture size; a saved game: its block
  DIB_P Thumbnail;      // the full-size thumbnail
  std::string SolveJig; // a saved game: the jigsaw name stored in it
  std::string Error;    // why a damaged file could not be read
};

// Reads a pack in preview mode; jig is the working copy to start from (the
// default level), whose level fields the pack keeps.
FilePreview PreviewPack(const std::string& path, const JIG_P& start);
FilePreview PreviewSavedGame(const std::string& path);

// The picture of a list item: for a pack the installation's ready-made
// thumbnail (thumbDir + name + ".jpg") when there is one, else the pack's
// own; for a saved game its stored thumbnail. False when none can be read.
bool LoadListThumbnail(const std::string& path, const std::string& thumbDir, DIB_P& out);

// What a list picture was made from: the file's size and modification time.
// A picture whose file no longer has the same stamp is made again.
struct FileStamp {
  bool Ok = false;  // false: the file could not be looked at
  uint64_t Size = 0;
  int64_t ModifiedNs = 0;  // nanoseconds of the file clock
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
FileStamp StampOf(const std::string& path);

// The solved percentage of a saved game, from the groups of its piece
// table (100 once every piece is joined); -1 when the file is not a sound
// saved game. Reads the header and the piece table only.
int32_t SavedGameSolvedPercent(const std::string& path);

}  // namespace varlo
