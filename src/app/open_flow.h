// From a chosen file to a playable game, and back to a saved game: the
// sequences of engine work behind Open, Save and Save As, without any
// window. The desktop shows the progress panel and the dialogs around them;
// varlo-tool runs the same sequences headlessly.
//
// A new game or a resumed one is built into a fresh GameSession; only when
// it is complete does the caller swap it in, so a failed open leaves the
// game that was open before untouched and playable.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "files/saved_game.h"
#include "files/saved_game_writer.h"
#include "raster/dib.h"
#include "jigsaw/jig_params.h"
#include "jigsaw/pieces.h"
#include "raster/random.h"
#include "platform/platform.h"
#include "platform/progress.h"

namespace varlo {

class ArtisticPlacement;
class PlayField;
struct LANG_P;

// The game in play.
struct GameSession {
  Jigsaw Jig;
  DIB_P Thumbnail;      // the stored thumbnail, written into saved games
  std::string Info;     // the jigsaw's descriptive text (UTF-8)
  std::string JigName;  // the pack's file name without extension
  // A resumed game brings its play state along.
  bool FromSave = false;
  SolveSettings Settings;
  std::array<PocketRecord, kPocketCount> Pockets{};
  int32_t Weighted = -1;
};

// Progress steps of a new game: 13, plus 6 with rotation, plus 1 with an
// emboss or wood style, plus 3 more when both hold.
int32_t NewGameProgressSteps(const JIG_P& jig, int32_t embossStyle, int32_t woodStyle);

// The seed of a new game. A seed typed into the open dialog's hidden seed
// panel (shown and not empty) that reads as a 32-bit number becomes both
// GameSeed and the generator's seed, so the same cut comes out again;
// anything else takes the generator's running seed, which is seeded from
// the clock once per run.
void ChooseGameSeed(JIG_P& jig, RandomGenerator& random, bool seedPanelShown,
                    const std::string& seedText);

struct NewGameRequest {
  std::string PackPath;
  JIG_P Level;                        // the open dialog's working copy
  const DIB_P* Thumbnail = nullptr;   // the dialog's full-size thumbnail; the pack's own when none
  bool SeedPanelShown = false;
  std::string SeedText;
  int32_t EmbossStyle = 0;
  int32_t WoodStyle = 0;
  const DIB_P* KnobAtlas = nullptr;   // without one every knob is drawn as a curve
  ArtisticPlacement* Artistic = nullptr;  // shape style 3; none: the pieces stay plain
  std::string ProgressCaption = "Prog_OpenJig";
  // Told the name of each phase as it ends ("read", "fit", "seed", "cut",
  // "setup", "effects"), so that a caller can time them; may be empty.
  std::function<void(const char* phase)> PhaseDone;
};

// Reads the pack, fits the picture, seeds, cuts by the shape style, sets the
// pieces out on the first side and computes their effects. The field lends
// its size (its content size is set for the new picture); the game itself
// is not attached to the field. Null with *error on failure (messages of
// the cut go to the platform's boxes as they arise).
std::unique_ptr<GameSession> StartNewGame(const NewGameRequest& req, PlayField& field,
                                          RandomGenerator& random, Progress& progress,
                                          const Platform& platform, const LANG_P& lang,
                                          std::string* error);

// Progress steps of resuming a saved game: reading the picture, the mask,
// its margin and its shading, one step when the pieces are ready, six for
// the turned pictures with Rotate, one for the effects when a style is on
// and three more with Rotate: 5, 6, 11 or 15.
inline constexpr int32_t kResumeReadSteps = 4;
int32_t ResumeProgressSteps(const JIG_P& jig, int32_t embossStyle, int32_t woodStyle);

// Reads a saved game for play: picture, mask and piece table as stored,
// the turned copies and effects made again; nothing is cut. The progress
// panel is shown from the header on, before the long read.
std::unique_ptr<GameSession> ResumeSavedGame(const std::string& path, int32_t embossStyle,
                                             int32_t woodStyle, const std::string& caption,
                                             Progress& progress, std::string* error);

// Attaches a session to the field: the play state of a resumed game (play
// options, backgrounds, pockets, weighted piece) is applied and the side to
// show chosen (the one window every piece lies on, when it is a side).
void AttachGame(PlayField& field, GameSession& session);

// The side a resumed game shows: when every piece lies on one side, that
// side, else the first.
int32_t SideToShow(const Jigsaw& jig);

// The writer's view of the game in play with the field's current state.
SaveGameView SessionSaveView(const GameSession& session, const PlayField& field);

// Saves the game to path (by the player, or the autosave).
SaveOutcome SaveSession(const std::string& path, bool autosave, const GameSession& session,
                        const PlayField& field, SaveContext& ctx);

}  // namespace varlo
