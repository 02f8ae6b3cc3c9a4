#include <gtest/gtest.h>

// Every game test binary starts here: headless engine, temporary folders and a
// seeded random function are set up by the fixtures in this folder.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
