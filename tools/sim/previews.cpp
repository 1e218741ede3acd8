#include "tools/sim/previews.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "media/preview.h"
#include "platform/game_error.h"
#include "tools/sim/sim.h"
#include "world/draw_queue.h"
#include "world/trigger.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

// The game's preview writer names its file itself, in the working folder: it works in a
// folder of its own beside the target, so no Preview.bmp of the editor's is overwritten.
class ScratchFolder {
public:
    explicit ScratchFolder(const fs::path& beside) : home(fs::current_path()) {
        std::string pattern = (beside / ".preview-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw platform::GameError("Could not write in " + beside.string() + ": " + std::strerror(errno));
        path = pattern;
    }
    ~ScratchFolder() {
        std::error_code error;
        fs::current_path(home, error);
        fs::remove_all(path, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    fs::path home;
    fs::path path;
};

}  // namespace

void WriteLevelPreview(const std::string& level, const fs::path& target, std::int32_t maxFrames) {
    BuildAndSettle(level, maxFrames);

    const fs::path absolute = fs::absolute(target);
    std::error_code error;
    fs::create_directories(absolute.parent_path(), error);
    if (error)
        throw platform::GameError("Could not make the folder " + absolute.parent_path().string() + ": " + error.message());
    ScratchFolder scratch(absolute.parent_path());
    fs::current_path(scratch.path, error);
    if (error)
        throw platform::GameError("Could not write in " + scratch.path.string() + ": " + error.message());

    // Everything the player sees, once: triggers are the designer's alone, and a frozen
    // World moves no animation on while it is drawn.
    World& world = TheWorld();
    FrameDrawQueue().Clear();
    const bool frozen = world.frozen;
    world.frozen = true;
    world.queueDrawing = true;
    for (int i = 0; i < world.Count(); ++i) {
        Entity* object = world.Get(i);
        if (dynamic_cast<const Trigger*>(object) == nullptr)
            object->Draw();
    }
    world.queueDrawing = false;
    world.frozen = frozen;
    SavePreview();

    fs::current_path(scratch.home, error);
    const fs::path written = scratch.path / "Preview.bmp";
    if (!fs::is_regular_file(written, error))
        throw platform::GameError("Could not write the preview " + target.string() + "!");
    fs::rename(written, absolute, error);
    if (error)
        throw platform::GameError("Could not write the preview " + target.string() + ": " + error.message());
}

fs::path PreviewTarget(const std::string& previewPath, const fs::path& game) {
    if (previewPath.empty())
        return {};
    std::error_code error;
    const fs::path root = fs::weakly_canonical(game, error);
    if (error)
        return {};
    const fs::path target = fs::weakly_canonical(root / previewPath, error);
    if (error || !target.has_filename())
        return {};
    const fs::path inside = target.lexically_relative(root);
    if (inside.empty() || inside == "." || *inside.begin() == "..")
        return {};
    return target;
}
