#pragma once

#include "tests/analysis/temp_tree.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QStringList>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace uitest {

// Runs `act` on the next modal window of type W once it is open, from inside its modal loop, for
// as long as the returned timer lives. If none opens within the time, `act` is not run; a test
// sees that through what `act` records.
template <class W>
[[nodiscard]] std::unique_ptr<QTimer> WhenModal(std::function<void(W*)> act, int timeoutMs = 10000) {
    auto timer = std::make_unique<QTimer>();
    QTimer* poll = timer.get();
    poll->setInterval(5);
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, deadline, act] {
        W* window = qobject_cast<W*>(QApplication::activeModalWidget());
        if (window && window->isVisible()) {
            poll->stop();
            act(window);
        } else if (deadline.hasExpired()) {
            poll->stop();
        }
    });
    poll->start();
    return timer;
}

// A test's own settings: while it lives, the user's and the machine's settings, the home folder
// and the current directory all lie in a fresh temporary tree, so that the dialog finds its
// install directory only where the test put it.
class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const lintara::fixtures::TempTree& Tree() const { return tree_; }
    // The current directory, where the settings file lies.
    std::filesystem::path WorkDir() const { return tree_ / "work"; }
    std::filesystem::path UserRoot() const { return tree_ / "config"; }

    // UTPath of the user key, as the dialog reads it first; empty when absent.
    void SetUserInstallDir(const std::string& dir) const;
    std::optional<std::string> UserInstallDir() const;
    // Folder of the game installer's key.
    void SetGameInstallDir(const std::string& dir) const;
    // Makes the user key impossible to write: its root is a file.
    void BreakUserRoot() const;

private:
    lintara::fixtures::TempTree tree_;
    std::filesystem::path previousDir_;
    std::map<std::string, std::optional<std::string>> previousEnv_;
};

// Creates an installation under `relative` of the tree holding, for each entry "Folder/File", an
// empty file; returns its root.
std::filesystem::path MakeInstall(const lintara::fixtures::TempTree& tree, std::string_view relative,
                                  std::initializer_list<std::string_view> files);

// The path as the dialog's file-name box shows it.
QString DisplayPath(const std::filesystem::path& path);

// The rows of the result list, each "name|status".
QStringList Rows(QWidget* dialog);

} // namespace uitest
