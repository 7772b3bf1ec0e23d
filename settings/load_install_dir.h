#pragma once

#include "settings/dialog_services.h"
#include "settings/install_dir_settings.h"

#include <string>

namespace lintara {

// Runs LoadInstallDir over this machine's real store, settings file and default places, for the
// dialog's install directory. Returns the source that gave the directory, or None when none did
// (LoadInstallDir was false); the install directory then holds what an interrupted settings file
// left in it, or nothing.
InstallDirSource LoadInstallDirOnThisMachine(std::string& installDir, DialogServices& dialog);

// A source's short name: "user key", "settings file", "game key", "default location", "folder
// prompt", or "none".
const char* InstallDirSourceName(InstallDirSource source);

// Where a source lies on this machine, for messages: the value and the file that holds it for
// the user key and the game key (on POSIX, e.g. "UTPath in /home/me/.config/Korvel/Lintara.conf"),
// the settings file's path, the default places in the order they are tried. Empty for the
// others.
std::string InstallDirSourceLocation(InstallDirSource source);

} // namespace lintara
