// Where this machine's store and default places lie, as the environment gives them.
#include "platform/default_install_dirs.h"
#include "platform/settings_store.h"

#include "tests/settings/sandbox.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace lintara {
namespace {

using testing::Sandbox;
using testing::ScopedEnvironment;
using Root = SettingsStore::Root;

constexpr const char* kUserKey = "SOFTWARE\\Korvel\\Lintara";
constexpr const char* kGameKey = "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2004";

std::string UserKeyFile() { return SettingsStore::ForThisUser().KeyLocation(Root::User, kUserKey); }

TEST(EnvironmentTest, TheUserKeyLiesInTheUsersConfigFolder) {
    ScopedEnvironment home("HOME", "/home/someone/");
    {
        ScopedEnvironment config("XDG_CONFIG_HOME", "/tmp/config/");
        EXPECT_EQ(UserKeyFile(), "/tmp/config/Korvel/Lintara.conf");
    }
    const struct {
        const char* value;
    } ignored[] = {{nullptr}, {""}, {"relative/config"}};
    for (const auto& c : ignored) {
        ScopedEnvironment config("XDG_CONFIG_HOME", c.value);
        EXPECT_EQ(UserKeyFile(), "/home/someone/.config/Korvel/Lintara.conf") << (c.value ? c.value : "unset");
    }
}

TEST(EnvironmentTest, WithoutHomeTheUserDatabaseGivesTheHomeFolder) {
    ScopedEnvironment home("HOME", nullptr);
    ScopedEnvironment config("XDG_CONFIG_HOME", nullptr);
    const passwd* entry = ::getpwuid(::getuid());
    ASSERT_TRUE(entry && entry->pw_dir);
    const std::string folder = std::string(entry->pw_dir) == "/" ? "" : entry->pw_dir;
    EXPECT_EQ(UserKeyFile(), folder + "/.config/Korvel/Lintara.conf");
    EXPECT_EQ(DefaultInstallDirs().front().probe, folder + "/.local/share/OldUnreal/UT2004/");
}

TEST(EnvironmentTest, TheGameKeyComesFromTheFirstConfigFolderThatHoldsIt) {
    Sandbox sandbox;
    const std::string first = sandbox.MakeFolder("first");
    const std::string second = sandbox.MakeFolder("second");
    const std::string held = sandbox.WriteFile("second/Unreal Technology/Installed Apps/UT2004.conf", "Folder=/opt/ut2004\n");
    const std::string dirs = "relative:" + first + ":" + second + "/";
    {
        ScopedEnvironment config("XDG_CONFIG_DIRS", dirs.c_str());
        const SettingsStore store = SettingsStore::ForThisUser();
        EXPECT_EQ(store.KeyLocation(Root::Machine, kGameKey), held);
        const auto key = store.OpenKey(Root::Machine, kGameKey);
        ASSERT_TRUE(key);
        EXPECT_EQ(key->QueryValue("Folder", 260), std::string("/opt/ut2004", 12));
    }
    for (const char* unset : {static_cast<const char*>(nullptr), ""}) {
        ScopedEnvironment config("XDG_CONFIG_DIRS", unset);
        EXPECT_EQ(SettingsStore::ForThisUser().KeyLocation(Root::Machine, kGameKey),
                  "/etc/xdg/Unreal Technology/Installed Apps/UT2004.conf");
    }
}

TEST(EnvironmentTest, TheDefaultPlacesAreTheInstallersOwn) {
    ScopedEnvironment home("HOME", "/home/someone");
    const std::vector<DefaultInstallDir> dirs = DefaultInstallDirs();
    ASSERT_EQ(dirs.size(), 2u);
    EXPECT_EQ(dirs[0].probe, "/home/someone/.local/share/OldUnreal/UT2004/");
    EXPECT_EQ(dirs[0].dir, "/home/someone/.local/share/OldUnreal/UT2004");
    EXPECT_EQ(dirs[1].probe, "/usr/local/games/ut2004/");
    EXPECT_EQ(dirs[1].dir, "/usr/local/games/ut2004");
}

} // namespace
} // namespace lintara
