#pragma once

#include "analysis/dependency_set.h"
#include "analysis/package_locator.h"

#include <string>
#include <vector>

namespace lintara::cli {

// One dependency of a checked package and where the installation holds it.
struct DependencyRow {
    std::string name;     // lower-cased, in code page 1252, as the set holds it
    std::string status;   // a status word: a content folder or "Missing"
    std::string neededBy; // with --recursive: the dependency that first needed it; empty for the
                          // checked package's own dependencies
};

// The result of checking one package given on the command line.
struct PackageReport {
    std::string path;  // as given
    bool read = false; // whether the package itself could be read; without it there are no rows
    std::vector<DependencyRow> rows;
    // Why the package, or with --recursive a dependency file, could not be read: UTF-8 texts such
    // as "not a package: wrong tag", without the package's path. Empty when all could be read.
    std::vector<std::string> errors;

    bool HasMissing() const;
};

// Reads the package, finds each of its dependencies under the install directory and, when
// `recursive`, reads each dependency that the installation holds and checks its dependencies in
// turn, breadth first: each name appears once, with the dependency that first needed it. Read
// failures (FileError, std::bad_alloc) are caught and recorded; nothing is thrown but what the
// recording itself may throw.
PackageReport CheckPackage(const std::string& path, const std::string& installDir, bool recursive);

// Reads the dependencies of one package file. False when it is no package or cannot be read
// (FileError, std::bad_alloc); then *whyNot tells why.
bool ReadDependencies(const std::string& path, DependencySet& dependencies, std::string* whyNot);

// Reads the dependencies of a package that the lookup found at `location`. When that file is no
// package (the content folders hold other files of the same name, such as Core.int beside
// Core.u), the other matching files of the same folder are tried in search order, and the first
// that is a package gives the set. False when none is; then *whyNot names the file the lookup
// found and why it could not be read.
bool ReadInstalledDependencies(const std::string& installDir, const std::string& name,
                               const PackageLocation& location, DependencySet& dependencies,
                               std::string* whyNot);

} // namespace lintara::cli
