// The main of every GoogleTest program: runs the tests, and under CI (see ci_mode.h) turns
// tests that skipped themselves (GTEST_SKIP) into a failure of the program.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/ci_mode.h"

namespace {

int reportSkipsAsFailures(const testing::UnitTest& unit) {
    int skipped = 0;
    for (int s = 0; s < unit.total_test_suite_count(); ++s) {
        const testing::TestSuite& suite = *unit.GetTestSuite(s);
        for (int t = 0; t < suite.total_test_count(); ++t) {
            const testing::TestInfo& test = *suite.GetTestInfo(t);
            if (!test.result()->Skipped()) continue;
            std::printf("[  FAILED  ] %s.%s skipped itself; under CI=true every test must run\n",
                        suite.name(), test.name());
            ++skipped;
        }
    }
    return skipped;
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (result != 0 || !testsupport::skipsAreFailures()) return result;
    return reportSkipsAsFailures(*testing::UnitTest::GetInstance()) == 0 ? 0 : 1;
}
