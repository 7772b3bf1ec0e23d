#pragma once

#include <cstddef>
#include <string>

namespace lintara::fixtures {

#ifndef _WIN32
// While it lives, read() calls on the file at the path fail with the error: the first `count`
// of them, or all of them when count is negative. Works on the code linked into this test
// program, whose read() calls are wrapped at link time.
class ReadFailure {
public:
    ReadFailure(const std::string& path, int error, int count = -1);
    ~ReadFailure();
    ReadFailure(const ReadFailure&) = delete;
    ReadFailure& operator=(const ReadFailure&) = delete;

    // How many reads failed so far.
    int Injected() const;
};
#endif

// While it lives, operator new succeeds `allowed` more times and then throws std::bad_alloc.
class AllocationFailure {
public:
    explicit AllocationFailure(std::size_t allowed);
    ~AllocationFailure();
    AllocationFailure(const AllocationFailure&) = delete;
    AllocationFailure& operator=(const AllocationFailure&) = delete;

    // Whether an allocation has been refused.
    bool Triggered() const;
};

} // namespace lintara::fixtures
