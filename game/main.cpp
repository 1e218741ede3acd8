#include <string>
#include <vector>

#include "game/app.h"

int main(int argc, char** argv) { return RunGame(std::vector<std::string>(argv + 1, argv + argc)); }
