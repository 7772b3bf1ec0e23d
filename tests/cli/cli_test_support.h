#pragma once

#include "tests/analysis/temp_tree.h"

#include <string>
#include <string_view>
#include <vector>

namespace lintara::clitest {

// The bytes of a package that imports these packages (names as stored: any case, code page
// 1252), in this order. No names at all give a package without imports.
std::string PackageImporting(const std::vector<std::string>& names);

// Writes a package that imports these packages at the tree-relative path; returns its full path.
std::string AddPackage(const fixtures::TempTree& tree, std::string_view relative, const std::vector<std::string>& names);

// The reasons that this platform gives for a file that cannot be read, as the checker shows them:
// on POSIX "No such file or directory", "Is a directory" and "Invalid argument".
std::string NoSuchFileText();
std::string IsAFolderText();
std::string SeekRefusedText();

// A path below a folder, written with "/" and given with this platform's separator.
std::string Below(const std::string& folder, std::string_view relative);

// What one run of the checker gave.
struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
    std::string rawOut; // standard output as written; out has CR LF line ends made LF, on Windows
};

// Runs the checker in this process, as main does.
RunResult RunChecker(const std::vector<std::string>& arguments);

// Runs the built lintara-check program with these arguments, its output caught in files of the
// tree. It runs in the tree's root, with HOME, XDG_CONFIG_HOME and XDG_CONFIG_DIRS inside the
// tree, so that the settings of the user who runs the tests are neither read nor written. On
// Windows it runs with the tree's root as its current directory and its input from NUL.
RunResult RunProgram(const fixtures::TempTree& tree, const std::vector<std::string>& arguments);

} // namespace lintara::clitest
