#include "app/game_shapes.h"

#include "app/open_flow.h"

namespace varlo {

void GameShapes::Prepare(NewGameRequest& req, const Platform& platform) {
  if (req.Level.ShapeStyle != 3) return;
  if (!read_) {
    read_ = true;
    result_ = LoadShapeLibrary(path_, library_, platform, &error_);
    // Only a complete library is used; the reader keeps nothing otherwise.
    if (result_ != ShapeLibraryResult::Loaded) library_.Entries.clear();
  }
  placement_ = std::make_unique<ShapePlacement>(library_);
  req.Artistic = placement_.get();
}

}  // namespace varlo
