#include "cli/report.h"

#include "cli/display_text.h"
#include "platform/code_page.h"

#include <algorithm>
#include <vector>

namespace lintara::cli {

namespace {

std::vector<const DependencyRow*> ShownRows(const PackageReport& report, const ReportStyle& style) {
    std::vector<const DependencyRow*> shown;
    for (const DependencyRow& row : report.rows)
        if (!style.missingOnly || row.status == kMissing) shown.push_back(&row);
    return shown;
}

std::string ShownName(const std::string& name) { return EscapeForLine(AnsiToUtf8(name)); }

} // namespace

std::string FormatTextTable(const PackageReport& report, const ReportStyle& style) {
    using Line = std::vector<std::string>;
    std::vector<Line> lines;
    lines.push_back({"FileName", "Status"});
    if (style.recursive) lines.front().push_back("NeededBy");
    for (const DependencyRow* row : ShownRows(report, style)) {
        Line line{ShownName(row->name), EscapeForLine(row->status)};
        if (style.recursive)
            line.push_back(row->neededBy.empty() ? EscapeForLine(report.path) : ShownName(row->neededBy));
        lines.push_back(std::move(line));
    }

    std::vector<std::size_t> widths(lines.front().size(), 0);
    for (const Line& line : lines)
        for (std::size_t column = 0; column < line.size(); ++column)
            widths[column] = std::max(widths[column], DisplayWidth(line[column]));

    std::string out;
    if (style.severalPackages) out += EscapeForLine(report.path) + ":\n";
    for (const Line& line : lines) {
        for (std::size_t column = 0; column < line.size(); ++column) {
            out += line[column];
            if (column + 1 < line.size()) out.append(widths[column] - DisplayWidth(line[column]) + 2, ' ');
        }
        out += '\n';
    }
    return out;
}

std::string FormatTsvLines(const PackageReport& report, const ReportStyle& style) {
    std::string out;
    for (const DependencyRow* row : ShownRows(report, style)) {
        if (style.severalPackages) out += EscapeForLine(report.path) + '\t';
        out += ShownName(row->name) + '\t' + EscapeForLine(row->status);
        if (style.recursive) out += '\t' + (row->neededBy.empty() ? std::string() : ShownName(row->neededBy));
        out += '\n';
    }
    return out;
}

std::string FormatJsonObject(const PackageReport& report, const ReportStyle& style) {
    std::string out = "  {\n    \"package\": " + JsonString(report.path) + ",\n    \"dependencies\": [";
    const std::vector<const DependencyRow*> shown = ShownRows(report, style);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const DependencyRow& row = *shown[i];
        out += i == 0 ? "\n" : ",\n";
        out += "      {\"name\": " + JsonString(AnsiToUtf8(row.name)) + ", \"status\": " + JsonString(row.status);
        if (style.recursive)
            out += ", \"needed_by\": " + (row.neededBy.empty() ? std::string("null") : JsonString(AnsiToUtf8(row.neededBy)));
        out += '}';
    }
    out += shown.empty() ? "],\n" : "\n    ],\n";

    std::string error;
    for (const std::string& text : report.errors) error += (error.empty() ? "" : "; ") + text;
    out += "    \"error\": " + (report.errors.empty() ? std::string("null") : JsonString(error)) + "\n  }";
    return out;
}

} // namespace lintara::cli
