// The main of every test program. ctest runs one test per process with a
// filter; a filter that matches nothing (a test renamed or not built yet)
// must fail rather than pass with nothing run.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    if (result == 0 && testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        fprintf(stderr, "no test matched the filter\n");
        return 1;
    }
    return result;
}
