#include "tests/ui/ui_test_support.h"

#include "platform/settings_store.h"
#include "settings/install_dir_settings.h"

#include <QDir>
#include <QTreeWidget>

#include <stdexcept>
#include <stdlib.h>

namespace uitest {

namespace {

constexpr const char* kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"};

std::optional<std::string> Variable(const char* name) {
    const char* value = ::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void SetVariable(const std::string& name, const std::optional<std::string>& value) {
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
}

// A store whose user root is `folder`, for writing a key file there.
lintara::SettingsKey CreateKey(const std::filesystem::path& folder, const char* keyPath) {
    lintara::SettingsStore store(lintara::StoreRoots{folder.string(), {}});
    auto key = store.CreateUserKey(keyPath);
    if (!key) throw std::runtime_error("cannot create the key " + std::string(keyPath));
    return std::move(*key);
}

} // namespace

Sandbox::Sandbox() {
    for (const char* name : kVariables) previousEnv_[name] = Variable(name);
    tree_.AddFolder("home");
    tree_.AddFolder("config");
    tree_.AddFolder("machine");
    tree_.AddFolder("work");
    SetVariable("HOME", (tree_ / "home").string());
    SetVariable("XDG_CONFIG_HOME", UserRoot().string());
    SetVariable("XDG_CONFIG_DIRS", (tree_ / "machine").string());
    previousDir_ = std::filesystem::current_path();
    std::filesystem::current_path(WorkDir());
}

Sandbox::~Sandbox() {
    std::error_code ignored;
    std::filesystem::current_path(previousDir_, ignored);
    for (const auto& [name, value] : previousEnv_) SetVariable(name, value);
}

void Sandbox::SetUserInstallDir(const std::string& dir) const {
    if (!CreateKey(UserRoot(), lintara::kUserKeyPath).SetStringValue(lintara::kUserValueName, dir))
        throw std::runtime_error("cannot set UTPath");
}

std::optional<std::string> Sandbox::UserInstallDir() const {
    const auto key = lintara::SettingsStore::ForThisUser().OpenKey(lintara::SettingsStore::Root::User,
                                                                   lintara::kUserKeyPath);
    if (!key) return std::nullopt;
    auto value = key->QueryValue(lintara::kUserValueName, lintara::kStoreValueCapacity);
    if (value && !value->empty() && value->back() == '\0') value->pop_back();
    return value;
}

void Sandbox::SetGameInstallDir(const std::string& dir) const {
    if (!CreateKey(tree_ / "machine", lintara::kGameKeyPath).SetStringValue(lintara::kGameValueName, dir))
        throw std::runtime_error("cannot set Folder");
}

void Sandbox::BreakUserRoot() const {
    const auto blocker = tree_.AddFile("blocker", "not a folder");
    SetVariable("XDG_CONFIG_HOME", (blocker / "config").string());
}

std::filesystem::path MakeInstall(const lintara::fixtures::TempTree& tree, std::string_view relative,
                                  std::initializer_list<std::string_view> files) {
    const std::filesystem::path root = tree.AddInstall(relative);
    for (std::string_view file : files) tree.AddFile(std::string(relative) + "/" + std::string(file));
    return root;
}

QString DisplayPath(const std::filesystem::path& path) {
    return QDir::toNativeSeparators(QString::fromStdString(path.string()));
}

QStringList Rows(QWidget* dialog) {
    auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("resultList"));
    QStringList rows;
    if (!list) return rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + QLatin1Char('|') + list->topLevelItem(i)->text(1);
    return rows;
}

} // namespace uitest
