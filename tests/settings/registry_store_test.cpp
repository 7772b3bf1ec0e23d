// The settings store on Windows: the real registry, below a key of the test's own, and the
// user's own keys where a case needs them.
#include "platform/settings_store.h"

#include "tests/settings/registry_sandbox.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace lintara {
namespace {

using testing::RegistrySandbox;
using Root = SettingsStore::Root;
using namespace std::string_literals;

constexpr const char* kUserKey = "SOFTWARE\\Korvel\\Lintara";
constexpr const char* kGameKey = "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2004";

class RegistryStoreTest : public ::testing::Test {
protected:
    std::optional<std::string> Query(Root root, const char* keyPath, const char* name, std::size_t capacity = 260) {
        const auto key = store.OpenKey(root, keyPath);
        if (!key) return std::nullopt;
        return key->QueryValue(name, capacity);
    }
    std::optional<std::string> QueryUser(const char* name) { return Query(Root::User, kUserKey, name); }
    bool SetUser(const char* name, const std::string& text) {
        auto key = store.CreateUserKey(kUserKey);
        return key && key->SetStringValue(name, text);
    }

    RegistrySandbox registry;
    SettingsStore store{StoreRoots{registry.Root("user"), {registry.Root("machine1"), registry.Root("machine2")}}};
};

// A string value reads back with its terminating zero byte.
std::string Stored(const std::string& text) { return text + '\0'; }

TEST_F(RegistryStoreTest, KeysLieBelowTheirRootAndValuesAreStrings) {
    ASSERT_TRUE(SetUser("UTPath", "D:\\Games\\UT2004"));
    EXPECT_EQ(registry.Value("user", kUserKey, "UTPath"), Stored("D:\\Games\\UT2004"));
    EXPECT_EQ(store.KeyLocation(Root::User, kUserKey), registry.Root("user") + "\\" + kUserKey);
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, (registry.Root("user").substr(18) + "\\" + kUserKey).c_str(), 0,
                              KEY_READ | KEY_WOW64_32KEY, &key),
              ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(::RegQueryValueExA(key, "UTPath", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    ::RegCloseKey(key);
}

TEST_F(RegistryStoreTest, AbsentKeysAndValuesReadAsAbsent) {
    EXPECT_FALSE(store.OpenKey(Root::User, kUserKey));
    EXPECT_FALSE(store.OpenKey(Root::Machine, kGameKey));
    registry.SetString("user", kUserKey, "Other", "1");
    ASSERT_TRUE(store.OpenKey(Root::User, kUserKey));
    EXPECT_EQ(QueryUser("UTPath"), std::nullopt);
    EXPECT_EQ(QueryUser("Other"), Stored("1"));
}

TEST_F(RegistryStoreTest, AValueLongerThanTheCapacityReadsAsAbsent) {
    const std::string longest(259, 'a'); // 260 bytes with its terminator
    ASSERT_TRUE(SetUser("Fits", longest));
    ASSERT_TRUE(SetUser("TooLong", longest + "b"));
    ASSERT_TRUE(SetUser("Empty", ""));
    EXPECT_EQ(QueryUser("Fits"), Stored(longest));
    EXPECT_EQ(QueryUser("TooLong"), std::nullopt);
    EXPECT_EQ(Query(Root::User, kUserKey, "TooLong", 261), Stored(longest + "b"));
    EXPECT_EQ(QueryUser("Empty"), Stored(""));
}

TEST_F(RegistryStoreTest, EveryByteButZeroSurvivesTheRoundTrip) {
    std::string everyByte;
    for (int c = 1; c < 256; ++c) everyByte += static_cast<char>(c);
    const std::vector<std::string> values = {
        "", "C:\\new\\temp\\", " leading blank", "trailing blank ", "line\nbreak", "carriage\rreturn", "\"quoted\"",
        "a=b=c", "#not a comment", "caf\xe9 \xff\xfe", everyByte.substr(0, 200), everyByte.substr(200),
    };
    for (std::size_t i = 0; i < values.size(); ++i)
        ASSERT_TRUE(SetUser(("V" + std::to_string(i)).c_str(), values[i])) << i;
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(QueryUser(("V" + std::to_string(i)).c_str()), Stored(values[i])) << i;
}

// Whatever type a value has, its bytes are given as they are.
TEST_F(RegistryStoreTest, AValueOfAnyTypeReadsAsItsBytes) {
    const struct {
        const char* name;
        DWORD type;
        std::string bytes;
    } cases[] = {
        {"Binary", REG_BINARY, "D:\\UT2004"},
        {"BinaryWithZero", REG_BINARY, "D:\\UT\0rest"s},
        {"Dword", REG_DWORD, "D:\\\0"s},
        {"Expand", REG_EXPAND_SZ, "%SystemDrive%\\UT2004\0"s},
        {"Multi", REG_MULTI_SZ, "D:\\A\0D:\\B\0\0"s},
        {"None", REG_NONE, ""},
    };
    for (const auto& c : cases) registry.SetValue("user", kUserKey, c.name, c.type, c.bytes);
    for (const auto& c : cases) EXPECT_EQ(QueryUser(c.name), c.bytes) << c.name;
}

TEST_F(RegistryStoreTest, KeysOpenedForReadingRefuseWrites) {
    registry.SetString("user", kUserKey, "UTPath", "D:\\old");
    registry.SetString("machine1", kGameKey, "Folder", "D:\\game");
    auto user = store.OpenKey(Root::User, kUserKey);
    auto game = store.OpenKey(Root::Machine, kGameKey);
    ASSERT_TRUE(user && game);
    EXPECT_FALSE(user->SetStringValue("UTPath", "D:\\new"));
    EXPECT_FALSE(game->SetStringValue("Folder", "D:\\new"));
    EXPECT_EQ(registry.Value("user", kUserKey, "UTPath"), Stored("D:\\old"));
    EXPECT_EQ(registry.Value("machine1", kGameKey, "Folder"), Stored("D:\\game"));
}

TEST_F(RegistryStoreTest, ZeroBytesAreRefused) {
    registry.SetString("user", kUserKey, "UTPath", "D:\\old");
    EXPECT_FALSE(SetUser("UTPath", std::string("D:\\a\0b", 6)));
    EXPECT_EQ(registry.Value("user", kUserKey, "UTPath"), Stored("D:\\old"));
}

TEST_F(RegistryStoreTest, TheMachineKeyComesFromTheFirstRootThatHoldsIt) {
    registry.SetString("machine2", kGameKey, "Folder", "D:\\second");
    EXPECT_EQ(Query(Root::Machine, kGameKey, "Folder"), Stored("D:\\second"));
    registry.SetString("machine1", kGameKey, "Other", "1");
    EXPECT_EQ(Query(Root::Machine, kGameKey, "Folder"), std::nullopt);
}

TEST_F(RegistryStoreTest, KeyPathsWithEmptyComponentsNameNoKey) {
    registry.SetString("user", kUserKey, "UTPath", "D:\\x");
    for (const char* path : {"", "SOFTWARE\\Korvel\\\\Lintara", "\\SOFTWARE\\Korvel\\Lintara", "SOFTWARE\\Korvel\\Lintara\\"}) {
        EXPECT_FALSE(store.OpenKey(Root::User, path)) << path;
        EXPECT_FALSE(store.CreateUserKey(path)) << path;
    }
    const SettingsStore unknownRoot{StoreRoots{"HKEY_NOWHERE\\x", {"HKEY_NOWHERE"}}};
    EXPECT_FALSE(unknownRoot.OpenKey(Root::User, kUserKey));
    EXPECT_FALSE(unknownRoot.CreateUserKey(kUserKey));
}

// The user's own key, HKEY_CURRENT_USER\SOFTWARE\Korvel\Lintara, through the real registry.
TEST(ThisUsersRegistry, TheUserKeyRoundTrip) {
    const SettingsStore store = SettingsStore::ForThisUser();
    EXPECT_EQ(store.KeyLocation(Root::User, kUserKey), "HKEY_CURRENT_USER\\SOFTWARE\\Korvel\\Lintara");
    std::optional<std::string> before;
    if (const auto key = store.OpenKey(Root::User, kUserKey)) before = key->QueryValue("UTPath", 260);

    auto key = store.CreateUserKey(kUserKey);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->SetStringValue("UTPath", "D:\\Games\\UT2004 round trip"));
    EXPECT_EQ(store.OpenKey(Root::User, kUserKey)->QueryValue("UTPath", 260), Stored("D:\\Games\\UT2004 round trip"));
    char text[260] = {};
    DWORD size = sizeof text;
    EXPECT_EQ(::RegGetValueA(HKEY_CURRENT_USER, kUserKey, "UTPath", RRF_RT_REG_SZ, nullptr, text, &size), ERROR_SUCCESS);
    EXPECT_STREQ(text, "D:\\Games\\UT2004 round trip");

    if (before) {
        EXPECT_TRUE(key->SetStringValue("UTPath", before->substr(0, before->find('\0'))));
    } else {
        HKEY raw = nullptr;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kUserKey, 0, KEY_SET_VALUE, &raw), ERROR_SUCCESS);
        ::RegDeleteValueA(raw, "UTPath");
        ::RegCloseKey(raw);
    }
}

// The game's 32-bit installer writes its key in the 32-bit view of HKEY_LOCAL_MACHINE, which a
// 64-bit program sees as SOFTWARE\WOW6432Node; the store reads it there.
TEST(ThisUsersRegistry, TheGameKeyIsReadInThe32BitView) {
    HKEY view32 = nullptr;
    HKEY view64 = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                          &view32, nullptr) != ERROR_SUCCESS ||
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr,
                          &view64, nullptr) != ERROR_SUCCESS) {
        if (view32) ::RegCloseKey(view32);
        GTEST_SKIP() << "HKEY_LOCAL_MACHINE cannot be written here";
    }
    ::RegSetValueExA(view32, "Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\32-bit"), 10);
    ::RegSetValueExA(view64, "Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\64-bit"), 10);
    const auto key = SettingsStore::ForThisUser().OpenKey(Root::Machine, kGameKey);
    const auto value = key ? key->QueryValue("Folder", 260) : std::nullopt;
    ::RegDeleteValueA(view32, "Folder");
    ::RegDeleteValueA(view64, "Folder");
    ::RegCloseKey(view32);
    ::RegCloseKey(view64);
    EXPECT_EQ(value, Stored("C:\\32-bit"));
}

} // namespace
} // namespace lintara
