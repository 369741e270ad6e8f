// The play field's game: attaching an opened jigsaw, the change marker,
// the busy flag, pointer shapes and sounds.
#include "play/play_field.h"

namespace varlo {

bool PlayField::GameOpen() const { return jig_ != nullptr && PieceCount(*jig_) > 0; }

void PlayField::ResetInteraction() {
  DragState = kDragIdle;
  Picked = -1;
  DragOffX = DragOffY = 0;
  SelDrag = false;
  Selection = false;
  ClickPending = false;
  RectEmpty(Band);
  Frame = FrameDrag{};
  HoverCode = kHitNone;
  pressPiece_ = -1;
  weight_.Placing = false;
  star_.Step = -1;
  RectEmpty(prevHot_);
}

void PlayField::OpenGame(Jigsaw* jig, bool solved) {
  jig_ = jig;
  runs_.Clear();
  bSolved = solved ? 1 : 0;
  ResetInteraction();
  weight_.Piece = -1;
  JoinCount = 0;
  if (!GameOpen()) {
    RedrawMode = kRedrawAll;
    return;
  }
  for (TILE_P& t : jig_->Tiles) t.Sel = 0;
  SortPieces(*jig_, false);
  SetSideContent(jig_->Jig.ImageW, jig_->Jig.ImageH);
  SetupThumbnail(jig_->Jig.ImageW, jig_->Jig.ImageH);
  for (int32_t p = 0; p < kPocketWindows; ++p) {
    Wins[MW_POCKET + p].Groups = 0;
    SetTitle(Wins[MW_POCKET + p], PocketCaption(p));
    ShowPocket(p, false);
    PocketExtent(p);
  }
  view_->SetMenuEnabled(Command::GameArrange, false);
  view_->SetMenuEnabled(Command::FileSaveImage, bSolved != 0);
  UpdateWeightCommand();
  SwitchSide(0);
  RedrawMode = kRedrawAll;
}

void PlayField::CloseGame() {
  jig_ = nullptr;
  runs_.Clear();
  ResetInteraction();
  weight_.Piece = -1;
  RedrawMode = kRedrawAll;
}

void PlayField::SetDirtyFlag() {
  if (flags_) SetDirty(*flags_);
}

void PlayField::SetCursor(CursorShape shape) {
  if (platform_.Pointer) platform_.Pointer->SetCursor(shape);
}

void PlayField::PlaySound(const char* file, bool join) {
  if (!options_.SoundOn || !platform_.Sounds) return;
  const int64_t now = platform_.Time ? platform_.Time->NowMs() : 0;
  // A sound device cannot be asked whether it is still busy on every
  // system, so the previous sound's reported length decides.
  if (join && now < soundBusyUntilMs_) return;
  const int32_t length = platform_.Sounds->PlaySoundFile(paths_.SoundDir + file);
  soundBusyUntilMs_ = now + Max(0, length);
}

}  // namespace varlo
