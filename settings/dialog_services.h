#pragma once

#include <optional>
#include <string>

namespace lintara {

// The two services of the main dialog that finding the install directory needs: a folder prompt
// and a message box, both modal and owned by the dialog. The dialog implements them with real
// windows; tests use a scripted stand-in.
class DialogServices {
public:
    virtual ~DialogServices() = default;

    struct FolderChoice {
        enum class Result { Chosen, Cancelled, Unavailable }; // Unavailable: it could not be shown
        Result result = Result::Cancelled;
        std::string path; // the chosen folder's full path, when Chosen
    };

    // Shows the folder prompt with the given title and waits for it to close.
    virtual FolderChoice PromptForFolder(const std::string& title) = 0;

    // Shows a message box with an OK button only and no icon, and waits for it to close.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
};

} // namespace lintara
