#include "platform/win32/windows_error.h"

#include <windows.h>

namespace lintara {

std::string WindowsErrorText(unsigned long error) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                          nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                          reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length != 0 && text ? std::string(text, length) : std::string();
    if (text) ::LocalFree(text);
    while (!message.empty() && (message.back() == ' ' || message.back() == '\r' || message.back() == '\n'))
        message.pop_back();
    if (!message.empty() && message.back() == '.') message.pop_back();
    if (message.empty()) message = "error " + std::to_string(error);
    return message;
}

} // namespace lintara
