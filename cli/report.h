#pragma once

#include "cli/options.h"
#include "cli/package_check.h"

#include <string>

namespace lintara::cli {

// How the reports are shown.
struct ReportStyle {
    bool missingOnly = false; // only the rows whose status is exactly "Missing"
    bool recursive = false;   // with the column of the package that first needed each one
    bool severalPackages = false;
};

// The text table of one package that could be read, each line ended by a newline: a line
// "PATH:" first when there are several packages, then the headings FileName and Status (and
// NeededBy), then one row per dependency. Columns are padded to the widest entry plus two
// spaces; the last one is not padded.
std::string FormatTextTable(const PackageReport& report, const ReportStyle& style);

// The tsv lines of one package that could be read: NAME<TAB>STATUS, then <TAB>NEEDED_BY when
// recursive (empty for the package's own dependencies), all after PATH<TAB> when there are
// several packages.
std::string FormatTsvLines(const PackageReport& report, const ReportStyle& style);

// One element of the json array, for every package, read or not: an object over several lines,
// indented by two spaces, without a newline after its closing brace.
std::string FormatJsonObject(const PackageReport& report, const ReportStyle& style);

} // namespace lintara::cli
