#include "tests/analysis/failure_injection.h"

#include <cstdlib>
#include <new>
#include <stdexcept>

#ifndef _WIN32
#include <cerrno>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace {

#ifndef _WIN32
struct {
    bool active = false;
    dev_t device = 0;
    ino_t inode = 0;
    int error = 0;
    int remaining = 0; // negative: no limit
    int injected = 0;
} readFailure;
#endif

struct {
    bool armed = false;
    std::size_t allowed = 0;
    bool triggered = false;
} allocationFailure;

} // namespace

#ifndef _WIN32
extern "C" ssize_t __real_read(int fd, void* buffer, size_t size);

extern "C" ssize_t __wrap_read(int fd, void* buffer, size_t size) {
    if (readFailure.active && readFailure.remaining != 0) {
        struct stat info {};
        if (::fstat(fd, &info) == 0 && info.st_dev == readFailure.device && info.st_ino == readFailure.inode) {
            if (readFailure.remaining > 0) --readFailure.remaining;
            ++readFailure.injected;
            errno = readFailure.error;
            return -1;
        }
    }
    return __real_read(fd, buffer, size);
}
#endif

void* operator new(std::size_t size) {
    if (allocationFailure.armed) {
        if (allocationFailure.allowed == 0) {
            allocationFailure.triggered = true;
            throw std::bad_alloc();
        }
        --allocationFailure.allowed;
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace lintara::fixtures {

#ifndef _WIN32
ReadFailure::ReadFailure(const std::string& path, int error, int count) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) throw std::runtime_error("no file to fail reads of: " + path);
    readFailure = {true, info.st_dev, info.st_ino, error, count, 0};
}

ReadFailure::~ReadFailure() { readFailure.active = false; }

int ReadFailure::Injected() const { return readFailure.injected; }
#endif

AllocationFailure::AllocationFailure(std::size_t allowed) { allocationFailure = {true, allowed, false}; }

AllocationFailure::~AllocationFailure() { allocationFailure.armed = false; }

bool AllocationFailure::Triggered() const { return allocationFailure.triggered; }

} // namespace lintara::fixtures
