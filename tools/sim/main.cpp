#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "tools/sim/sim.h"
#include "play/solver.h"

namespace {
void OnInterrupt(int) { RequestSolveStop(); }
}  // namespace

int main(int argc, char** argv) {
    // Ctrl-C ends a long search with what it found; a second one ends the program outright.
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    return RunSim(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
