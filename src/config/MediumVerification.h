// The medium's files checked against its signed manifest (MediumManifest.h)
// before anything is started from it: the signature with the keys built
// into the program (KORV_MEDIUM_TRUSTED_KEYS), then each file's size and
// SHA-256. Verified files stay open, denying writing and deleting, until
// ReleaseMediumFiles, so what was checked is what runs.
#pragma once

#include <string>
#include <vector>

namespace korv {

enum class MediumFileState { kMatched, kMissing, kOtherSize, kOtherHash, kNotListed };

struct MediumFileCheck {
    std::wstring path;  // relative to the medium
    MediumFileState state = MediumFileState::kMatched;
    std::wstring expected;  // SHA-256 hex from the manifest (empty when not listed)
    std::wstring found;     // SHA-256 hex of the file (empty when missing)
};

enum class MediumState {
    kUnsigned,      // no Setup.manifest
    kVerified,      // signature and every file as listed
    kNotSigned,     // no Setup.manifest, and this build requires one
    kBadSignature,  // a manifest whose signature is missing, malformed or not by a trusted key
    kBadManifest,   // signed, but not a manifest this program reads
    kFileRefused,   // a file missing, changed, or planned but not listed
};

struct MediumReport {
    MediumState state = MediumState::kUnsigned;
    std::vector<MediumFileCheck> files;  // every listed file, then planned files not listed
    std::wstring refusedFile;            // the first file that ended the check
    unsigned long long bytes = 0;        // bytes hashed
};

// Checks the medium in `folder` (ending in a backslash). `planned` are the
// relative paths the plans can start, copy or register: a planned file that
// exists but is not listed is refused. Every listed file must be there as
// listed. `requireSigned` defaults to the build's setting.
MediumReport VerifyMedium(const std::wstring& folder, const std::vector<std::wstring>& planned,
                          bool requireSigned);
bool BuildRequiresSignedMedium();

// Closes the handles VerifyMedium keeps on the verified files.
void ReleaseMediumFiles();

}  // namespace korv
