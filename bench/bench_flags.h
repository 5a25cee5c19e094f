// Command-line flags of the benchmarks: "--name N" pairs of whole numbers, and --help.
#pragma once

#include <map>
#include <string>

namespace benchflags {

// Sets each flag's number; --help prints usage and exits 0, anything else unknown or a value
// outside 0..100000 prints it and exits 2.
void parse(int argc, char** argv, const std::map<std::string, int*>& flags, const char* usage);

}  // namespace benchflags
