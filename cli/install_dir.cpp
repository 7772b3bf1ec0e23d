#include "cli/install_dir.h"

#include "cli/display_text.h"
#include "cli/run.h"
#include "settings/dialog_services.h"
#include "settings/load_install_dir.h"

namespace lintara::cli {

namespace {

constexpr const char* kNoInstallDir = "no install directory: give the game's folder with --ut-dir DIR";

// The dialog's services for a checker, which has nobody to ask: the folder prompt is cancelled
// at once, so neither of the dialog's messages can come up.
class NoDialog : public DialogServices {
public:
    FolderChoice PromptForFolder(const std::string&) override { return {FolderChoice::Result::Cancelled, {}}; }
    void ShowMessage(const std::string&, const std::string&) override {}
};

struct FoundInstallDir {
    std::string dir;
    InstallDirSource source = InstallDirSource::None; // None: it came from --ut-dir
};

std::optional<FoundInstallDir> FindInstallDir(const Options& options) {
    if (options.utDir) return FoundInstallDir{*options.utDir};
    FoundInstallDir found;
    NoDialog dialog;
    found.source = LoadInstallDirOnThisMachine(found.dir, dialog);
    if (found.source == InstallDirSource::None) return std::nullopt;
    return found;
}

} // namespace

std::optional<std::string> ResolveInstallDir(const Options& options, std::string* whyNot) {
    if (auto found = FindInstallDir(options)) return found->dir;
    if (whyNot) *whyNot = kNoInstallDir;
    return std::nullopt;
}

int ShowInstallDir(const Options& options, std::ostream& out, std::ostream& err) {
    const auto found = FindInstallDir(options);
    if (!found) {
        err << "lintara-check: " << kNoInstallDir << "\n"
            << "None of the sources gave one: the user key (" << InstallDirSourceLocation(InstallDirSource::UserKey)
            << "), the settings file (" << InstallDirSourceLocation(InstallDirSource::SettingsFile)
            << "), the game key (" << InstallDirSourceLocation(InstallDirSource::GameKey)
            << "), the default location (" << InstallDirSourceLocation(InstallDirSource::DefaultLocation) << ").\n"
            << "To set one for every later run, put the line\n"
            << "  UTPath=DIR\n"
            << "in " << SettingsStore::ForThisUser().KeyLocation(SettingsStore::Root::User, kUserKeyPath)
            << ", or choose the folder once in the dialog, lintara.\n";
        return kExitCannotCheck;
    }
    out << EscapeForLine(found->dir) << "\n";
    if (found->source == InstallDirSource::None) {
        out << "from --ut-dir\n";
        return kExitNothingMissing;
    }
    out << "from the " << InstallDirSourceName(found->source);
    const std::string location = found->source == InstallDirSource::DefaultLocation
                                     ? std::string()
                                     : InstallDirSourceLocation(found->source);
    if (!location.empty()) out << " (" << EscapeForLine(location) << ")";
    out << "\n";
    return kExitNothingMissing;
}

} // namespace lintara::cli
