// The POSIX settings store's reader, on a key file that holds the input, and its writer on the
// same file.
//
// The input is the key file's text, then, after its last zero byte, a value to store (values
// hold no zero byte). A value read is the one that the key-file rules give, within the store's
// capacity; a value stored reads back as itself, and every other value of the file stays.
#include "fuzz/scratch.h"
#include "platform/posix/key_file.h"
#include "platform/settings_store.h"
#include "settings/install_dir_settings.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using lintara::fuzz::Fail;

bool SameNameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The names that the file's lines carry, blanks around them removed; at most `limit` of them.
std::vector<std::string> NamesIn(std::string_view text, std::size_t limit) {
    std::vector<std::string> names;
    std::size_t begin = 0;
    while (begin < text.size() && names.size() < limit) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(begin, end - begin);
        begin = end + 1;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string_view name = line.substr(0, equals);
        while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
        if (!name.empty()) names.emplace_back(name);
    }
    return names;
}

std::optional<std::string> Query(const lintara::SettingsStore& store) {
    const auto key = store.OpenKey(lintara::SettingsStore::Root::User, lintara::kUserKeyPath);
    if (!key) Fail("an existing key file did not open");
    return key->QueryValue(lintara::kUserValueName, lintara::kStoreValueCapacity);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& folder = lintara::fuzz::ScratchFolder();
    static const bool made = std::filesystem::create_directories(folder + "/config/Korvel") ||
                             std::filesystem::is_directory(folder + "/config/Korvel");
    if (!made) Fail("cannot create the user root");
    const std::string keyFile = folder + "/config/Korvel/Lintara.conf";

    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t lastZero = all.rfind('\0');
    const std::string_view text = lastZero == std::string_view::npos ? all : all.substr(0, lastZero);
    const std::string value(lastZero == std::string_view::npos ? std::string_view("/new/value") : all.substr(lastZero + 1));
    lintara::fuzz::WriteWholeFile(keyFile, text);

    const lintara::SettingsStore store(lintara::StoreRoots{folder + "/config", {folder + "/xdg"}});
    const auto stored = Query(store);
    const auto byTheRules = lintara::key_file::FindValue(text, lintara::kUserValueName);
    if (byTheRules && byTheRules->size() + 1 <= lintara::kStoreValueCapacity) {
        if (stored != *byTheRules + '\0') Fail("the value read is not the one the key-file rules give");
    } else if (stored) {
        Fail("a value that is absent or over the capacity was read");
    }

    // Store the value; it reads back, and the other names keep their values.
    auto key = store.CreateUserKey(lintara::kUserKeyPath);
    if (!key) Fail("the existing user key could not be opened for writing");
    if (!key->SetStringValue(lintara::kUserValueName, value)) Fail("a value without zero bytes was not stored");
    const auto written = lintara::fuzz::ReadWholeFile(keyFile);
    if (lintara::key_file::FindValue(written, lintara::kUserValueName) != value) Fail("the value stored does not read back");
    const auto again = Query(store);
    if (value.size() + 1 <= lintara::kStoreValueCapacity ? again != value + '\0' : again.has_value())
        Fail("the value stored does not read back through the store");
    for (const std::string& name : NamesIn(text, 16)) {
        if (SameNameIgnoringAsciiCase(name, lintara::kUserValueName)) continue;
        if (lintara::key_file::FindValue(written, name) != lintara::key_file::FindValue(text, name))
            Fail("storing one value changed another");
    }
    return 0;
}
