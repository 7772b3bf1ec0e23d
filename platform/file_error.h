#pragma once

#include <stdexcept>
#include <string>

namespace lintara {

// The one error that reading a package can raise besides std::bad_alloc: the operating system
// refused a seek or failed a read. It carries what failed and the OS error, but no file name.
class FileError : public std::runtime_error {
public:
    enum class Operation { Seek, Read };

    FileError(Operation operation, int osError, std::string osMessage);

    Operation operation() const { return operation_; }
    int osError() const { return osError_; }
    // The operating system's own text for osError(), e.g. "Input/output error".
    const std::string& osMessage() const { return osMessage_; }

private:
    Operation operation_;
    int osError_;
    std::string osMessage_;
};

} // namespace lintara
