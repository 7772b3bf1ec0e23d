#pragma once

#include "settings/dialog_services.h"

#include <deque>
#include <string>
#include <vector>

namespace lintara::testing {

// A stand-in for the dialog: the folder prompt gives the scripted answers in turn (Cancelled once
// they run out), and everything asked and shown is recorded.
class ScriptedDialog : public DialogServices {
public:
    struct Message {
        std::string text;
        std::string caption;
        bool operator==(const Message&) const = default;
    };

    void WillChoose(std::string path) { answers_.push_back({FolderChoice::Result::Chosen, std::move(path)}); }
    void WillCancel() { answers_.push_back({FolderChoice::Result::Cancelled, {}}); }
    void WillBeUnavailable() { answers_.push_back({FolderChoice::Result::Unavailable, {}}); }

    FolderChoice PromptForFolder(const std::string& title) override {
        prompts.push_back(title);
        if (answers_.empty()) return {FolderChoice::Result::Cancelled, {}};
        FolderChoice answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages.push_back({text, caption});
    }

    std::vector<std::string> prompts;  // the title of each prompt shown
    std::vector<Message> messages;     // each message box shown

private:
    std::deque<FolderChoice> answers_;
};

} // namespace lintara::testing
