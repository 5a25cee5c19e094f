// Keeps a camera's libraries, pictures and settings in a folder between runs of the command.
#pragma once

#include <string>

#include "state/face_store.h"
#include "state/modules.h"

namespace camsim {

// Writes "<dir>/state.json" (atomically) and "<dir>/images/<imgid>.jpg". Error text or "".
std::string saveState(const std::string& dir, const FaceStore& faces, const ModuleStore& modules);
// Reads what saveState wrote; a missing folder is not an error (a new camera). Error text or "".
std::string loadState(const std::string& dir, FaceStore& faces, ModuleStore& modules);

}  // namespace camsim
