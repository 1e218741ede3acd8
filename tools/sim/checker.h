#pragma once
// Looks through loaded modules for what would stop or spoil a level for a player: names
// that nothing defines, levels that fail to build, lack an exit or anything to bring to it,
// can't be solved, or carry a wrong par; and level list entries that name nothing.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class SimSession;

struct CheckOptions {
    std::vector<std::string> modules;      // empty: every loaded module
    std::optional<std::int32_t> maxTurns;  // the search depth for levels without a par (40)
    double timeLimit = 60.0;               // seconds per level search; 0 is none
    std::int32_t maxFrames = 100000;
};

struct Finding {
    std::string severity;  // "error" or "warning"
    std::string check;     // what was found, e.g. "missing-sprite", "par-loose"
    std::string module;
    std::string subject;   // the definition or level the finding is about
    std::string message;
};

// Checks what `session` loaded; writes one JSON line per finding to `out` as it goes and
// returns every finding. Search progress goes to `progress` when given.
std::vector<Finding> Check(const SimSession& session, const CheckOptions& options, std::ostream& out,
                           std::ostream* progress);

// Check, counting the findings that are errors.
int CheckModules(const SimSession& session, const CheckOptions& options, std::ostream& out,
                 std::ostream* progress);
