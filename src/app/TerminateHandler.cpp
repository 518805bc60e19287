// What the program does when an exception escapes everything (every window
// thunk and thread entry catches, so this is a fault of ours, never of the
// input): it ends at once with abort(), as the C++ runtime's own handler does.
//
// The runtime's handler first writes the exception's type to standard error,
// and to name the type it carries the whole C++ symbol demangler, about a
// tenth of the program. Setup.exe is a windows program with no console and
// nobody reads its standard error, so it gets this handler instead: defining
// the runtime's symbol here keeps the demangler out of the link. Test
// programs keep the verbose one (they are not linked with this file).
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
