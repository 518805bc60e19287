// The advertisement lookup: after a finished interactive installation the
// program asks the maker's service, with a signed form-encoded POST to
// <base address>/api/v3/adSetting, which page to show. Whatever goes wrong
// online ends in an empty answer; nothing is shown or logged.
#pragma once

#include <string>

#include "online/AdRequest.h"
#include "online/AdSettingsReader.h"

namespace korv {

// The current time as the service's ts value (see TimestampText).
std::wstring MakeTimestamp();

// 32 upper-case hexadecimal digits: MD5 of SignatureText(path, params).
std::wstring MakeSignature(const std::wstring& path, const AdParams& params);

// Adds the signature of params under "sign" and posts them, form-encoded in
// name order, to baseUrl + path. True with the reply text in response.
bool PostSigned(const std::wstring& baseUrl, const std::wstring& path, const AdParams& params,
                std::wstring& response);

// The page address of the first advertisement the service names for this
// product version, language and channel; empty when there is none or the
// lookup failed in any way.
std::wstring GetAdTargetUrl(const std::wstring& server, const std::wstring& version, const std::wstring& language,
                            const std::wstring& channel);

}  // namespace korv
