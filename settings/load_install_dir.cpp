#include "settings/load_install_dir.h"

#include <filesystem>
#include <system_error>

namespace lintara {

InstallDirSource LoadInstallDirOnThisMachine(std::string& installDir, DialogServices& dialog) {
    InstallDirSettings settings(installDir, dialog, SettingsStore::ForThisUser(), DefaultInstallDirs());
    InstallDirSource source = InstallDirSource::None;
    settings.LoadInstallDir(&source);
    return source;
}

const char* InstallDirSourceName(InstallDirSource source) {
    switch (source) {
    case InstallDirSource::UserKey: return "user key";
    case InstallDirSource::SettingsFile: return "settings file";
    case InstallDirSource::GameKey: return "game key";
    case InstallDirSource::DefaultLocation: return "default location";
    case InstallDirSource::Prompt: return "folder prompt";
    case InstallDirSource::None: break;
    }
    return "none";
}

std::string InstallDirSourceLocation(InstallDirSource source) {
    const SettingsStore store = SettingsStore::ForThisUser();
    switch (source) {
    case InstallDirSource::UserKey:
        return std::string(kUserValueName) + " in " + store.KeyLocation(SettingsStore::Root::User, kUserKeyPath);
    case InstallDirSource::GameKey:
        return std::string(kGameValueName) + " in " + store.KeyLocation(SettingsStore::Root::Machine, kGameKeyPath);
    case InstallDirSource::SettingsFile: {
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::current_path(error);
        return error ? std::string(kSettingsFileName) : (folder / kSettingsFileName).string();
    }
    case InstallDirSource::DefaultLocation: {
        std::string places;
        for (const DefaultInstallDir& place : DefaultInstallDirs())
            places += (places.empty() ? "" : ", then ") + place.probe;
        return places;
    }
    case InstallDirSource::Prompt:
    case InstallDirSource::None: break;
    }
    return {};
}

} // namespace lintara
