#include "platform/file_error.h"

#include <utility>

namespace lintara {

namespace {

std::string Describe(FileError::Operation operation, const std::string& osMessage) {
    return std::string(operation == FileError::Operation::Seek ? "seek failed: " : "read failed: ") + osMessage;
}

} // namespace

FileError::FileError(Operation operation, int osError, std::string osMessage)
    : std::runtime_error(Describe(operation, osMessage)),
      operation_(operation),
      osError_(osError),
      osMessage_(std::move(osMessage)) {}

} // namespace lintara
