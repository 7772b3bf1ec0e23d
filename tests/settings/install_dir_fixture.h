#pragma once

#include "settings/install_dir_settings.h"
#include "tests/settings/registry_sandbox.h"
#include "tests/settings/sandbox.h"
#include "tests/settings/scripted_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace lintara::testing {

// Every source of the install directory in a sandbox: the user root "config", the machine roots
// "xdg1" and "xdg2" (on Windows the keys "user", "machine1" and "machine2" of a registry
// sandbox), the default places "share/OldUnreal/UT2004/" and "games/ut2004/", and the current
// directory "work", which holds the settings file.
class InstallDirFixture : public ::testing::Test {
protected:
    InstallDirFixture() {
        sandbox.MakeFolder("work");
        std::filesystem::current_path(sandbox.Path("work"));
    }

    InstallDirSettings Settings() {
        return InstallDirSettings(installDir, dialog, SettingsStore(Roots()),
                                  {{sandbox.Path("share/OldUnreal/UT2004/"), sandbox.Path("share/OldUnreal/UT2004")},
                                   {sandbox.Path("games/ut2004/"), sandbox.Path("games/ut2004")}});
    }

    // Runs LoadInstallDir as the dialog does, on a fresh InstallDirSettings.
    bool Load(InstallDirSource* source = nullptr) { return Settings().LoadInstallDir(source); }

#ifdef _WIN32
    StoreRoots Roots() const { return {registry.Root(userRoot), {registry.Root("machine1"), registry.Root("machine2")}}; }

    // UTPath as the user key holds it, without its terminating zero byte; empty when absent.
    std::optional<std::string> UserValue() const {
        auto bytes = registry.Value(userRoot, kUserKeyPath, kUserValueName);
        if (bytes && !bytes->empty() && bytes->back() == '\0') bytes->pop_back();
        return bytes;
    }
    void GiveUserValue(std::string_view text) { registry.SetString(userRoot, kUserKeyPath, kUserValueName, text); }
    void GiveGameValue(std::string_view text) { registry.SetString("machine1", kGameKeyPath, kGameValueName, text); }
    std::string SettingsFile() const { return sandbox.Path("work/LintaraSettings.ini"); }
    void GiveSettingsFile(std::string_view bytes) { sandbox.WriteFile("work/LintaraSettings.ini", bytes); }

    // The user key can no longer be created: its root is a volatile key, below which the registry
    // creates no lasting key.
    void BreakUserKey() {
        userRoot = "volatile";
        registry.MakeVolatile(userRoot);
    }
    // The settings file can no longer be read or written: a folder takes its place. (Windows does
    // not let the current directory be removed.)
    void BreakCurrentDirectory() {
        std::filesystem::remove(SettingsFile());
        sandbox.MakeFolder("work/LintaraSettings.ini");
    }

    RegistrySandbox registry;
    std::string userRoot = "user";
#else
    StoreRoots Roots() const { return {sandbox.Path("config"), {sandbox.Path("xdg1"), sandbox.Path("xdg2")}}; }

    std::string UserKeyFile() const { return sandbox.Path("config/Korvel/Lintara.conf"); }
    std::string GameKeyFile() const { return sandbox.Path("xdg1/Unreal Technology/Installed Apps/UT2004.conf"); }
    std::string SettingsFile() const { return sandbox.Path("work/LintaraSettings.ini"); }

    void GiveUserKey(std::string_view text) { sandbox.WriteFile("config/Korvel/Lintara.conf", text); }
    void GiveGameKey(std::string_view text) {
        sandbox.WriteFile("xdg1/Unreal Technology/Installed Apps/UT2004.conf", text);
    }
    void GiveSettingsFile(std::string_view bytes) { sandbox.WriteFile("work/LintaraSettings.ini", bytes); }

    // The user key can no longer be created: its root is a regular file. This holds for root too.
    void BreakUserKey() { sandbox.WriteFile("config", "not a folder"); }
    // The settings file can no longer be read or written: the current directory is removed.
    void BreakCurrentDirectory() {
        sandbox.MakeFolder("work/gone");
        std::filesystem::current_path(sandbox.Path("work/gone"));
        std::filesystem::remove(sandbox.Path("work/gone"));
    }
#endif

    Sandbox sandbox;
    ScriptedDialog dialog;
    std::string installDir; // the dialog's, empty when the dialog is built
};

} // namespace lintara::testing
