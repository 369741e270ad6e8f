// The level page of the open dialog (TS_Level): piece size, shape, border,
// mix, rotation and fit to screen, with the picture's thumbnail, the piece
// count and a sample piece at its real size.
//
// The page works on the dialog's working JIG_P and keeps every choice in the
// remembered default level as well. The counting is the engine's level
// table; the page only shows it.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "cut/level_table.h"
#include "raster/dib.h"
#include "jigsaw/jig_params.h"

class QLabel;
class QSlider;
class QFrame;

namespace varlo {

struct LANG_P;
class ChoicePicture;
class ClickLabel;
class ClickPanel;
class SelectionFrame;

class LevelPage : public QWidget {
  Q_OBJECT
 public:
  LevelPage(JIG_P& browserJig, JIG_P& defaultJig, QWidget* parent);
  ~LevelPage() override;

  // The texts of the page from the current language.
  void ApplyTexts(const LANG_P& lang);
  // Whether a saved game is selected (its settings cannot be changed).
  void SetSavedGameTest(std::function<bool()> test) { isSavedGame_ = std::move(test); }

  // Sets the page from a parameter block.
  void SetLevelControls(const JIG_P& b);
  // Recomputes the counts of the working copy (for a pack), shows the piece
  // count and the sample; true when the level may be played.
  bool EvaluateLevel(bool isPack);
  void EnableLevelControls(bool on);
  bool LevelControlsEnabled() const { return enabled_; }
  // The thumbnail and piece-size panels.
  void ShowPanels(bool show);
  bool PanelsShown() const;
  void SetThumbnail(const DIB_P& thumb);
  void SetThumbCaption(const QString& text);
  void SetPieceCountText(int32_t count);
  QSize ThumbSize() const { return {240, 180}; }

  // Event handlers (public so the dialog's tests can press them).
  void ShapeMouseDown(int shape);
  void BorderMouseDown(int border);
  void MixMouseDown(int mix);
  void I_RotationMouseDown();
  void I_FitToScreenMouseDown();
  void SB_PieceSizeChange(int position);
  void FormResize();

  const LevelTable& Table() const { return table_; }
  QSlider* PieceSizeSlider() const { return sbPieceSize_; }
  QLabel* PieceSizeLabel() const;
  QWidget* PiecePreviewImage() const;
  const DIB_P& PiecePreview() const { return piecePreview_; }
  // The piece counts under the two ends of the slider.
  QLabel* MostPiecesLabel() const { return lMostPieces_; }
  QLabel* FewestPiecesLabel() const { return lFewestPieces_; }
  ChoicePicture* RotationPicture() const { return iRotation_; }
  ChoicePicture* FitToScreenPicture() const { return iFitToScreen_; }

 signals:
  // The OK button's enabled state after a change of choice.
  void levelAcceptable(bool ok);

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  void BuildArt();
  void BuildControls();
  void ShowPiecePreview();
  void UpdateLabels();
  void UpdateSliderEnds();
  bool Locked() const { return isSavedGame_ && isSavedGame_(); }

  JIG_P& jig_;
  JIG_P& def_;
  LevelTable table_{};
  std::function<bool()> isSavedGame_;
  bool enabled_ = true;
  int shape_ = 3, border_ = 0, mix_ = 0, rotation_ = 0, fit_ = 0;
  bool isPack_ = false;

  // Texts.
  std::array<QString, 7> shapeNames_;
  std::array<QString, 2> borderNames_, mixNames_;
  QString rotateOn_, rotateOff_, fitOn_, fitOff_, mixCaption_, pieceNumTemplate_, pieceEndTemplate_;

  // Pictures.
  DIB_P shapeMasks_, shapeTexture_, shapeStrip_, borderStrip_, mixStrip_, rotationStrip_, fitStrip_;
  DIB_P piecePreview_;
  DIB_P thumb_;
  uint32_t face_ = 0xF0F0F0;

  // Controls.
  QWidget* content_ = nullptr;  // P_Content, 726 x 550, centred
  QFrame* pThumb_ = nullptr;
  QLabel* iThumb_ = nullptr;
  ClickLabel* lThumb_ = nullptr;
  QFrame* pPieceSize_ = nullptr;
  QFrame* pPiecePreview_ = nullptr;
  QLabel* iPieceSize_ = nullptr;
  ClickLabel* lPieceSize_ = nullptr;
  QSlider* sbPieceSize_ = nullptr;
  QLabel* lMostPieces_ = nullptr;
  QLabel* lFewestPieces_ = nullptr;
  QFrame* pShapes_ = nullptr;
  ClickLabel* lShapes_ = nullptr;
  std::array<ChoicePicture*, 7> iShapes_{};
  SelectionFrame* bSelShape_ = nullptr;
  QFrame* pBorders_ = nullptr;
  ClickLabel* lBorders_ = nullptr;
  std::array<ChoicePicture*, 2> iBorders_{};
  SelectionFrame* bSelBorder_ = nullptr;
  QFrame* pMix_ = nullptr;
  ClickLabel* lMix_ = nullptr;
  ClickLabel* lMixName_ = nullptr;
  std::array<ChoicePicture*, 2> iMix_{};
  SelectionFrame* bSelMix_ = nullptr;
  ClickPanel* pRotation_ = nullptr;
  ChoicePicture* iRotation_ = nullptr;
  ClickLabel* lRotation_ = nullptr;
  SelectionFrame* bSelRotation_ = nullptr;
  ClickPanel* pFitToScreen_ = nullptr;
  ChoicePicture* iFitToScreen_ = nullptr;
  ClickLabel* lFitToScreen_ = nullptr;
  SelectionFrame* bSelFitToScreen_ = nullptr;
};

}  // namespace varlo
