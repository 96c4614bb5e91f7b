#include "app/command_line.h"

#include <cstring>

#ifndef TIREVANE_VERSION
#error "TIREVANE_VERSION comes from the build"
#endif

namespace {

constexpr const char* kUsage = "Usage : tirevane [--fullscreen]\n"
                               "        tirevane --help | --version\n";

// The interface is French: so is what the command line prints. Option
// names stay the usual English ones.
constexpr const char* kHelpBody =
    "Jeu de tir sur cibles : tirez sur les cibles qui montent avant la fin du\n"
    "compte à rebours.\n"
    "\n"
    "Options :\n"
    "      --fullscreen  démarrer en plein écran\n"
    "      --help        afficher cette aide et quitter\n"
    "      --version     afficher la version et quitter\n"
    "\n"
    "Touches :\n"
    "  souris        viser ; bouton gauche, du milieu ou droit : tirer ; un clic\n"
    "                gauche passe aussi l'intro, et la fin de partie après une\n"
    "                seconde\n"
    "  F11           basculer entre fenêtre et plein écran, sur tous les écrans\n"
    "  Échap         fermer l'écran en cours ; en partie, la quitter en gardant\n"
    "                son score (Jouer > Reprendre partie)\n"
    "  autre touche  passer l'intro ; continuer après la fin de partie\n"
    "\n"
    "Fichiers :\n"
    "  Le jeu lit System/ et ses deux polices dans son dossier de travail, et y\n"
    "  réécrit System/01/config.conf (viseur et difficulté) et\n"
    "  System/02/user.saved (partie sauvegardée). Depuis les sources, il se\n"
    "  lance dans le dossier du dépôt. Installé, la commande tirevane le lance\n"
    "  dans le dossier du joueur, ${XDG_DATA_HOME:-~/.local/share}/tirevane,\n"
    "  qu'elle prépare à chaque lancement.\n";

bool is(const char* argument, const char* option)
{
    return std::strcmp(argument, option) == 0;
}

}  // namespace

CommandLine parse_command_line(int argc, const char* const* argv)
{
    CommandLine command;
    bool bad = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (is(argument, "--help") || is(argument, "--version")) {
            command.action = is(argument, "--help") ? CommandLine::Action::help
                                                    : CommandLine::Action::version;
            command.bad_argument.clear();
            return command;
        }
        if (is(argument, "--fullscreen")) {
            command.fullscreen = true;
        } else if (!bad) {
            bad = true;
            command.bad_argument = argument;
        }
    }
    if (bad) {
        command.action = CommandLine::Action::bad_usage;
    }
    return command;
}

int answer_command_line(const CommandLine& command, std::FILE* out, std::FILE* err)
{
    switch (command.action) {
    case CommandLine::Action::help:
        std::fprintf(out, "%s\n%s", kUsage, kHelpBody);
        return 0;
    case CommandLine::Action::version:
        std::fprintf(out,
                     "tirevane " TIREVANE_VERSION "\n"
                     "Copyright (c) 2026 The Tirevane developers\n"
                     "Licence MIT : ce programme est libre, sans aucune garantie.\n");
        return 0;
    case CommandLine::Action::bad_usage:
        std::fprintf(err, "tirevane : %s « %s »\n%sPlus d'informations : tirevane --help\n",
                     command.bad_argument.rfind('-', 0) == 0 ? "option inconnue" : "argument inattendu",
                     command.bad_argument.c_str(), kUsage);
        return 2;
    case CommandLine::Action::play:
        break;
    }
    return -1;
}
