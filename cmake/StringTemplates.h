// Included before every source file of the project (cmake/KorvTargets.cmake).
//
// libstdc++ declares its basic_string instantiations "extern": every program
// then links the library's whole explicit instantiation of std::wstring
// (and std::string), some 45 KB, although it calls a fraction of the
// members. Its documented value -1 turns that off for basic_string alone:
// the members a program uses are instantiated with its own code, and the
// linker drops what nothing calls. Nothing else of the library changes.
#pragma once

#ifdef __cplusplus
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1
#endif
