// The resource library as the program loads it, in a folder where someone
// replaced IntallerRes.dll with a library that has code (bin/planted): the
// library is mapped, and its DllMain never runs in the elevated process.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "session/LocalText.h"

using namespace korv;

TEST(ResourceLibrary, PlantedLibrarysCodeNeverRuns) {
    const std::wstring library = ResourceLibraryPath();
    const std::wstring marker = library.substr(0, library.find_last_of(L'\\') + 1) + L"dllmain-ran.txt";
    DeleteFileW(marker.c_str());
    ASSERT_NE(GetFileAttributesW(library.c_str()), INVALID_FILE_ATTRIBUTES) << "the planted library is not built";

    HMODULE module = LoadResourceLibrary();
    EXPECT_NE(module, nullptr) << "a library with code still serves as a resource library";
    EXPECT_EQ(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "its DllMain ran";
    EXPECT_EQ(LoadText(1, L"default"), L"default") << "texts it lacks fall back";
    if (module != nullptr) {
        FreeLibrary(module);
    }
}
