// Folders and files the elevated process makes for its own use under a
// folder that other users can write to (the temporary folder of SYSTEM is
// C:\Windows\Temp): an unguessable name from the system's random generator
// and a security descriptor that lets only SYSTEM and the Administrators in.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// The temporary folder, ending in "\": GetTempPath2W where the system has it
// (SYSTEM then gets its private C:\Windows\SystemTemp), GetTempPathW
// otherwise. Empty when unknown or longer than maxChars.
std::wstring TemporaryFolder(size_t maxChars = MAX_PATH);

// Fills buffer with bytes from the system's random generator
// (BCryptGenRandom, bcrypt.dll from the system folder). False when none.
bool RandomBytes(void* buffer, unsigned long size);

// 16 lower-case hex digits of 64 random bits; empty when there are none.
std::wstring RandomName();

// A security descriptor whose DACL gives SYSTEM and the Administrators full
// control, inherited by everything below, and nothing to anyone else; it is
// protected, so nothing of the parent's rights is inherited.
class PrivateSecurity {
public:
    // sddl: another descriptor in the form of the security descriptor
    // definition language, for callers with a different circle of users.
    explicit PrivateSecurity(const wchar_t* sddl = nullptr);
    ~PrivateSecurity();
    PrivateSecurity(const PrivateSecurity&) = delete;
    PrivateSecurity& operator=(const PrivateSecurity&) = delete;

    // Null when the descriptor could not be built: callers then create nothing.
    SECURITY_ATTRIBUTES* Attributes() { return descriptor_ != nullptr ? &attributes_ : nullptr; }


    PSECURITY_DESCRIPTOR Descriptor() const { return descriptor_; }

private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    SECURITY_ATTRIBUTES attributes_ = {};
};

// Creates parent + prefix + RandomName() + "\" with the private security
// descriptor and returns it, ending in "\". parent ends in "\". Empty when
// the name would pass maxChars, when no random name or descriptor can be
// had, or when the folder turns out to be a reparse point (it is then
// removed). A folder that exists already under the new name is never used.
std::wstring CreatePrivateFolder(const std::wstring& parent, const std::wstring& prefix, size_t maxChars);

// Gives an installation folder (and what it holds) the rights of the
// system's own program folders: SYSTEM and the Administrators full control,
// the Users read and run, nobody else anything, nothing inherited from the
// parent. Later elevated runs trust what lies there (the uninstaller, the
// resource library, install.log). False when the folder is missing or its
// rights cannot be set.
bool SecureInstallFolder(const std::wstring& folder);

// True when path names a reparse point (a junction or symbolic link),
// looked at without following it. False when it does not exist.
bool IsReparsePoint(const std::wstring& path);

}  // namespace fw
