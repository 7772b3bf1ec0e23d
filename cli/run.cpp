#include "cli/run.h"

#include "cli/display_text.h"
#include "cli/install_dir.h"
#include "cli/options.h"
#include "cli/report.h"

#include <new>

namespace lintara::cli {

namespace {

constexpr const char* kProgram = "lintara-check";

int UsageError(const std::string& message, std::ostream& err) {
    err << kProgram << ": " << EscapeForLine(message) << "\n"
        << "Try '" << kProgram << " --help' for more information.\n";
    return kExitCannotCheck;
}

} // namespace

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = ParseArguments(arguments);
    if (!parsed.error.empty()) return UsageError(parsed.error, err);
    const Options& options = parsed.options;
    if (options.help) {
        out << HelpText() << std::flush;
        return out ? kExitNothingMissing : kExitCannotCheck;
    }
    if (options.showUtDir) return ShowInstallDir(options, out, err);

    std::string whyNot;
    const std::optional<std::string> installDir = ResolveInstallDir(options, &whyNot);
    if (!installDir) return UsageError(whyNot, err);

    ReportStyle style;
    style.missingOnly = options.missingOnly;
    style.recursive = options.recursive;
    style.severalPackages = options.packages.size() > 1;

    bool missing = false;
    bool failed = false;
    bool tablePrinted = false;
    if (options.format == OutputFormat::Json) out << "[\n";
    for (std::size_t i = 0; i < options.packages.size(); ++i) {
        const std::string& path = options.packages[i];
        PackageReport report;
        try {
            report = CheckPackage(path, *installDir, options.recursive);
        } catch (const std::bad_alloc&) {
            report = PackageReport{path, false, {}, {"out of memory while checking"}};
        }
        missing = missing || report.HasMissing();
        if (!report.errors.empty()) {
            failed = true;
            out.flush(); // so that the messages come after what was printed before them
            for (const std::string& error : report.errors)
                err << kProgram << ": " << EscapeForLine(path) << ": " << EscapeForLine(error) << "\n";
        }

        switch (options.format) {
        case OutputFormat::Text:
            if (!report.read) break;
            if (tablePrinted) out << '\n';
            out << FormatTextTable(report, style);
            tablePrinted = true;
            break;
        case OutputFormat::Tsv:
            if (report.read) out << FormatTsvLines(report, style);
            break;
        case OutputFormat::Json:
            out << (i == 0 ? "" : ",\n") << FormatJsonObject(report, style);
            break;
        }
    }
    if (options.format == OutputFormat::Json) out << "\n]\n";
    out.flush();
    if (!out) {
        err << kProgram << ": cannot write the report to standard output\n";
        return kExitCannotCheck;
    }

    if (failed) return kExitCannotCheck;
    return missing ? kExitSomethingMissing : kExitNothingMissing;
}

} // namespace lintara::cli
