// The measured side of the sync benchmark, run as a process of its own (so that its peak
// memory is its own): a sync over a fleet through the engine, or the reference upload of some
// pictures to one camera. Prints its figures as "key=value" words on standard output.
#pragma once

#include <QStringList>

namespace syncbench {

// args: "sync" | "plan", then targets-file package library digest-dir remove(0|1) at-once;
//       "reference", then targets-file (one camera) libid pictures-dir.
// The targets file lists "address user password" lines. Returns the exit code.
int runChild(const QStringList& args);

}  // namespace syncbench
