#ifndef TIREVANE_PERSIST_SAVE_FORMAT_H
#define TIREVANE_PERSIST_SAVE_FORMAT_H

#include <string>

// The layout of the game's two data files, kept in one place. Where the
// files are is told in core/assets.h. The files hold bytes, not UTF-8:
// the section sign of the labels and keys is the single byte 0xA7.
namespace save_format {

// What a missing option or saved value reads as.
constexpr char kDefaultValue = '0';

// The options file, 36 bytes: "[ §Visor ] -> V\n[ §Difficulte ] -> D".
// The visor is read as the byte just past its label and the difficulty as
// the last byte, so a hand-edited file still reads by position.
constexpr char kVisorLabel[] = "[ \xA7Visor ] -> ";
constexpr char kDifficultyLabel[] = "\n[ \xA7" "Difficulte ] -> ";
constexpr long kVisorOffset = sizeof kVisorLabel - 1;
static_assert(kVisorOffset == 14, "older options files keep the visor at byte 14");

std::string options_text(char visor, char difficulty);
// What the player is told is lost when the options file cannot be written.
constexpr char kOptionsNotKept[] = "Options non sauvegard\xe9" "es";

// The save file: a marker line telling whether the last match can be
// resumed, then one entry per saved value, a key followed by the value and
// "]":
//   "[ ! ] -> True\n[§saved:Visor=2][§saved:Diff=1][§saved:GameScore=150]"
constexpr char kResumableMarker[] = "[ ! ] -> True";
constexpr char kFinishedMarker[] = "[ ! ] -> False";
constexpr char kMarkerLineEnd = '\n';
constexpr char kVisorKey[] = "[\xA7saved:Visor=";
constexpr char kDifficultyKey[] = "[\xA7saved:Diff=";
constexpr char kScoreKey[] = "[\xA7saved:GameScore=";
constexpr char kEntryEnd = ']';
// What the player is told is lost when the save file cannot be written.
constexpr char kScoreNotKept[] = "Score non sauvegard\xe9";

// The marker and its line break.
std::string marker_line(bool resumable);
// One entry whose value is a single byte (any byte, NUL too).
std::string entry(const char* key, char value);
// What the first game writes when there is no save file yet: the visor and
// difficulty entries alone, no marker and no score (31 bytes).
std::string fresh_save(char visor, char difficulty);

}  // namespace save_format

#endif
