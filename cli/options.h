#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lintara::cli {

enum class OutputFormat { Text, Tsv, Json };

// What the command line asks for.
struct Options {
    std::optional<std::string> utDir; // --ut-dir, used unchanged
    bool missingOnly = false;
    OutputFormat format = OutputFormat::Text;
    bool recursive = false;
    bool help = false;
    bool showUtDir = false; // --show-ut-dir
    std::vector<std::string> packages; // in the order given
};

// The options, or the reason they are wrong.
struct ParsedArguments {
    Options options;
    std::string error; // empty when the arguments are good
};

// Parses the arguments that follow the program name. "--opt VALUE" and "--opt=VALUE" are both
// accepted; "--" ends the options, so that a package path may begin with "-". --help (or -h)
// anywhere wins over every error. Without --help or --show-ut-dir at least one package is needed.
ParsedArguments ParseArguments(const std::vector<std::string>& arguments);

// The text that --help prints.
std::string HelpText();

} // namespace lintara::cli
