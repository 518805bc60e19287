// Number parsing and formatting from the system's C library instead of
// mingw's own portable versions.
//
// The reply reader's JSON parser converts numbers with strtod and formats
// its error texts with snprintf, and the Windows version check reads "6.1"
// with wcstod. Built with mingw, those calls go to mingw's C99
// implementations (__mingw_strtod, __mingw_wcstod, __mingw_vsnprintf), which
// carry a complete floating-point formatter and converter: about 35 KB of
// Setup.exe for a reply that holds texts and whole numbers and a version of
// two numbers. msvcrt.dll, present on
// every Windows, has both jobs done already; defining mingw's two entry
// points here keeps its implementations out of the link, the same way the
// terminate handler keeps the demangler out. Test programs are not linked
// with this file and keep mingw's versions.
//
// No C library header is included: they would declare these names with
// mingw's inline redirections.
#include <cstdarg>
#include <cstddef>

extern "C" {

__declspec(dllimport) double __cdecl strtod(const char* text, char** end);
__declspec(dllimport) double __cdecl wcstod(const wchar_t* text, wchar_t** end);
__declspec(dllimport) int __cdecl _vsnprintf(char* buffer, size_t size, const char* format, va_list arguments);
__declspec(dllimport) int __cdecl _vscprintf(const char* format, va_list arguments);

double __cdecl __mingw_strtod(const char* text, char** end) {
    return strtod(text, end);
}

double __cdecl __mingw_wcstod(const wchar_t* text, wchar_t** end) {
    return wcstod(text, end);
}

// C99 semantics on top of msvcrt's: the result is the length the whole text
// needs, and the buffer (when it has room at all) always ends in a
// terminator, also when the text was cut.
int __cdecl __mingw_vsnprintf(char* buffer, size_t size, const char* format, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    const int needed = _vscprintf(format, copy);
    va_end(copy);
    if (size > 0) {
        const int written = _vsnprintf(buffer, size, format, arguments);
        if (written < 0 || static_cast<size_t>(written) >= size) {
            buffer[size - 1] = '\0';
        }
    }
    return needed;
}

}  // extern "C"
