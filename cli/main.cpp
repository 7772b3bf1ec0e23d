// lintara-check: lists the packages that UT2004 package files import and says which of them
// the game installation lacks. See Run and HelpText.
#include "cli/run.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return lintara::cli::Run(arguments, std::cout, std::cerr);
}
