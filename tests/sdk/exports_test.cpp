// The dynamic symbol table of the library: exactly the 88 declared vcam_ names are exported,
// and the unsupported operations share one body.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> declaredNames() {
    std::ifstream in(CAMLINK_HEADER);
    std::stringstream text;
    text << in.rdbuf();
    // Every "vcam_<name>(" of the header is a declared call.
    std::set<std::string> names;
    const std::string header = text.str();
    for (size_t at = header.find("vcam_"); at != std::string::npos;
         at = header.find("vcam_", at + 1)) {
        if (at > 0 &&
            (std::isalnum(static_cast<unsigned char>(header[at - 1])) || header[at - 1] == '_'))
            continue;
        size_t end = at;
        while (end < header.size() &&
               (std::isalnum(static_cast<unsigned char>(header[end])) || header[end] == '_'))
            ++end;
        size_t paren = header.find_first_not_of(" \t", end);
        if (paren != std::string::npos && header[paren] == '(')
            names.insert(header.substr(at, end - at));
    }
    return names;
}

std::set<std::string> exportedNames() {
    std::set<std::string> names;
    FILE* nm = popen("nm -D --defined-only " CAMLINK_LIBRARY, "r");
    char line[512];
    while (nm && std::fgets(line, sizeof line, nm)) {
        char type = 0;
        char name[400];
        if (std::sscanf(line, "%*s %c %399s", &type, name) == 2 &&
            (type == 'T' || type == 'D' || type == 'B' || type == 'W'))
            names.insert(name);
    }
    if (nm) pclose(nm);
    return names;
}

TEST(Exports, HeaderDeclaresEightyEightCalls) {
    EXPECT_EQ(declaredNames().size(), 88u);
}

TEST(Exports, ExactlyTheDeclaredCallsAreExported) {
    const std::set<std::string> declared = declaredNames();
    const std::set<std::string> exported = exportedNames();
    for (const auto& name : exported)
        EXPECT_TRUE(declared.count(name)) << name << " is exported";
    for (const auto& name : declared)
        EXPECT_TRUE(exported.count(name)) << name << " is missing";
}

TEST(Exports, UnsupportedCallsShareOneBody) {
    // Kept loaded: the library's log state lives for the whole process by design.
    void* library = dlopen(CAMLINK_LIBRARY, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_NE(library, nullptr) << dlerror();
    const char* names[] = {
        "vcam_control_add_feature",  "vcam_control_add_id",         "vcam_control_delete_feature",
        "vcam_control_delete_id",    "vcam_control_delete_repo",    "vcam_control_download_repo",
        "vcam_control_list_feature", "vcam_control_update_feature", "vcam_control_upload_repo"};
    void* first = dlsym(library, names[0]);
    ASSERT_NE(first, nullptr);
    for (const char* name : names)
        EXPECT_EQ(dlsym(library, name), first) << name;
    auto call = reinterpret_cast<int (*)(int, void*)>(first);
    EXPECT_EQ(call(0, nullptr), 19);
    dlclose(library);
}

}  // namespace
