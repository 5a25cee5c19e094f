// Configuration reply bodies into the SDK's parsers and the fixed records they fill. The first
// byte picks the parser, the second is the parser's setting (a page size), the rest is the
// reply as the camera sent it.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config_parsers.h"

namespace fuzzconfig {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "config_reply_fuzzer: %s\n", what);
        std::abort();
    }
}

}  // namespace fuzzconfig

namespace {

const std::vector<fuzzconfig::Parser>& allParsers() {
    static const std::vector<fuzzconfig::Parser> all = [] {
        std::vector<fuzzconfig::Parser> list;
        for (const fuzzconfig::ParserList& part :
             {fuzzconfig::moduleParsers(), fuzzconfig::groupParsers(),
              fuzzconfig::historyParsers()}) {
            list.insert(list.end(), part.parsers, part.parsers + part.count);
        }
        return list;
    }();
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const std::vector<fuzzconfig::Parser>& parsers = allParsers();
    const std::string reply(reinterpret_cast<const char*>(data) + 2, size - 2);
    parsers[data[0] % parsers.size()](reply, data[1]);
    return 0;
}
