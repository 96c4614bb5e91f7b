#include "persist/save_format.h"

namespace save_format {

std::string options_text(char visor, char difficulty)
{
    // Built byte by byte: an option may be any byte, NUL too.
    std::string bytes = kVisorLabel;
    bytes.push_back(visor);
    bytes += kDifficultyLabel;
    bytes.push_back(difficulty);
    return bytes;
}

std::string marker_line(bool resumable)
{
    std::string bytes = resumable ? kResumableMarker : kFinishedMarker;
    bytes.push_back(kMarkerLineEnd);
    return bytes;
}

std::string entry(const char* key, char value)
{
    std::string bytes = key;
    bytes.push_back(value);
    bytes.push_back(kEntryEnd);
    return bytes;
}

std::string fresh_save(char visor, char difficulty)
{
    return entry(kVisorKey, visor) + entry(kDifficultyKey, difficulty);
}

}  // namespace save_format
