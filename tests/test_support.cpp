#include "tests/test_support.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    std::random_device rd;
    path = fs::temp_directory_path() / ("quillmere-test-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(path);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
}

WorkingDir::WorkingDir(const fs::path& dir) : previous(fs::current_path()) { fs::current_path(dir); }
WorkingDir::~WorkingDir() { fs::current_path(previous); }

static std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

RunResult RunGameBinary(const std::vector<std::string>& args) {
    std::string command = "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + Quote(QM_GAME_BINARY);
    for (const std::string& a : args)
        command += " " + Quote(a);
    command += " 2>&1";
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.output.append(buffer.data(), n);
    int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void CopyGameFolder(const fs::path& dir) {
    for (const auto& entry : fs::directory_iterator(QM_GAME_DIR)) {
        // A file being replaced through a temporary one is no part of the game.
        std::string name = entry.path().filename().string();
        if (name == "quillmere" || name.find(".tmp") != std::string::npos)
            continue;
        fs::copy(entry.path(), dir / entry.path().filename(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
}

}  // namespace test
