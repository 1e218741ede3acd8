#include <string>
#include <vector>

#include "app/app.h"

int main(int argc, char** argv) { return RunGame(std::vector<std::string>(argv + 1, argv + argc)); }
