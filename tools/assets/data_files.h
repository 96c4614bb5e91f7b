#ifndef TIREVANE_TOOLS_DATA_FILES_H
#define TIREVANE_TOOLS_DATA_FILES_H

#include <string>

// The options file and the save file as installed, before any game.
void make_data_files(const std::string& root);

#endif
