#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace lintara::cli {

inline constexpr int kExitNothingMissing = 0;
inline constexpr int kExitSomethingMissing = 1;
inline constexpr int kExitCannotCheck = 2; // wrong usage, or an input that could not be checked

// The whole checker: parses the arguments that follow the program name, checks each package,
// writes the report to `out` and the messages to `err`, and returns the exit status.
int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace lintara::cli
