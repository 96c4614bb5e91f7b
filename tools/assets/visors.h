#ifndef TIREVANE_TOOLS_VISORS_H
#define TIREVANE_TOOLS_VISORS_H

#include <string>

// The menu cursor pair and the five visor pairs, under the repository root.
void make_visors(const std::string& root);

#endif
