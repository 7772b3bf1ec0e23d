#include "cli/options.h"

#include <string_view>

namespace lintara::cli {

namespace {

std::optional<OutputFormat> FormatNamed(std::string_view name) {
    if (name == "text") return OutputFormat::Text;
    if (name == "tsv") return OutputFormat::Tsv;
    if (name == "json") return OutputFormat::Json;
    return std::nullopt;
}

} // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) {
    ParsedArguments parsed;
    Options& options = parsed.options;
    auto fail = [&parsed](std::string error) {
        if (parsed.error.empty()) parsed.error = std::move(error);
    };

    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            options.packages.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        if (argument == "--missing-only") {
            options.missingOnly = true;
            continue;
        }
        if (argument == "--recursive") {
            options.recursive = true;
            continue;
        }
        if (argument == "--show-ut-dir") {
            options.showUtDir = true;
            continue;
        }

        // The options that take a value.
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (name == "--help" || name == "--missing-only" || name == "--recursive" || name == "--show-ut-dir") {
            fail("option '" + name + "' takes no value");
            continue;
        }
        if (name != "--ut-dir" && name != "--format") {
            fail("unknown option '" + name + "'");
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            fail("option '" + name + "' needs a value");
            continue;
        }
        if (name == "--ut-dir") {
            options.utDir = value;
        } else if (auto format = FormatNamed(value)) {
            options.format = *format;
        } else {
            fail("unknown format '" + value + "' (use text, tsv or json)");
        }
    }

    if (options.help) {
        parsed.error.clear();
    } else if (parsed.error.empty() && options.packages.empty() && !options.showUtDir) {
        parsed.error = "no package given";
    }
    return parsed;
}

namespace {

// Where the install directory is looked for, and how a backslash is shown, on this platform.
#ifdef _WIN32
constexpr const char* kWhereFound =
    R"(                     this order: UTPath in the user key (HKEY_CURRENT_USER\SOFTWARE\Korvel\
                     Lintara); ut_dir in LintaraSettings.ini in the current directory; Folder
                     in the game key (HKEY_LOCAL_MACHINE\SOFTWARE\Unreal Technology\Installed
                     Apps\UT2004, in the 32-bit view of the registry); the default location
                     (C:\UT2004\). A directory from the game key or the
)";
constexpr const char* kBackslashShown = "a backslash stands as it is (it separates the folders of a path),\n";
#else
constexpr const char* kWhereFound =
    R"(                     this order: UTPath in the user key ($XDG_CONFIG_HOME/Korvel/Lintara.conf,
                     ~/.config when unset); ut_dir in LintaraSettings.ini in the current
                     directory; Folder in the game key (Unreal Technology/Installed Apps/
                     UT2004.conf in the first folder of $XDG_CONFIG_DIRS, /etc/xdg when unset,
                     that holds it); the default location (~/.local/share/OldUnreal/UT2004/,
                     then /usr/local/games/ut2004/). A directory from the game key or the
)";
constexpr const char* kBackslashShown = "a backslash is shown as \\\\, ";
#endif

} // namespace

std::string HelpText() {
    return R"(Usage: lintara-check [--ut-dir DIR] [--missing-only] [--format text|tsv|json]
                     [--recursive] PACKAGE...
       lintara-check [--ut-dir DIR] --show-ut-dir

Reads each UT2004 package file (.ut2 .utx .u .uax .usx .ukx .uxx ...) and lists the packages it
imports, each with the content folder of the game installation that holds a file of its name
(System, Maps, Textures, Sounds, StaticMeshes, Animations or Music, searched in that order) or
"Missing". Nothing is ever written, neither to the installation nor to the packages.

Options:
  --ut-dir DIR       the game's install directory (the folder that holds System, Maps, ...).
                     It is used as given and not checked: a wrong one makes every package
                     Missing. Without it, the directory is found as the dialog finds it, in
)" + std::string(kWhereFound) + R"(                     default location is then saved in the user key (or, when that cannot be
                     written, in LintaraSettings.ini), as the dialog saves it. The checker
                     never asks: where the dialog would ask for the folder, it stops.
  --show-ut-dir      print the install directory (escaped as in text output) and, on a second
                     line, the source that gave it, then exit; finding it saves it as any run
                     does. Exit status 0 when one was found, 2 when none was, with a hint on
                     how to set one. Packages given with it are not checked.
  --missing-only     list only the packages whose status is Missing
  --format FORMAT    text (the default), tsv or json
  --recursive        also read each dependency that the installation holds and follow its
                     dependencies in turn: the whole closure is listed, each package once,
                     with the package that first needed it
  -h, --help         print this help and exit
  --                 end of the options: every argument after it is a package path

Output, one package after the other in the order given; rows in byte order of the lower-cased
names (with --recursive: the package's own dependencies in that order, then the new ones that
each of them brings in, breadth first, so "first needed by" is the nearest one):
  text   a table with the headings FileName and Status (and NeededBy with --recursive).
         With several packages, a line "PATH:" comes before each table and a blank line
         between tables. NeededBy of the package's own dependencies is the package's path.
  tsv    one line per dependency: NAME<TAB>STATUS (<TAB>NEEDED_BY with --recursive, empty
         for the package's own dependencies). With several packages each line begins with
         PATH<TAB>. No heading line.
  json   [{"package": PATH, "dependencies": [{"name": NAME, "status": STATUS}, ...],
           "error": null}, ...]; with --recursive each dependency also has "needed_by": the
         name of the package that first needed it, or null for the package's own ones.
         "error" is null, or the reason the package (or, with --recursive, a dependency
         file) could not be read; such a package is listed all the same.

Names are stored in the packages in code page 1252 and are shown as UTF-8. In text and tsv
)" + std::string(kBackslashShown) + R"(a tab, newline or carriage return as \t, \n, \r, and every other
control character (including the five bytes that code page 1252 leaves undefined, 0x81, 0x8D,
0x8F, 0x90 and 0x9D) as \xHH, its number in hexadecimal; a byte of a path that is not valid
UTF-8 is shown as \xHH too. In json, strings are escaped as JSON requires, control characters
as \u00HH (so 0x81 becomes \u0081), and each byte of a path that is not valid UTF-8 becomes the
\u escape of the character that code page 1252 gives it (0xC4 becomes \u00c4).

A package that cannot be checked (it cannot be opened, is not a package, or a read or seek
fails) gives one line on standard error naming the file and the reason, and the others are
still checked. With --recursive, a dependency that the installation holds but that cannot be
read as a package gives such a line too, and its own dependencies are not followed. A package
without imports is no error: it has no dependencies.

Exit status:
  0  every package was checked and nothing is missing
  1  every package was checked and something is missing (--missing-only changes nothing)
  2  wrong usage, no install directory, a package (or, with --recursive, a dependency
     file) that could not be read, or a report that could not be written; this wins over 1
)";
}

} // namespace lintara::cli
