#include "app/open_flow.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "cut/irregular_cut.h"
#include "cut/level_table.h"
#include "cut/rect_cut.h"
#include "cut/refresh_effects.h"
#include "files/jigsaw_pack.h"
#include "play/play_field.h"
#include "ui/lang.h"

namespace varlo {
namespace {

bool Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

// Shape style 3 without a shape library: the cut's candidates stay plain
// pieces, so the jigsaw is cut like style 0 with the same seed draws.
class PlainPieces final : public ArtisticPlacement {
 public:
  bool Place(IrregularAttempt& attempt) override {
    for (TILE_P& t : attempt.Tiles) t.Artistic = 0;
    return true;
  }
};

// Ends the progress phase on every way out.
struct ProgressScope {
  Progress& p;
  ~ProgressScope() { p.End(); }
};

}  // namespace

int32_t NewGameProgressSteps(const JIG_P& jig, int32_t embossStyle, int32_t woodStyle) {
  const bool effects = embossStyle != 0 || woodStyle != 0;
  int32_t steps = 13;
  if (jig.Rotate) steps += 6;
  if (effects) steps += 1;
  if (effects && jig.Rotate) steps += 3;
  return steps;
}

void ChooseGameSeed(JIG_P& jig, RandomGenerator& random, bool seedPanelShown,
                    const std::string& seedText) {
  if (seedPanelShown && !seedText.empty()) {
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(seedText.c_str(), &end, 10);
    const bool whole = end && *end == '\0' && end != seedText.c_str();
    if (whole && errno == 0 && v >= INT32_MIN && v <= INT32_MAX) {
      jig.GameSeed = static_cast<int32_t>(v);
      random.SetSeed(static_cast<uint32_t>(jig.GameSeed));
      return;
    }
  }
  jig.GameSeed = static_cast<int32_t>(random.Seed());
}

std::unique_ptr<GameSession> StartNewGame(const NewGameRequest& req, PlayField& field,
                                          RandomGenerator& random, Progress& progress,
                                          const Platform& platform, const LANG_P& lang,
                                          std::string* error) {
  auto session = std::make_unique<GameSession>();
  Jigsaw& jig = session->Jig;
  JIG_P& p = jig.Jig;
  p = req.Level;

  progress.Begin(LangText(lang, kLangMainForm, req.ProgressCaption),
                 NewGameProgressSteps(p, req.EmbossStyle, req.WoodStyle));
  ProgressScope scope{progress};

  PackRead pack;
  pack.Jig = p;
  std::string why;
  const OpenResult read = OpenJig(req.PackPath, OpenMode::Play, pack, &why);
  if (read != OpenResult::Ok) {
    Fail(error, read == OpenResult::NotValid ? "\"" + req.PackPath + "\" is not a jigsaw" : why);
    return nullptr;
  }
  progress.Step();
  p = pack.Jig;
  session->Info = std::move(pack.Info);
  if (req.Thumbnail && req.Thumbnail->Width > 0) {
    if (!DibFromBitmap(session->Thumbnail, *req.Thumbnail)) {
      Fail(error, "out of memory");
      return nullptr;
    }
  } else {
    PackRead thumb;
    thumb.Jig = p;
    if (OpenJig(req.PackPath, OpenMode::Thumbnail, thumb, nullptr) == OpenResult::Ok)
      session->Thumbnail = std::move(thumb.Thumbnail);
  }
  if (req.PhaseDone) req.PhaseDone("read");

  DIB_P& picture = jig.Images[kPictureSlot];
  picture = std::move(pack.Picture);
  p.ImageW = picture.Width;
  p.ImageH = picture.Height;
  if (p.FitToScreen && p.FitImageW > 0 && p.FitImageH > 0 &&
      (p.FitImageW != p.ImageW || p.FitImageH != p.ImageH)) {
    DIB_P fitted;
    if (!DibCreate24(fitted, p.FitImageW, p.FitImageH)) {
      Fail(error, "out of memory fitting the picture to the screen");
      return nullptr;
    }
    DibScale(fitted, picture);
    picture = std::move(fitted);
    p.ImageW = picture.Width;
    p.ImageH = picture.Height;
  }

  if (req.PhaseDone) req.PhaseDone("fit");

  // The level was evaluated for the preview's size; the grid follows the
  // picture actually cut.
  LevelTable table{};
  if (!EvaluateLevelCounts(p, table) || p.TileNum <= 0) {
    Fail(error, "this level cannot be played on this picture");
    return nullptr;
  }

  field.SetSideContent(p.ImageW, p.ImageH);
  progress.Step();
  const PlayArea area{field.ContentWidth(), field.ContentHeight(), field.FieldWidth(), field.FieldHeight()};
  progress.Step();

  ChooseGameSeed(p, random, req.SeedPanelShown, req.SeedText);

  if (!AllocPieces(jig, p.TotalTileNum + 1)) {
    Fail(error, "too many pieces");
    return nullptr;
  }
  progress.Step();
  if (req.PhaseDone) req.PhaseDone("seed");

  bool cut = false;
  if (p.ShapeStyle < 4) {
    PlainPieces plain;
    ArtisticPlacement* artistic = p.ShapeStyle == 3 ? (req.Artistic ? req.Artistic : &plain) : nullptr;
    cut = CutIrregularJigsaw(jig, random, progress, platform, LangTextBr(lang, kLangMainForm, "MS_PaintError"),
                             artistic);
  } else {
    DIB_P noAtlas;
    cut = CutRectangularJigsaw(jig, req.KnobAtlas ? *req.KnobAtlas : noAtlas, random, progress, platform);
  }
  if (!cut) {
    Fail(error, "the picture (" + std::to_string(p.ImageW) + " x " + std::to_string(p.ImageH) +
                    " pixels) could not be cut");
    return nullptr;
  }
  if (req.PhaseDone) req.PhaseDone("cut");
  if (!SetupNewGame(jig, area, random, progress)) {
    Fail(error, "out of memory turning the pictures");
    return nullptr;
  }
  if (req.PhaseDone) req.PhaseDone("setup");
  if (!RefreshEffects(jig, req.EmbossStyle, req.WoodStyle, progress)) {
    Fail(error, "out of memory building the piece effects");
    return nullptr;
  }
  if (req.PhaseDone) req.PhaseDone("effects");
  std::string name = req.PackPath.substr(req.PackPath.find_last_of("/\\") + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  session->JigName = name;
  return session;
}

int32_t ResumeProgressSteps(const JIG_P& jig, int32_t embossStyle, int32_t woodStyle) {
  const bool effects = embossStyle != 0 || woodStyle != 0;
  int32_t steps = kResumeReadSteps + 1;
  if (jig.Rotate) steps += 6;
  if (effects) steps += 1;
  if (effects && jig.Rotate) steps += 3;
  return steps;
}

std::unique_ptr<GameSession> ResumeSavedGame(const std::string& path, int32_t embossStyle,
                                             int32_t woodStyle, const std::string& caption,
                                             Progress& progress, std::string* error) {
  // The header says how much work lies ahead, so the panel stands before
  // the long read of the picture and the mask begins.
  SolveRead head;
  std::string why;
  OpenResult read = OpenSolve(path, OpenMode::Preview, head, &why);
  if (read != OpenResult::Ok) {
    Fail(error, read == OpenResult::NotValid ? "\"" + path + "\" is not a saved game" : why);
    return nullptr;
  }
  progress.Begin(caption, ResumeProgressSteps(head.Jig, embossStyle, woodStyle));
  ProgressScope scope{progress};
  SolveRead io;
  read = OpenSolve(path, OpenMode::Play, io, &why);
  if (read != OpenResult::Ok) {
    Fail(error, read == OpenResult::NotValid ? "\"" + path + "\" is not a saved game" : why);
    return nullptr;
  }
  // The picture, the mask, its margin and its shading are in.
  for (int32_t i = 0; i < kResumeReadSteps; ++i) progress.Step();
  SavedGame& g = io.Game;
  auto session = std::make_unique<GameSession>();
  Jigsaw& jig = session->Jig;
  jig.Jig = g.Jig;
  jig.Tiles = std::move(g.Pieces);
  jig.Images[kPictureSlot] = std::move(g.Picture);
  jig.Images[kMaskSlot] = std::move(g.Mask);
  if (!MakeRotatedImages(jig, progress)) {
    Fail(error, "out of memory turning the pictures");
    return nullptr;
  }
  for (int32_t i = 0; i < PieceCount(jig); ++i) PlaceRotated(jig, i);
  if (!RefreshEffects(jig, embossStyle, woodStyle, progress)) {
    Fail(error, "out of memory building the piece effects");
    return nullptr;
  }
  SortPieces(jig, false);
  progress.Step();  // the pieces are ready
  session->Thumbnail = std::move(g.Thumbnail);
  session->Info = std::move(g.Info);
  session->JigName = std::move(g.Name);
  session->FromSave = true;
  session->Settings = g.Settings;
  session->Pockets = g.Pockets;
  session->Weighted = g.Weighted;
  return session;
}

int32_t SideToShow(const Jigsaw& jig) {
  const int32_t n = PieceCount(jig);
  if (n == 0) return 0;
  const uint8_t w = jig.Tiles[0].Win;
  for (int32_t i = 1; i < n; ++i)
    if (jig.Tiles[static_cast<size_t>(i)].Win != w) return 0;
  return w <= 1 ? w : 0;
}

void AttachGame(PlayField& field, GameSession& session) {
  if (session.FromSave) {
    FieldOptions options = field.Options();
    options.Play = DecodePlayOptions(session.Settings.PlayOptions.data());
    field.SetOptions(options);
  }
  field.SetGameTexts(session.JigName, session.Info);
  field.OpenGame(&session.Jig);
  if (session.FromSave) {
    BkgBlock bkgs = field.Backgrounds();
    bkgs.Reserved0 = session.Settings.Reserved0;
    bkgs.Reserved1 = session.Settings.Reserved1;
    bkgs.lBkg = session.Settings.lBkg;
    for (size_t i = 0; i < bkgs.Win.size(); ++i) bkgs.Win[i] = session.Settings.WinBkg[i];
    field.SetBackgrounds(bkgs);
    field.ApplyPocketRecords(session.Pockets.data(), kPocketCount);
    field.SetWeightedPiece(session.Weighted);
    field.SwitchSide(SideToShow(session.Jig));
  }
  field.RequestFullRedraw();
}

SaveGameView SessionSaveView(const GameSession& session, const PlayField& field) {
  SaveGameView v;
  v.Name = &session.JigName;
  v.Jig = &session.Jig.Jig;
  v.Thumbnail = &session.Thumbnail;
  v.Picture = &session.Jig.Images[kPictureSlot];
  v.Mask = &session.Jig.Images[kMaskSlot];
  v.Info = &session.Info;
  SolveSettings& s = v.State.Settings;
  const BkgBlock& bkgs = field.Backgrounds();
  s.Reserved0 = bkgs.Reserved0;
  s.Reserved1 = bkgs.Reserved1;
  s.lBkg = bkgs.lBkg;
  for (size_t i = 0; i < s.WinBkg.size(); ++i) s.WinBkg[i] = bkgs.Win[i];
  EncodePlayOptions(field.Options().Play, s.PlayOptions.data());
  const size_t n = static_cast<size_t>(PieceCount(session.Jig));
  v.State.Pieces = std::span<const TILE_P>(session.Jig.Tiles.data(), n);
  field.StorePocketRecords(v.State.Pockets.data(), kPocketCount);
  v.State.Weighted = field.WeightedPiece();
  return v;
}

SaveOutcome SaveSession(const std::string& path, bool autosave, const GameSession& session,
                        const PlayField& field, SaveContext& ctx) {
  const SaveGameView view = SessionSaveView(session, field);
  return SaveSolve(path, autosave, view, ctx);
}

}  // namespace varlo
