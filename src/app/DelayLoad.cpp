// Binds the libraries Setup.exe takes on first call (WinInet, CNG, GDI+: see
// src/app/CMakeLists.txt) from the system folder, by its full path. It
// replaces the runtime's general helper, which would search the program's
// own folder when the search order is not yet limited, and is a quarter of
// its size.
#include <windows.h>
#include <delayimp.h>

#include "session/ExitCodes.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

template <class T>
T* At(const ImgDelayDescr* descriptor, RVA address) {
    // Newer linkers write addresses relative to the image (attribute 1),
    // older ones whole addresses.
    return reinterpret_cast<T*>((descriptor->grAttrs & 1) != 0
                                    ? reinterpret_cast<BYTE*>(&__ImageBase) + address
                                    : reinterpret_cast<BYTE*>(static_cast<UINT_PTR>(address)));
}

[[noreturn]] void Unbindable() {
    // A system library or function the program was built against is not
    // there: nothing of this run can go on.
    ExitProcess(korv::kExitFatal);
}

}  // namespace

extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr descriptor, FARPROC* entry) {
    HMODULE* module = At<HMODULE>(descriptor, descriptor->rvaHmod);
    if (*module == nullptr) {
        char path[MAX_PATH + 32];
        const UINT length = GetSystemDirectoryA(path, MAX_PATH);
        const char* name = At<const char>(descriptor, descriptor->rvaDLLName);
        if (length == 0 || length >= MAX_PATH || lstrlenA(name) > 30) {
            Unbindable();
        }
        path[length] = '\\';
        lstrcpyA(path + length + 1, name);
        HMODULE loaded = LoadLibraryA(path);
        if (loaded == nullptr) {
            Unbindable();
        }
        // Another thread may have bound the same library meanwhile: the
        // library's count goes up once more, which is harmless.
        InterlockedExchangePointer(reinterpret_cast<void**>(module), loaded);
    }
    const size_t index = static_cast<size_t>(entry - At<FARPROC>(descriptor, descriptor->rvaIAT));
    const IMAGE_THUNK_DATA& thunk = At<const IMAGE_THUNK_DATA>(descriptor, descriptor->rvaINT)[index];
    const char* procedure =
        IMAGE_SNAP_BY_ORDINAL(thunk.u1.Ordinal)
            ? reinterpret_cast<const char*>(static_cast<UINT_PTR>(IMAGE_ORDINAL(thunk.u1.Ordinal)))
            : reinterpret_cast<const char*>(At<const IMAGE_IMPORT_BY_NAME>(descriptor, static_cast<RVA>(thunk.u1.AddressOfData))->Name);
    FARPROC function = GetProcAddress(*module, procedure);
    if (function == nullptr) {
        Unbindable();
    }
    *entry = function;
    return function;
}
