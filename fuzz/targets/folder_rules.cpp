// The installation folder rules on whatever a person can type into the path
// box or the folder picker can hand back: the validation sequence, the
// picker's product-folder rule, the path box's trimming and the free-space
// gate's drive.
#include "FuzzSupport.h"
#include "pages/FolderRules.h"

using namespace korv;

namespace {

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring typed = fuzz::TextFromInput(data, size);

    const FolderCheck check = CheckInstallFolder(typed);
    const std::wstring& folder = check.folder;
    FUZZ_CHECK(folder.size() <= typed.size() + 1);
    // Doubled backslashes are gone, but for the two that open a network path.
    const size_t lead = folder.compare(0, 2, L"\\\\") == 0 ? 1 : 0;
    FUZZ_CHECK(folder.find(L"\\\\", lead) == std::wstring::npos);
    if (check.writeBack) {
        FUZZ_CHECK(EndsWith(folder, L"\\"));
    }
    if (check.verdict == FolderVerdict::kAccepted) {
        // A blank beside a separator is refused, never cut away.
        FUZZ_CHECK(folder.find(L"\\ ") == std::wstring::npos);
        FUZZ_CHECK(folder.find(L" \\") == std::wstring::npos);
        FUZZ_CHECK(!IsBareName(folder));
        FUZZ_CHECK(!IsRootPath(folder));
        // The name after its lead-in (X:\, \\ or \) holds no character a
        // folder name cannot have; the drive letter is the free-space gate's
        // to judge.
        const size_t nameStart = folder[1] == L':' ? 3 : folder[1] == L'\\' ? 2 : 1;
        FUZZ_CHECK(folder.find_first_of(L"/:*?\"<>|", nameStart) == std::wstring::npos);
    }
    // A cleaned folder is clean: checking it again changes nothing.
    const FolderCheck again = CheckInstallFolder(folder);
    FUZZ_CHECK(again.folder == folder);
    FUZZ_CHECK(again.verdict == check.verdict);

    const std::wstring picked = PickedInstallFolder(typed, L"Korvanix2024");
    FUZZ_CHECK(EndsWith(picked, L"2024"));
    FUZZ_CHECK(!EndsWith(picked, L"\\"));

    const std::wstring trimmed = TrimPathText(typed);
    FUZZ_CHECK(typed.compare(0, trimmed.size(), trimmed) == 0);
    FUZZ_CHECK(!EndsWith(trimmed, L"."));

    const std::wstring drive = DrivePart(folder);
    FUZZ_CHECK(folder.compare(0, drive.size(), drive) == 0);
    FUZZ_CHECK(drive.find(L'\\') == std::wstring::npos);

    const std::wstring message = FormatWithFolder(typed, folder);
    FUZZ_CHECK(message.size() + 2 >= typed.size());
    return 0;
}
