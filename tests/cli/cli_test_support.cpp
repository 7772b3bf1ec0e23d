#include "tests/cli/cli_test_support.h"

#include "cli/run.h"
#include "tests/analysis/package_writer.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include "platform/win32/windows_error.h"

#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace lintara::clitest {

std::string PackageImporting(const std::vector<std::string>& names) {
    fixtures::PackageWriter writer;
    for (const std::string& name : names) writer.AddPackageImport(name);
    return writer.Bytes();
}

std::string AddPackage(const fixtures::TempTree& tree, std::string_view relative, const std::vector<std::string>& names) {
    return tree.AddFile(relative, PackageImporting(names)).string();
}

#ifdef _WIN32
std::string NoSuchFileText() { return WindowsErrorText(ERROR_FILE_NOT_FOUND); }
std::string IsAFolderText() { return "Is a folder"; }
std::string SeekRefusedText() { return WindowsErrorText(ERROR_NEGATIVE_SEEK); }
std::string Below(const std::string& folder, std::string_view relative) {
    std::string path = folder + std::string(relative);
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}
#else
std::string NoSuchFileText() { return "No such file or directory"; }
std::string IsAFolderText() { return "Is a directory"; }
std::string SeekRefusedText() { return "Invalid argument"; }
std::string Below(const std::string& folder, std::string_view relative) { return folder + std::string(relative); }
#endif

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

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

#ifdef _WIN32

// One argument of a command line, quoted as the C run-time's start-up code splits it.
std::string CommandLineQuoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

HANDLE InheritableFile(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

#else

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

#endif

} // namespace

#ifdef _WIN32

// The settings come from the registry here, which the tests that run the program leave alone.
RunResult RunProgram(const fixtures::TempTree& tree, const std::vector<std::string>& arguments) {
    const std::string outPath = tree / "program-stdout";
    const std::string errPath = tree / "program-stderr";
    std::string command = CommandLineQuoted(LINTARA_CHECK_PROGRAM);
    for (const std::string& argument : arguments) command += " " + CommandLineQuoted(argument);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = InheritableFile("NUL", GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = InheritableFile(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = InheritableFile(errPath, GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION process{};
    RunResult result;
    if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, tree.Root().string().c_str(),
                         &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        DWORD status = 0;
        if (::GetExitCodeProcess(process.hProcess, &status)) result.status = static_cast<int>(status);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    for (const HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    // Text written to a file or console ends its lines with CR LF on Windows.
    const auto lineFeedsOnly = [](std::string text) {
        for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.erase(at, 1);
        return text;
    };
    result.rawOut = Contents(outPath);
    result.out = lineFeedsOnly(result.rawOut);
    result.err = lineFeedsOnly(Contents(errPath));
    return result;
}

#else

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
    result.rawOut = result.out;
    result.err = Contents(errPath);
    return result;
}

#endif

} // namespace lintara::clitest
