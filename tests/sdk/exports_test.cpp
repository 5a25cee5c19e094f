// The dynamic symbol table of the library: only declared vcam_ names are exported, and the
// unsupported operations share one body.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> declaredNames() {
    std::ifstream in(CAMLINK_HEADER);
    std::stringstream text;
    text << in.rdbuf();
    std::set<std::string> names;
    std::regex call(R"(\b(vcam_[a-z0-9_]+)\s*\()");
    const std::string header = text.str();
    for (std::sregex_iterator it(header.begin(), header.end(), call), end; it != end; ++it)
        names.insert((*it)[1]);
    return names;
}

std::set<std::string> exportedNames() {
    std::set<std::string> names;
    FILE* nm = popen("nm -D --defined-only " CAMLINK_LIBRARY, "r");
    char line[512];
    while (nm && std::fgets(line, sizeof line, nm)) {
        char type = 0;
        char name[400];
        if (std::sscanf(line, "%*s %c %399s", &type, name) == 2 && (type == 'T' || type == 'D' ||
                                                                     type == 'B' || type == 'W'))
            names.insert(name);
    }
    if (nm) pclose(nm);
    return names;
}

TEST(Exports, HeaderDeclaresEightyEightCalls) { EXPECT_EQ(declaredNames().size(), 88u); }

TEST(Exports, OnlyDeclaredVcamNamesAreExported) {
    const std::set<std::string> declared = declaredNames();
    const std::set<std::string> exported = exportedNames();
    ASSERT_FALSE(exported.empty());
    for (const auto& name : exported) EXPECT_TRUE(declared.count(name)) << name << " is exported";
}

TEST(Exports, UnsupportedCallsShareOneBody) {
    void* library = dlopen(CAMLINK_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const char* names[] = {"vcam_control_add_feature",  "vcam_control_add_id",
                           "vcam_control_delete_feature", "vcam_control_delete_id",
                           "vcam_control_delete_repo",  "vcam_control_download_repo",
                           "vcam_control_list_feature", "vcam_control_update_feature",
                           "vcam_control_upload_repo"};
    void* first = dlsym(library, names[0]);
    ASSERT_NE(first, nullptr);
    for (const char* name : names) EXPECT_EQ(dlsym(library, name), first) << name;
    auto call = reinterpret_cast<int (*)(int, void*)>(first);
    EXPECT_EQ(call(0, nullptr), 19);
    dlclose(library);
}

}  // namespace
