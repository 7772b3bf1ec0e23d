#pragma once

#include "analysis/dependency_set.h"
#include "analysis/package_format.h"
#include "analysis/package_reader.h"

#include <string>

namespace lintara {

// Whether an import names a whole package at the top level: its class is exactly "Package", its
// object name is a non-empty name of the table, and its outer does not name a non-empty name.
bool IsTopLevelPackageImport(const ImportEntry& entry, const NameTable& names);

// Empties the set, then reads the package and inserts the lower-cased name of every top-level
// package import. A file that cannot be opened, is no package or imports no package leaves the
// set empty; the outcome tells which. The reader's errors pass through.
ReadOutcome CollectDependencies(const std::string& fileName, DependencySet& dependencies);

} // namespace lintara
