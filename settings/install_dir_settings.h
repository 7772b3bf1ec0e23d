#pragma once

#include "platform/default_install_dirs.h"
#include "platform/settings_store.h"
#include "settings/dialog_services.h"

#include <cstddef>
#include <string>
#include <vector>

namespace lintara {

// The sources of the install directory, in the order they are tried.
enum class InstallDirSource { None, UserKey, SettingsFile, GameKey, DefaultLocation, Prompt };

// This program's own setting: the first source, and the only key that is ever written.
inline constexpr const char* kUserKeyPath = "SOFTWARE\\Korvel\\Lintara";
inline constexpr const char* kUserValueName = "UTPath";
// The game installer's setting: the third source, only ever read.
inline constexpr const char* kGameKeyPath = "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2004";
inline constexpr const char* kGameValueName = "Folder";
// The settings file, in the current directory: the second source, and where the directory is
// saved when the user key cannot take it.
inline constexpr const char* kSettingsFileName = "LintaraSettings.ini";
inline constexpr const char* kSettingsFileKey = "ut_dir";
// A stored value, a string's terminating zero byte included, is read into this many bytes; a
// longer one counts as absent.
inline constexpr std::size_t kStoreValueCapacity = 260;

inline constexpr const char* kPromptTitle = "Please select your UT2004 install directory";
inline constexpr const char* kPromptUnavailableText =
    "SHGetMalloc() failed when trying to prompt user for UT2004 Install Directory!";
inline constexpr const char* kPromptUnavailableCaption = "Critical Error";
inline constexpr const char* kCannotSaveText =
    "Stashmind was unable to save your settings to the registry or to a file - you will need to "
    "find this directory again the next time you run Stashmind!";
inline constexpr const char* kCannotSaveCaption = "Cannot Save Settings";

// Finds the game's install directory, asks the user for it when no source gives it, and
// remembers it for later runs. It works on the dialog's install directory in place and keeps
// no copy of it; the dialog's folder prompt and message box serve it.
//
// Each operation returns whether it succeeded. One that fails leaves the install directory as it
// was, except ReadSettingsFile, which empties it first and may have set it from an earlier line
// before it fails.
class InstallDirSettings {
public:
    InstallDirSettings(std::string& installDir, DialogServices& dialog, SettingsStore store,
                       std::vector<DefaultInstallDir> defaultDirs)
        : installDir_(installDir), dialog_(dialog), store_(std::move(store)),
          defaultDirs_(std::move(defaultDirs)) {}

    // Tries the sources in turn and stops at the first that gives a directory: the user key, the
    // settings file, the game key, the default places, the folder prompt. A directory from one of
    // the last three is saved; one chosen in the prompt that cannot be saved is reported in a
    // message box. False when no source gave one; *source, when given, gets the one that did.
    bool LoadInstallDir(InstallDirSource* source = nullptr);

    // Takes UTPath of the user key, even when it is empty.
    bool ReadUserKey();
    // Takes the last ut_dir value of the settings file. False when a line holds no "=", or the
    // install directory is then empty.
    bool ReadSettingsFile();
    // Takes Folder of the game key, even when it is empty.
    bool ReadGameKey();
    // Takes the first default place that exists.
    bool TryDefaultDir();
    // Takes the folder that the user chooses in the folder prompt. False when the user cancels or
    // the prompt cannot be shown; the latter is reported in a message box.
    bool PromptForInstallDir();
    // Stores the install directory in the user key or, when that fails, in the settings file.
    bool SaveInstallDir();
    // Stores the install directory as UTPath of the user key. False for a directory too long to be
    // read back, which the settings file then takes.
    bool WriteUserKey();
    // Replaces the settings file with the single line "ut_dir=" + install directory + CR LF.
    bool WriteSettingsFile();

private:
    bool ReadKey(SettingsStore::Root root, const char* keyPath, const char* valueName);

    std::string& installDir_;
    DialogServices& dialog_;
    SettingsStore store_;
    std::vector<DefaultInstallDir> defaultDirs_;
};

} // namespace lintara
