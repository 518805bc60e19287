// What the fuzz targets share: turning the fuzzer's bytes into the text the
// program is handed (UTF-16 code units, as on Windows), and the check that
// stops a run when an invariant of the code under test breaks.
//
//   extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
//       const std::wstring line = korv::fuzz::TextFromInput(data, size);
//       FUZZ_CHECK(korv::SkipProgramPath(line).size() <= line.size());
//       return 0;
//   }
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Ends the run like a crash, naming the check; libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                    \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                        \
        }                                                                                        \
    } while (0)

namespace korv::fuzz {

// Code units from bytes: one byte each (Latin-1, dense for the mostly ASCII
// texts the program meets) or two bytes each, little-endian, for the whole
// UTF-16 range (an odd last byte is dropped). wchar_t is wider on Linux; the
// values stay those a Windows wchar_t can hold.
inline std::wstring WideFromBytes(const uint8_t* data, size_t size, bool twoBytesEach) {
    std::wstring text;
    if (twoBytesEach) {
        text.reserve(size / 2);
        for (size_t i = 0; i + 1 < size; i += 2) {
            text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
        }
    } else {
        text.assign(data, data + size);
    }
    return text;
}

// The whole input as one text: its first byte chooses the encoding of the
// rest (even: one byte per code unit; odd: two).
inline std::wstring TextFromInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return {};
    }
    return WideFromBytes(data + 1, size - 1, (data[0] & 1) != 0);
}

// The next text of random length from a provider, one byte per code unit
// or two as the provider decides.
inline std::wstring ConsumeText(FuzzedDataProvider& input, size_t maxBytes = 8192) {
    const bool twoBytesEach = input.ConsumeBool();
    const std::string bytes = input.ConsumeRandomLengthString(maxBytes);
    return WideFromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), twoBytesEach);
}

}  // namespace korv::fuzz
