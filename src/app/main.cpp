#include "app/game_main.h"

int main(int argc, char** argv)
{
    return tirevane_main(argc, argv);
}
