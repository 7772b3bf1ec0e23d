// The settings-file reader, on a LintaraSettings.ini that holds the input.
//
// The result must be what the file's rules give, worked out the plain way below, and a directory
// that was read must be written and read back unchanged.
#include "fuzz/scratch.h"
#include "settings/install_dir_settings.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

using lintara::fuzz::Fail;

class NoDialog : public lintara::DialogServices {
public:
    FolderChoice PromptForFolder(const std::string&) override { Fail("the reader asked for a folder"); }
    void ShowMessage(const std::string&, const std::string&) override { Fail("the reader showed a message"); }
};

struct Expected {
    bool result = false;
    std::string installDir;
};

// Lines ended by CR LF, each "key=value", up to the first zero byte; the last ut_dir wins and a
// line without "=" ends the reading with false.
Expected ReadByTheRules(std::string_view bytes) {
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    Expected expected;
    std::size_t position = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", position);
        if (end == std::string_view::npos) break;
        const std::string_view line = text.substr(position, end - position);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return {false, expected.installDir};
        if (line.substr(0, equals) == "ut_dir") expected.installDir = line.substr(equals + 1);
        position = end + 2;
    }
    expected.result = !expected.installDir.empty();
    return expected;
}

lintara::InstallDirSettings SettingsFor(std::string& installDir, NoDialog& dialog) {
    const std::string& folder = lintara::fuzz::ScratchFolder();
    return lintara::InstallDirSettings(installDir, dialog,
                                       lintara::SettingsStore(lintara::StoreRoots{folder + "/config", {folder + "/xdg"}}),
                                       {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool inFolder = ::chdir(lintara::fuzz::ScratchFolder().c_str()) == 0;
    if (!inFolder) Fail("cannot enter the scratch folder"); // so seeds and findings need absolute paths
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    lintara::fuzz::WriteWholeFile(lintara::kSettingsFileName, bytes);

    NoDialog dialog;
    std::string installDir = "left from before";
    const bool result = SettingsFor(installDir, dialog).ReadSettingsFile();
    const Expected expected = ReadByTheRules(bytes);
    if (result != expected.result) Fail("the result is not what the file's rules give");
    if (installDir != expected.installDir) Fail("the install directory is not what the file's rules give");
    if (!result) return 0;

    // What was read is written as the file's single line and reads back as itself.
    const std::string read = installDir;
    if (!SettingsFor(installDir, dialog).WriteSettingsFile()) Fail("the directory read could not be written back");
    installDir.clear();
    if (!SettingsFor(installDir, dialog).ReadSettingsFile() || installDir != read)
        Fail("the directory written does not read back");
    return 0;
}
