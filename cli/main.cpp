// lintara-check: lists the packages that UT2004 package files import and says which of them
// the game installation lacks. See Run and HelpText.
#include "cli/run.h"

#include <iostream>

#ifdef _WIN32
#include <windows.h>

namespace {

// The report is UTF-8. A Windows console shows it as such only while its output code page is
// UTF-8, so it is set for the run and given back afterwards.
class Utf8Console {
public:
    Utf8Console() {
        if (previous_ != 0) ::SetConsoleOutputCP(CP_UTF8);
    }
    ~Utf8Console() {
        if (previous_ != 0) ::SetConsoleOutputCP(previous_);
    }

private:
    UINT previous_ = ::GetConsoleOutputCP(); // 0 when the output is no console
};

} // namespace
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    const Utf8Console console;
#endif
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return lintara::cli::Run(arguments, std::cout, std::cerr);
}
