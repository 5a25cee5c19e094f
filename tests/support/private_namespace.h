// The guard of the programs that broadcast: they run only inside a namespace of netns-run.
#pragma once

#include <string>

namespace testsupport {

// True only inside a namespace of netns-run: never broadcast on the host's network. Otherwise
// says why in `why`.
bool inPrivateNamespace(std::string* why);

}  // namespace testsupport
