#include "tests/analysis/test_support.h"

#include "tests/analysis/package_writer.h"

#include <filesystem>
#include <stdexcept>

#ifdef _WIN32
#include "platform/win32/windows_error.h"

#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#endif

namespace lintara {

void PrintTo(const ImportEntry& entry, std::ostream* out) {
    *out << "{" << entry.classPackage << ", " << entry.className << ", " << entry.outer << ", " << entry.objectName << "}";
}

} // namespace lintara

namespace lintara::fixtures {

void PrintTo(const ImportCall& call, std::ostream* out) {
    PrintTo(call.entry, out);
    *out << " x" << call.repeat;
}

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values) bytes += static_cast<char>(value);
    return bytes;
}

CursorOver::CursorOver(std::string_view bytes) {
    file = ReadOnlyFile::Open(tree.AddFile("bytes.bin", bytes).string());
    if (!file) throw std::runtime_error("cannot open the test file");
    cursor.emplace(*file);
}

std::vector<ImportEntry> ReadLog::Expanded() const {
    std::vector<ImportEntry> entries;
    for (const auto& call : calls) entries.insert(entries.end(), call.repeat, call.entry);
    return entries;
}

ReadLog ReadAll(const std::string& path) {
    ReadLog log;
    bool first = true;
    log.kind = ReadPackage(path, [&](const ImportEntry& entry, std::uint32_t repeat, const NameTable& names) {
                   if (first) {
                       first = false;
                       log.nameCount = names.Count();
                       for (std::uint32_t i = 0; i < names.Count() && i < ReadLog::kNamesKept; ++i)
                           log.names.emplace_back(names.Text(i));
                   }
                   log.calls.push_back({entry, repeat});
               }).kind;
    return log;
}

namespace {

struct Model {
    std::string_view file;
    std::uint64_t at = 0;

    std::uint8_t Byte() {
        const std::uint8_t byte = at < file.size() ? static_cast<std::uint8_t>(file[at]) : 0;
        ++at;
        return byte;
    }
    std::uint32_t UInt32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= std::uint32_t{Byte()} << (8 * i);
        return value;
    }
    std::int32_t Compact() {
        std::uint32_t value = 0;
        const std::uint8_t first = Byte();
        const bool negative = first & 0x80;
        value = first & 0x3F;
        bool more = first & 0x40;
        for (int i = 1; more && i < 4; ++i) {
            const std::uint8_t byte = Byte();
            value |= std::uint32_t{byte & 0x7Fu} << (6 + 7 * (i - 1));
            more = byte & 0x80;
        }
        if (more) value |= std::uint32_t{Byte() & 0x1Fu} << 27;
        return static_cast<std::int32_t>(negative ? 0u - value : value);
    }
    std::string Name(std::uint32_t version) {
        std::string text;
        if ((version & 0xFFFF) >= 64) {
            const std::uint8_t length = Byte();
            bool ended = false;
            for (int i = 0; i < length; ++i) {
                const std::uint8_t byte = Byte();
                ended = ended || byte == 0;
                if (!ended) text += static_cast<char>(byte);
            }
        } else {
            while (at < file.size()) {
                const std::uint8_t byte = Byte();
                if (byte == 0) break;
                text += static_cast<char>(byte);
            }
        }
        return text;
    }
};

} // namespace

ReadLog ModelRead(std::string_view file) {
    ReadLog log;
    if (file.size() < 36) {
        log.kind = ReadOutcome::Kind::TooShort;
        return log;
    }
    Model model{file};
    std::uint32_t header[9];
    for (auto& field : header) field = model.UInt32();
    const std::uint32_t version = header[1], nameCount = header[3], nameOffset = header[4];
    const std::uint32_t importCount = header[7], importOffset = header[8];
    if (header[0] != 0x9E2A83C1) {
        log.kind = ReadOutcome::Kind::WrongTag;
        return log;
    }
    if (nameCount == 0 || importCount == 0) {
        log.kind = ReadOutcome::Kind::NoTables;
        return log;
    }
    if (nameOffset >= 0x80000000u || importOffset >= 0x80000000u) throw std::logic_error("the model reads no such file");
    log.nameCount = nameCount;
    model.at = nameOffset;
    for (std::uint32_t i = 0; i < nameCount && i < ReadLog::kNamesKept; ++i) {
        log.names.push_back(model.Name(version));
        model.UInt32();
    }
    model.at = importOffset;
    for (std::uint32_t i = 0; i < importCount; ++i) {
        if (model.at >= file.size()) {
            log.calls.push_back({ImportEntry{}, importCount - i});
            break;
        }
        ImportEntry entry;
        entry.classPackage = model.Compact();
        entry.className = model.Compact();
        entry.outer = static_cast<std::int32_t>(model.UInt32());
        entry.objectName = model.Compact();
        log.calls.push_back({entry, 1});
    }
    return log;
}

#ifdef _WIN32

std::string OsErrorText(int error) { return WindowsErrorText(static_cast<unsigned long>(error)); }

int NegativeSeekError() { return ERROR_NEGATIVE_SEEK; }

OpenFileWatch::OpenFileWatch() = default;

bool OpenFileWatch::NothingLeftOpen(const std::string& path) const {
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr); // a folder opens too
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

#else

std::string OsErrorText(int error) { return std::strerror(error); }

int NegativeSeekError() { return EINVAL; }

namespace {

int OpenDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

} // namespace

OpenFileWatch::OpenFileWatch() : descriptors_(OpenDescriptorCount()) {}

bool OpenFileWatch::NothingLeftOpen(const std::string&) const { return OpenDescriptorCount() == descriptors_; }

#endif

} // namespace lintara::fixtures
