#include "settings/install_dir_settings.h"

#include "platform/atomic_file.h"
#include "platform/file_error.h"
#include "platform/file_presence.h"
#include "platform/read_only_file.h"

#include <new>
#include <string_view>

namespace lintara {

bool InstallDirSettings::LoadInstallDir(InstallDirSource* source) {
    InstallDirSource found = InstallDirSource::None;
    if (ReadUserKey()) {
        found = InstallDirSource::UserKey;
    } else if (ReadSettingsFile()) {
        found = InstallDirSource::SettingsFile;
    } else if (ReadGameKey()) {
        SaveInstallDir(); // a failure is not reported: the game key gives it again next run
        found = InstallDirSource::GameKey;
    } else if (TryDefaultDir()) {
        SaveInstallDir(); // likewise
        found = InstallDirSource::DefaultLocation;
    } else if (PromptForInstallDir()) {
        if (!SaveInstallDir()) dialog_.ShowMessage(kCannotSaveText, kCannotSaveCaption);
        found = InstallDirSource::Prompt;
    }
    if (source) *source = found;
    return found != InstallDirSource::None;
}

bool InstallDirSettings::ReadKey(SettingsStore::Root root, const char* keyPath, const char* valueName) {
    // Read access only: the game key belongs to the game's installer.
    const auto key = store_.OpenKey(root, keyPath);
    if (!key) return false;
    const auto bytes = key->QueryValue(valueName, kStoreValueCapacity);
    if (!bytes) return false;
    // Whatever type the value has, its bytes up to the first zero byte are the text.
    installDir_ = bytes->substr(0, bytes->find('\0'));
    return true;
}

bool InstallDirSettings::ReadUserKey() {
    return ReadKey(SettingsStore::Root::User, kUserKeyPath, kUserValueName);
}

bool InstallDirSettings::ReadGameKey() {
    return ReadKey(SettingsStore::Root::Machine, kGameKeyPath, kGameValueName);
}

bool InstallDirSettings::ReadSettingsFile() {
    installDir_.clear();
    auto file = ReadOnlyFile::Open(kSettingsFileName);
    if (!file || file->Size() == 0) return false;
    std::string buffer;
    try {
        if (file->Size() > buffer.max_size()) return false;
        buffer.resize(static_cast<std::size_t>(file->Size()));
        if (file->Read(reinterpret_cast<std::uint8_t*>(buffer.data()), buffer.size()) != buffer.size())
            return false;
    } catch (const FileError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }

    // A zero byte ends the text. Only lines ended by CR LF are read; each must hold an "=".
    std::string_view text(buffer);
    text = text.substr(0, text.find('\0'));
    std::size_t position = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string_view::npos; end = text.find("\r\n", position)) {
        const std::size_t equals = text.find('=', position);
        if (equals == std::string_view::npos || equals >= end) return false;
        if (text.substr(position, equals - position) == kSettingsFileKey)
            installDir_ = text.substr(equals + 1, end - equals - 1);
        position = end + 2;
    }
    return !installDir_.empty();
}

bool InstallDirSettings::TryDefaultDir() {
    for (const DefaultInstallDir& place : defaultDirs_) {
        if (PathExists(place.probe)) {
            installDir_ = place.dir;
            return true;
        }
    }
    return false;
}

bool InstallDirSettings::PromptForInstallDir() {
    const DialogServices::FolderChoice choice = dialog_.PromptForFolder(kPromptTitle);
    switch (choice.result) {
    case DialogServices::FolderChoice::Result::Chosen:
        installDir_ = choice.path;
        return true;
    case DialogServices::FolderChoice::Result::Cancelled:
        return false;
    case DialogServices::FolderChoice::Result::Unavailable:
        dialog_.ShowMessage(kPromptUnavailableText, kPromptUnavailableCaption);
        return false;
    }
    return false;
}

bool InstallDirSettings::SaveInstallDir() {
    return WriteUserKey() || WriteSettingsFile();
}

bool InstallDirSettings::WriteUserKey() {
    // A value that ReadUserKey would take as absent is not stored: the user would be asked again
    // on every run, with no word that the setting was lost.
    if (installDir_.size() + 1 > kStoreValueCapacity) return false;
    auto key = store_.CreateUserKey(kUserKeyPath);
    if (!key) return false;
    return key->SetStringValue(kUserValueName, installDir_);
}

bool InstallDirSettings::WriteSettingsFile() {
    const std::string content = std::string(kSettingsFileKey) + "=" + installDir_ + "\r\n";
    return ReplaceFileContent(kSettingsFileName, content);
}

} // namespace lintara
