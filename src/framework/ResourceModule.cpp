#include "framework/ResourceModule.h"

#include <atomic>

namespace fw {

namespace {

// Read by every thread that loads a template (tip dialogs open on the
// worker too), written by start-up: atomic, not locked.
std::atomic<HMODULE> g_resourceModule{nullptr};

}  // namespace

HMODULE GetResourceModule() {
    HMODULE module = g_resourceModule.load();
    return module != nullptr ? module : GetModuleHandleW(nullptr);
}

HMODULE SetResourceModule(HMODULE module) {
    HMODULE previous = g_resourceModule.exchange(module);
    return previous != nullptr ? previous : GetModuleHandleW(nullptr);
}

}  // namespace fw
