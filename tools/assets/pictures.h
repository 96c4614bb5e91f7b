#ifndef TIREVANE_TOOLS_PICTURES_H
#define TIREVANE_TOOLS_PICTURES_H

#include <string>

// Pictures drawn with the game's own two fonts, which must already be in
// `root` (alphamalemodern.ttf and spaceage.ttf).

// The two intro cards (800x600) and the 32x32 window icon.
void make_intro_and_icon(const std::string& root);
// The how-to-play and about pages (800x600), French, with the band from
// y 510 down left black for the page's "Retour" label.
void make_pages(const std::string& root);

#endif
