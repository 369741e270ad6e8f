// The drawings of the artistic pieces for the games of one run. The shape
// library is read the first time a game with shape style 3 is cut and kept
// for every later game of the run, so a second game neither reads the file
// again nor shows its warning twice.
//
// A library that cannot serve (no entries, missing, damaged, or not a shape
// library, which the reader announces with "Invalid DAT file!") still lets
// style 3 be played: the pieces stay plain and are cut with the same draws
// as style 0.
#pragma once

#include <memory>
#include <string>

#include "cut/shape_library.h"
#include "cut/shape_placement.h"

namespace varlo {

struct NewGameRequest;
struct Platform;

class GameShapes {
 public:
  explicit GameShapes(std::string libraryPath) : path_(std::move(libraryPath)) {}

  // For a level with shape style 3, reads the library when it has not been
  // read yet and points req.Artistic at a fresh placement over it; other
  // styles are left untouched and read nothing. req.Artistic stays valid
  // until the next call.
  void Prepare(NewGameRequest& req, const Platform& platform);

  bool Read() const { return read_; }
  ShapeLibraryResult ReadResult() const { return result_; }
  const std::string& ReadError() const { return error_; }  // why a library did not load
  const ShapeLibrary& Library() const { return library_; }

 private:
  std::string path_;
  bool read_ = false;
  ShapeLibraryResult result_ = ShapeLibraryResult::Unreadable;
  std::string error_;
  ShapeLibrary library_;
  std::unique_ptr<ShapePlacement> placement_;
};

}  // namespace varlo
