#pragma once
// Shared helpers for the unit tests: a scratch folder per test and running the real game.
#include <filesystem>
#include <string>
#include <vector>

namespace test {

// A fresh empty folder under the system's temp folder, removed when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& Path() const { return path; }
    std::filesystem::path operator/(const std::string& name) const { return path / name; }

private:
    std::filesystem::path path;
};

// Changes the working folder for the life of the object.
class WorkingDir {
public:
    explicit WorkingDir(const std::filesystem::path& dir);
    ~WorkingDir();

private:
    std::filesystem::path previous;
};

struct RunResult {
    int exitCode = -1;
    std::string output;  // standard output and standard error together
};

// Runs the built game with the dummy drivers and the given arguments.
RunResult RunGameBinary(const std::vector<std::string>& args);

void WriteFile(const std::filesystem::path& path, const std::string& text);
std::string ReadFile(const std::filesystem::path& path);

// Copies the built game folder (pictures, modules, settings) into `dir`.
void CopyGameFolder(const std::filesystem::path& dir);

}  // namespace test
