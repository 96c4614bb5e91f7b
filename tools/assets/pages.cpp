#include "pictures.h"

#include <string>

#include "game/target_palette.h"
#include "typeset.h"

namespace {

// Everything from this row down stays black: the page draws its green
// "Retour" label there.
constexpr int kFreeBandTop = 510;

constexpr Rgb kText{228, 232, 242};
constexpr Rgb kAccent{255, 150, 40};
constexpr Rgb kMuted{150, 160, 185};
const std::string kNbsp = "\u00A0";

// The names of the targets' colours, in the game's order.
constexpr const char* kColourNames[kTargetColourCount] = {
    "Blanc", "Jaune", "Orange", "Rouge", "Violet", "Bleu", "Marron", "Noir",
};

Canvas page_background()
{
    Canvas c(800, 600);
    c.vertical_gradient(Rgb{18, 24, 54}, Rgb{0, 0, 0}, 0, kFreeBandTop);
    c.glow(400, 40, 380, Rgb{60, 70, 140}, 0.35);
    return c;
}

void page_title(Canvas& c, const std::string& root, const std::string& text)
{
    const Font title(root + "/alphamalemodern.ttf", 50);
    const int w = draw_glowing_text(c, title, text, 400, 14, Rgb{255, 255, 255}, kAccent, 10, 0.45,
                                    Align::Centre);
    c.line(400 - w / 2.0, 86, 400 + w / 2.0, 86, 2.5, kAccent);
}

void panel(Canvas& c, int x, int y, int w, int h)
{
    c.round_rect(x, y, w, h, 14, Rgb{255, 255, 255}, 0.06);
    c.round_rect(x, y, w, 3, 1.5, kAccent, 0.7);
}

// The rules, as bullet points.
void rules(Canvas& c, const std::string& root)
{
    const std::string q1 = "«" + kNbsp;
    const std::string q2 = kNbsp + "»";
    const std::string paragraphs[] = {
        "Des cibles colorées surgissent au bas de l'écran, montent puis s'effacent.",
        "Visez avec la souris et cliquez sur une cible pour l'abattre" + kNbsp +
            ": plus sa couleur est sombre et la difficulté élevée, plus elle rapporte.",
        "Chaque cible touchée ajoute des secondes au compte à rebours" + kNbsp +
            "; un tir dans le vide coûte des points.",
        "La partie s'arrête quand le compte à rebours atteint zéro.",
        "Échap" + kNbsp + ": quitter la partie en gardant son score. Pour la reprendre, choisissez " +
            q1 + "Jouer" + q2 + " puis " + q1 + "Reprendre partie" + q2 + ".",
    };
    const Font body(root + "/spaceage.ttf", 17);
    const int left = 50;
    const int width = 330;
    int y = 118;
    for (const std::string& paragraph : paragraphs) {
        c.disc(left - 14, y + 11, 4, kAccent);
        for (const std::string& line : wrap(body, paragraph, width)) {
            draw_text(c, body, line, left, y, kText);
            y += 22;
        }
        y += 10;
    }
}

// Points per colour and difficulty, then what each difficulty changes.
void tables(Canvas& c, const std::string& root)
{
    const Font head(root + "/spaceage.ttf", 19);
    const Font cell(root + "/spaceage.ttf", 16);
    const int name_x = 470;
    const int columns[3] = {612, 676, 740};
    const char* difficulties[3] = {"Easy", "Medium", "Insane"};
    draw_text(c, head, "Points par cible", 598, 114, kAccent, Align::Centre);
    int y = 146;
    for (int d = 0; d < 3; ++d) {
        draw_text(c, cell, difficulties[d], columns[d], y, kMuted, Align::Centre);
    }
    y += 26;
    for (int row = 0; row < kTargetColourCount; ++row) {
        if (row % 2 == 0) {
            c.fill_rect(424, y - 2, 348, 24, Rgb{255, 255, 255}, 0.04);
        }
        if (row == 7) {
            // Near-black needs a light rim to show on a dark page.
            c.fill_rect(433, y + 1, 28, 18, Rgb{200, 200, 210});
        }
        const SDL_Color colour = kTargetColours[row];
        c.fill_rect(434, y + 2, 26, 16, Rgb{colour.r, colour.g, colour.b});
        draw_text(c, cell, kColourNames[row], name_x, y, kText);
        for (int d = 0; d < 3; ++d) {
            draw_text(c, cell, std::to_string((row + 1) * (d + 1)), columns[d], y, kText,
                      Align::Centre);
        }
        y += 24;
    }
    y += 14;
    c.line(430, y, 766, y, 1.0, kMuted, 0.6);
    y += 10;
    struct Setting {
        std::string label;
        std::string values[3];
    };
    const std::string minus = "\u2212";
    const Setting settings[] = {
        {"Temps de départ", {"5 s", "10 s", "15 s"}},
        {"Bonus par cible", {"+6 s", "+2 s", "+3 s"}},
        {"Tir manqué", {minus + "17 pts", minus + "19 pts", minus + "21 pts"}},
    };
    for (const Setting& s : settings) {
        draw_text(c, cell, s.label, 434, y, kText);
        for (int d = 0; d < 3; ++d) {
            draw_text(c, cell, s.values[d], columns[d], y, kText, Align::Centre);
        }
        y += 26;
    }
}

void how_to_play(const std::string& root)
{
    Canvas c = page_background();
    page_title(c, root, "Comment jouer");
    panel(c, 22, 104, 380, 392);
    panel(c, 418, 104, 360, 392);
    rules(c, root);
    tables(c, root);
    c.save_bmp(root + "/System/02/How_play.bmp");
}

void about(const std::string& root)
{
    Canvas c = page_background();
    page_title(c, root, "À propos");
    const Font name(root + "/alphamalemodern.ttf", 64);
    const Font lead(root + "/spaceage.ttf", 22);
    const Font head(root + "/spaceage.ttf", 18);
    const Font body(root + "/spaceage.ttf", 17);
    draw_glowing_text(c, name, "Tirevane", 400, 100, Rgb{255, 40, 40}, Rgb{255, 0, 0}, 12, 0.4,
                      Align::Centre);
    draw_text(c, lead, "Version 1.0  \u2014  le tir aux cibles", 400, 184, kText, Align::Centre);
    panel(c, 90, 228, 620, 262);
    struct Credit {
        const char* heading;
        std::string lines[2];
    };
    const Credit credits[] = {
        {"Code", {"Licence MIT", ""}},
        {"Polices", {"Roboto Condensed, par Google (Apache License 2.0)",
                     "Play, par Jonas Hecksher, Playtype (SIL Open Font License 1.1)"}},
        {"Sons et musique", {"Synthétisés pour le jeu", ""}},
        {"Images", {"Dessinées par programme pour le jeu", ""}},
    };
    int y = 244;
    for (const Credit& credit : credits) {
        draw_text(c, head, credit.heading, 116, y, kAccent);
        y += 24;
        for (const std::string& line : credit.lines) {
            if (!line.empty()) {
                draw_text(c, body, line, 132, y, kText);
                y += 22;
            }
        }
        y += 8;
    }
    c.save_bmp(root + "/System/02/About.bmp");
}

}  // namespace

void make_pages(const std::string& root)
{
    how_to_play(root);
    about(root);
}
