#include "bench_flags.h"

#include <cstdio>
#include <cstdlib>

namespace benchflags {

namespace {

[[noreturn]] void usage(const char* self, const char* text, int code) {
    std::fprintf(code == 0 ? stdout : stderr, "usage: %s %s", self, text);
    std::exit(code);
}

}  // namespace

void parse(int argc, char** argv, const std::map<std::string, int*>& flags, const char* text) {
    for (int i = 1; i < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--help" || flag == "-h") usage(argv[0], text, 0);
        const auto known = flags.find(flag);
        char* end = nullptr;
        const long value = i + 1 < argc ? std::strtol(argv[i + 1], &end, 10) : -1;
        if (known == flags.end() || !end || *end != '\0' || value < 0 || value > 100000)
            usage(argv[0], text, 2);
        *known->second = int(value);
    }
}

}  // namespace benchflags
