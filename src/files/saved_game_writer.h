// Saving the running game: the full save through the temporary save file,
// and the quick rewrite of the play state of a file that already holds the
// same game.
#pragma once

#include <functional>
#include <string>

#include "play/game_flags.h"
#include "files/saved_game.h"

namespace varlo {

class MessageBoxes;
class Progress;

struct SaveContext {
  std::string SaveTemp;  // FILE_NAMES::sSaveTemp, in the saved-games folder
  std::string AutoSave;  // FILE_NAMES::sAutoSave
  GameFlags* Flags = nullptr;
  MessageBoxes* Messages = nullptr;  // the error report; none: errors are only returned
  Progress* Panel = nullptr;         // the progress panel; may be none
  // Interface texts by key (the progress captions); none: the key itself.
  std::function<std::string(const std::string& key)> Text;
};

struct SaveOutcome {
  bool Saved = false;
  bool StateOnly = false;         // only the play state was rewritten
  bool AutosaveRefreshed = false; // the autosave file was brought up to date too
  bool AutosaveReplaced = false;  // ... by copying the whole new file over it
  std::string Error;              // what went wrong (also shown as a message)
};

// Saves the game to path (a save by the player, or the autosave). Never
// damages the previous file at path: a failure leaves it as it was and
// removes the temporary save file.
SaveOutcome SaveSolve(const std::string& path, bool autosave, const SaveGameView& game,
                      SaveContext& ctx);

enum class UpdateResult {
  Updated,
  NotSameGame,  // another game, not a saved game, or laid out differently
  Failed,       // an I/O error; *error says which
};
// Rewrites the play state of the saved game at path when it holds the same
// game: every byte before its state block is what a full save of this game
// writes there (a game resumed from the file may differ in the parameter
// block fields the reader sets), and its state block has this game's length. The state
// block is written in place through the file's journal
// (files/state_journal.h), so the result is byte for byte what a full save
// would write and an interruption leaves the old or the new state.
UpdateResult UpdateSolve(const std::string& path, const SaveGameView& game, std::string* error);

// Removes what an interrupted save of path leaves beside it under the
// game's own names: the tool's "<path>.svt" and a half-built journal
// ("<path>-journal.new"). Only regular files are removed.
void RemoveSaveLeftovers(const std::string& path);

// Writes the whole saved game to out (used by SaveSolve; exposed for the
// tool and the benchmarks). step is called after each large entry.
bool WriteSavedGame(OutputFile& out, const SaveGameView& game, const std::function<void()>& step,
                    std::string* error);
// Checks that a game can be written as a readable saved game.
std::string CheckSaveGame(const SaveGameView& game);

}  // namespace varlo
