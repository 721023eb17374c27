#include <gtest/gtest.h>
#include <windows.h>

#include "app/appInstance.h"

int main(int argc, char** argv) {
    // The string table is linked into this executable, as into the program.
    appInstance = GetModuleHandleA(nullptr);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
