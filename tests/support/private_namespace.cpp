#include "support/private_namespace.h"

#include <net/if.h>
#include <unistd.h>

namespace testsupport {

namespace {
std::string netNamespaceOf(const char* pid) {
    char target[128] = {};
    std::string link = std::string("/proc/") + pid + "/ns/net";
    ssize_t n = ::readlink(link.c_str(), target, sizeof(target) - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}
}  // namespace

bool inPrivateNamespace(std::string* why) {
    if (::if_nametoindex("fk0") == 0) {
        *why = "no interface fk0";
        return false;
    }
    std::string self = netNamespaceOf("self");
    if (self.empty() || self == netNamespaceOf("1")) {
        *why = "same network namespace as process 1";
        return false;
    }
    return true;
}

}  // namespace testsupport
