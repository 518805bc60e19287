// Reads a file's or folder's DACL back from the system, as an attacker's
// view of it would be: which well-known groups of ordinary users hold an
// entry, and whether the parent's entries are shut out.
#pragma once

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <string>

namespace korv::test {

struct DaclView {
    bool read = false;       // GetNamedSecurityInfoW answered
    bool isProtected = false;
    std::string userEntries;  // the ordinary users' groups with an entry, e.g. "Everyone(allow 0x1200a9) "
    bool usersMayWrite = false;   // an allow entry of those groups with a write or delete right
    bool systemFull = false;
    bool adminsFull = false;
    std::string sddl;  // the whole DACL as text, for failure messages
};

// Wine 8 keeps no security descriptor of its own for a file: it turns one
// into the Unix mode and reads the mode back as owner, SYSTEM and Everyone
// entries. What it can show is whether other users got any right at all;
// protection and the Administrators' entry exist only on Windows.
inline bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

inline DaclView ReadDacl(std::wstring path) {
    DaclView view;
    while (path.size() > 3 && path.back() == L'\\') {
        path.pop_back();
    }
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS) {
        return view;
    }
    view.read = true;
    wchar_t* text = nullptr;
    if (ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                             &text, nullptr)) {
        for (const wchar_t* c = text; *c != 0; ++c) {
            view.sddl += static_cast<char>(*c);
        }
        LocalFree(text);
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    view.isProtected = (control & SE_DACL_PROTECTED) != 0;
    struct Group {
        const wchar_t* sid;
        const char* name;
    };
    const Group users[] = {{L"S-1-1-0", "Everyone"}, {L"S-1-5-32-545", "Users"}, {L"S-1-5-11", "AuthenticatedUsers"},
                           {L"S-1-3-0", "CreatorOwner"}};
    const DWORD kWrite = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES | DELETE |
                         WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL | FILE_DELETE_CHILD;
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&header)) || header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
            continue;
        }
        auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        PSID sid = &ace->SidStart;
        wchar_t* text = nullptr;
        if (!ConvertSidToStringSidW(sid, &text)) {
            continue;
        }
        const std::wstring sidText = text;
        LocalFree(text);
        if (sidText == L"S-1-5-18" && (ace->Mask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS) {
            view.systemFull = true;
        }
        if (sidText == L"S-1-5-32-544" && (ace->Mask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS) {
            view.adminsFull = true;
        }
        for (const Group& group : users) {
            if (sidText == group.sid) {
                char mask[16];
                wsprintfA(mask, "0x%lx", static_cast<unsigned long>(ace->Mask));
                view.userEntries += std::string(group.name) + "(" + mask + ") ";
                view.usersMayWrite = view.usersMayWrite || (ace->Mask & kWrite) != 0;
            }
        }
    }
    LocalFree(descriptor);
    return view;
}

}  // namespace korv::test
