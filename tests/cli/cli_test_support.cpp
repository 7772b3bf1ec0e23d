#include "tests/cli/cli_test_support.h"

#include "cli/run.h"
#include "tests/analysis/package_writer.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace lintara::clitest {

std::string PackageImporting(const std::vector<std::string>& names) {
    fixtures::PackageWriter writer;
    for (const std::string& name : names) writer.AddPackageImport(name);
    return writer.Bytes();
}

std::string AddPackage(const fixtures::TempTree& tree, std::string_view relative, const std::vector<std::string>& names) {
    return tree.AddFile(relative, PackageImporting(names)).string();
}

RunResult RunChecker(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    RunResult result;
    result.status = cli::Run(arguments, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

namespace {

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

RunResult RunProgram(const fixtures::TempTree& tree, const std::vector<std::string>& arguments) {
    const auto outPath = tree / "program-stdout";
    const auto errPath = tree / "program-stderr";
    std::string command = "cd " + ShellQuoted(tree.Root().string()) + " && HOME=" + ShellQuoted((tree / "home").string()) +
                          " XDG_CONFIG_HOME=" + ShellQuoted((tree / "home/.config").string()) +
                          " XDG_CONFIG_DIRS=" + ShellQuoted((tree / "xdg").string()) + " " +
                          ShellQuoted(LINTARA_CHECK_PROGRAM);
    for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
    command += " </dev/null >" + ShellQuoted(outPath.string()) + " 2>" + ShellQuoted(errPath.string());

    RunResult result;
    const int status = std::system(command.c_str());
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = Contents(outPath);
    result.err = Contents(errPath);
    return result;
}

} // namespace lintara::clitest
