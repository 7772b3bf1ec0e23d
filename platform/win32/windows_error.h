#pragma once

#include <string>

namespace lintara {

// The operating system's own text for a Win32 error code, on one line and without the full stop
// that ends it ("Access is denied"), as strerror gives it on POSIX. "error N" when the system has
// no text for it.
std::string WindowsErrorText(unsigned long error);

} // namespace lintara
