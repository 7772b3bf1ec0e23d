#include "platform/settings_store.h"

#include "tests/settings/sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace lintara {
namespace {

using testing::FileSizeLimit;
using testing::ReadFile;
using testing::Sandbox;
using Root = SettingsStore::Root;

constexpr const char* kUserKey = "SOFTWARE\\Korvel\\Lintara";
constexpr const char* kGameKey = "SOFTWARE\\Unreal Technology\\Installed Apps\\UT2004";

class SettingsStoreTest : public ::testing::Test {
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
    std::string UserFile() const { return sandbox.Path("config/Korvel/Lintara.conf"); }

    Sandbox sandbox;
    SettingsStore store{StoreRoots{sandbox.Path("config"), {sandbox.Path("xdg1"), sandbox.Path("xdg2")}}};
};

// A string value reads back with its terminating zero byte, as the registry gives it.
std::string Stored(const std::string& text) { return text + '\0'; }

TEST_F(SettingsStoreTest, KeysAreFilesNamedAfterTheirPathBelowSoftware) {
    ASSERT_TRUE(SetUser("UTPath", "/games/ut2004"));
    EXPECT_EQ(ReadFile(UserFile()), "UTPath=/games/ut2004\n");
    EXPECT_EQ(store.KeyLocation(Root::User, kUserKey), UserFile());

    const std::string gameFile = sandbox.WriteFile("xdg2/Unreal Technology/Installed Apps/UT2004.conf", "Folder=/opt/ut\n");
    EXPECT_EQ(store.KeyLocation(Root::Machine, kGameKey), gameFile);
    EXPECT_EQ(Query(Root::Machine, kGameKey, "Folder"), Stored("/opt/ut"));
}

TEST_F(SettingsStoreTest, AbsentKeysAndValuesReadAsAbsent) {
    EXPECT_FALSE(store.OpenKey(Root::User, kUserKey));
    EXPECT_FALSE(store.OpenKey(Root::Machine, kGameKey));
    sandbox.WriteFile("config/Korvel/Lintara.conf", "Other=1\n");
    ASSERT_TRUE(store.OpenKey(Root::User, kUserKey));
    EXPECT_EQ(QueryUser("UTPath"), std::nullopt);
    EXPECT_EQ(QueryUser("Other"), Stored("1"));
}

TEST_F(SettingsStoreTest, AValueLongerThanTheCapacityReadsAsAbsent) {
    const std::string longest(259, 'a'); // 260 bytes with its terminator
    ASSERT_TRUE(SetUser("Fits", longest));
    ASSERT_TRUE(SetUser("TooLong", longest + "b"));
    ASSERT_TRUE(SetUser("Empty", ""));
    EXPECT_EQ(QueryUser("Fits"), Stored(longest));
    EXPECT_EQ(QueryUser("TooLong"), std::nullopt);
    EXPECT_EQ(Query(Root::User, kUserKey, "TooLong", 261), Stored(longest + "b"));
    EXPECT_EQ(QueryUser("Empty"), Stored(""));
}

TEST_F(SettingsStoreTest, EveryByteButZeroSurvivesTheRoundTrip) {
    std::string everyByte;
    for (int c = 1; c < 256; ++c) everyByte += static_cast<char>(c);
    const std::vector<std::string> values = {
        "",
        "/home/me/UT2004",
        "C:\\new\\temp\\",
        " leading blank",
        "trailing blank ",
        "\ttab first",
        "line\nbreak",
        "carriage\rreturn",
        "ends in CR\r",
        "\"quoted\"",
        "\"",
        "ends in backslash\\",
        "\" \\n \\\" \"",
        "a=b=c",
        "#not a comment",
        "caf\xc3\xa9 \xff\xfe",
        everyByte.substr(0, 200),
        everyByte.substr(200),
    };
    for (std::size_t i = 0; i < values.size(); ++i)
        ASSERT_TRUE(SetUser(("V" + std::to_string(i)).c_str(), values[i])) << i;
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(QueryUser(("V" + std::to_string(i)).c_str()), Stored(values[i])) << i;
    // One line per value: no raw line break got into the file.
    const std::string text = ReadFile(UserFile()).value();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(values.size()));
}

TEST_F(SettingsStoreTest, ValuesAreWrittenAsAPersonWouldWriteThem) {
    const struct {
        const char* value;
        const char* line;
    } cases[] = {
        {"/home/me/UT2004", "UTPath=/home/me/UT2004\n"},
        {"C:\\new\\temp", "UTPath=C:\\new\\temp\n"},
        {"say \"hi\"", "UTPath=say \"hi\"\n"},
        {"", "UTPath=\n"},
        {" lead", "UTPath=\" lead\"\n"},
        {"a\nb\\c", "UTPath=\"a\\nb\\\\c\"\n"},
        {"\"q", "UTPath=\"\\\"q\"\n"},
    };
    for (const auto& c : cases) {
        std::remove(UserFile().c_str());
        ASSERT_TRUE(SetUser("UTPath", c.value));
        EXPECT_EQ(ReadFile(UserFile()), c.line) << c.value;
    }
}

TEST_F(SettingsStoreTest, AHandEditedFileReadsAsThePersonMeantIt) {
    const struct {
        const char* text;
        std::optional<std::string> value;
    } cases[] = {
        {"UTPath=/home/me/UT2004\n", "/home/me/UT2004"},
        {"UTPath=/home/me/UT2004", "/home/me/UT2004"},
        {"UTPath=/home/me/UT2004\r\n", "/home/me/UT2004"},
        {"  utpath = /home/me/UT2004 \t\n", "/home/me/UT2004"},
        {"UTPath=\"/home/me/My Games/UT2004 \"\n", "/home/me/My Games/UT2004 "},
        {"UTPath=C:\\Games\\UT2004\n", "C:\\Games\\UT2004"},
        {"UTPath=\"C:\\Games\\UT2004\"\n", "C:\\Games\\UT2004"}, // a backslash that starts no escape stays
        {"UTPath=\"unterminated\n", "\"unterminated"},
        {"UTPath=a=b\n", "a=b"},
        {"UTPath=\n", ""},
        {"UTPath=/first\nUTPath=/second\n", "/second"},
        {"[Korvel]\nUTPath=/x\n", "/x"},
        {"# UTPath=/old\n", std::nullopt},
        {"; UTPath=/old\n", std::nullopt},
        {"UTPathX=/x\nUTPath\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        sandbox.WriteFile("config/Korvel/Lintara.conf", c.text);
        const auto value = QueryUser("UTPath");
        if (c.value)
            EXPECT_EQ(value, Stored(*c.value)) << c.text;
        else
            EXPECT_EQ(value, std::nullopt) << c.text;
    }
}

TEST_F(SettingsStoreTest, ARewriteKeepsTheLinesItDoesNotUnderstand) {
    sandbox.WriteFile("config/Korvel/Lintara.conf",
                      "# Lintara, edited by hand\r\n"
                      "\n"
                      "[Korvel]\n"
                      "UTPath=/old\n"
                      "Theme = dark\n"
                      "no equals here\n"
                      "utpath=/older but later\r\n"
                      "; UTPath=/commented\n"
                      "Last=line without newline");
    ASSERT_TRUE(SetUser("UTPath", "/new"));
    const std::string expected = "# Lintara, edited by hand\r\n"
                                 "\n"
                                 "[Korvel]\n"
                                 "UTPath=/old\n"
                                 "Theme = dark\n"
                                 "no equals here\n"
                                 "UTPath=/new\r\n"
                                 "; UTPath=/commented\n"
                                 "Last=line without newline";
    EXPECT_EQ(ReadFile(UserFile()), expected);
    ASSERT_TRUE(SetUser("Added", "1"));
    EXPECT_EQ(ReadFile(UserFile()), expected + "\nAdded=1\n");
    EXPECT_EQ(QueryUser("UTPath"), Stored("/new"));
    EXPECT_EQ(QueryUser("Theme"), Stored("dark"));
}

TEST_F(SettingsStoreTest, AWriteThatCannotFinishKeepsThePreviousFile) {
    const std::string before = "# mine\nUTPath=/old\n";
    sandbox.WriteFile("config/Korvel/Lintara.conf", before);
    {
        // The new content is longer than the disk allows: the temporary file cannot be filled.
        FileSizeLimit fullDisk(before.size());
        EXPECT_FALSE(SetUser("UTPath", "/a/much/longer/new/value"));
    }
    EXPECT_EQ(ReadFile(UserFile()), before);
    EXPECT_EQ(sandbox.List("config/Korvel"), std::vector<std::string>{"Lintara.conf"});
    EXPECT_EQ(QueryUser("UTPath"), Stored("/old"));
}

TEST_F(SettingsStoreTest, AUserRootThatCannotHoldFoldersRefusesToCreateTheKey) {
    // Even root cannot create a folder below a regular file.
    sandbox.WriteFile("config", "a file, not a folder");
    EXPECT_FALSE(store.CreateUserKey(kUserKey));
    EXPECT_FALSE(store.OpenKey(Root::User, kUserKey));
    EXPECT_EQ(ReadFile(sandbox.Path("config")), "a file, not a folder");
}

TEST_F(SettingsStoreTest, AKeyFileThatIsAFolderIsNeitherReadNorReplaced) {
    sandbox.MakeFolder("config/Korvel/Lintara.conf");
    EXPECT_FALSE(store.OpenKey(Root::User, kUserKey));
    EXPECT_FALSE(SetUser("UTPath", "/x"));
    EXPECT_TRUE(sandbox.List("config/Korvel/Lintara.conf").empty());
}

TEST_F(SettingsStoreTest, KeysOpenedForReadingRefuseWrites) {
    sandbox.WriteFile("config/Korvel/Lintara.conf", "UTPath=/old\n");
    const std::string gameFile = sandbox.WriteFile("xdg1/Unreal Technology/Installed Apps/UT2004.conf", "Folder=/opt/ut\n");
    auto user = store.OpenKey(Root::User, kUserKey);
    auto game = store.OpenKey(Root::Machine, kGameKey);
    ASSERT_TRUE(user && game);
    EXPECT_FALSE(user->SetStringValue("UTPath", "/new"));
    EXPECT_FALSE(game->SetStringValue("Folder", "/new"));
    EXPECT_EQ(ReadFile(UserFile()), "UTPath=/old\n");
    EXPECT_EQ(ReadFile(gameFile), "Folder=/opt/ut\n");
}

TEST_F(SettingsStoreTest, ZeroBytesAndUnwritableNamesAreRefused) {
    sandbox.WriteFile("config/Korvel/Lintara.conf", "UTPath=/old\n");
    EXPECT_FALSE(SetUser("UTPath", std::string("/a\0b", 4)));
    EXPECT_FALSE(SetUser("Bad=Name", "x"));
    EXPECT_FALSE(SetUser("# comment", "x"));
    EXPECT_FALSE(SetUser("", "x"));
    EXPECT_EQ(ReadFile(UserFile()), "UTPath=/old\n");
}

TEST_F(SettingsStoreTest, TheMachineKeyComesFromTheFirstFolderThatHoldsIt) {
    const char* relative = "Unreal Technology/Installed Apps/UT2004.conf";
    sandbox.WriteFile(std::string("xdg2/") + relative, "Folder=/from/second\n");
    EXPECT_EQ(Query(Root::Machine, kGameKey, "Folder"), Stored("/from/second"));
    sandbox.WriteFile(std::string("xdg1/") + relative, "Other=1\n");
    EXPECT_EQ(Query(Root::Machine, kGameKey, "Folder"), std::nullopt);
    // A key in the first folder that cannot be read does not hand over to the next folder.
    std::filesystem::remove(sandbox.Path(std::string("xdg1/") + relative));
    sandbox.MakeFolder(std::string("xdg1/") + relative);
    EXPECT_FALSE(store.OpenKey(Root::Machine, kGameKey));
}

TEST_F(SettingsStoreTest, KeyPathsThatLeadOutOfTheRootNameNoKey) {
    for (const char* path : {"", "SOFTWARE\\..\\..\\escape", "SOFTWARE\\Korvel\\\\Lintara", "SOFTWARE\\a/b", "."}) {
        EXPECT_FALSE(store.OpenKey(Root::User, path)) << path;
        EXPECT_FALSE(store.CreateUserKey(path)) << path;
    }
    EXPECT_TRUE(sandbox.List("").empty());
}

} // namespace
} // namespace lintara
