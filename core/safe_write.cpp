#include "core/safe_write.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
// The platform calls a safe save needs, declared here so that the core stays free of the
// platform headers.
extern "C" {
__declspec(dllimport) unsigned long __stdcall GetLastError();
__declspec(dllimport) unsigned long __stdcall GetCurrentProcessId();
__declspec(dllimport) unsigned long __stdcall GetFileAttributesA(const char* name);
__declspec(dllimport) int __stdcall FlushFileBuffers(void* file);
__declspec(dllimport) int __stdcall ReplaceFileA(const char* replaced, const char* replacement, const char* backup,
                                                 unsigned long flags, void* exclude, void* reserved);
__declspec(dllimport) int __stdcall MoveFileExA(const char* existing, const char* target, unsigned long flags);
__declspec(dllimport) unsigned long __stdcall GetFullPathNameA(const char* name, unsigned long size, char* full, char** part);
}
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
const unsigned long NO_FILE = 0xFFFFFFFF, READ_ONLY_ATTRIBUTE = 0x1;
const unsigned long MOVE_REPLACE_EXISTING = 0x1, MOVE_WRITE_THROUGH = 0x8;
const unsigned long REPLACE_IGNORE_MERGE_ERRORS = 0x2;
// Replacing stopped half-way: the old file has left its name (without a backup it is gone or
// under a name of the system's), and the new content still has the scratch name.
const unsigned long UNABLE_TO_MOVE_REPLACEMENT = 1176, UNABLE_TO_MOVE_REPLACEMENT_2 = 1177;

int last_error() { return static_cast<int>(GetLastError()); }
// Wine's ReplaceFile refuses a relative name; the full one is the same file everywhere.
std::string full_path(const char* path) {
    std::string full(GetFullPathNameA(path, 0, nullptr, nullptr), '\0');
    const unsigned long length = full.empty() ? 0 : GetFullPathNameA(path, static_cast<unsigned long>(full.size()), &full[0], nullptr);
    return length > 0 && length < full.size() ? full.substr(0, length) : std::string(path);
}
unsigned long process_id() { return GetCurrentProcessId(); }
int open_new(const char* name) { return _open(name, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE); }
std::FILE* stream(int fd) { return _fdopen(fd, "wb"); }
bool push_to_disk(std::FILE* file) {
    // The C runtime's writes may still sit in the system's cache; a write-through move does
    // not push them.
    return FlushFileBuffers(reinterpret_cast<void*>(_get_osfhandle(_fileno(file)))) != 0;
}
#else
int last_error() { return errno; }
std::string full_path(const char* path) { return path; }
unsigned long process_id() { return static_cast<unsigned long>(getpid()); }
int open_new(const char* name) { return open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }
std::FILE* stream(int fd) { return fdopen(fd, "wb"); }
bool push_to_disk(std::FILE* file) { return fsync(fileno(file)) == 0; }
#endif

bool fail(WriteFailure* failure, WriteFailure::Step step, int code) {
    if (failure) *failure = {step, code};
    return false;
}

// What matters of the file about to be replaced.
struct Target {
    bool exists = false, read_only = false, regular = true;
    unsigned mode = 0;
};

Target examine(const char* path) {
    Target target;
#ifdef _WIN32
    const unsigned long attributes = GetFileAttributesA(path);
    target.exists = attributes != NO_FILE;
    target.read_only = target.exists && (attributes & READ_ONLY_ATTRIBUTE) != 0;
#else
    struct stat st;
    if (lstat(path, &st) != 0) return target;
    target.exists = true;
    target.read_only = (st.st_mode & 0222) == 0;
    // A link or a device is not a file to put a new one in place of.
    target.regular = S_ISREG(st.st_mode);
    target.mode = st.st_mode & 07777;
#endif
    return target;
}

// Creates a file of a name no one else uses beside `path`: an existing file is never taken
// over, and two programs saving the same file at once each get their own.
int create_scratch(const std::string& path, std::string& name) {
    static std::atomic<unsigned> saves{0};
    std::uint64_t state = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                          (static_cast<std::uint64_t>(process_id()) << 32) ^ ++saves;
    for (int attempt = 0; attempt < 100; ++attempt) {
        state += 0x9E3779B97F4A7C15u;  // splitmix64: distinct names from neighbouring seeds
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".~%08x.tmp", static_cast<unsigned>(z ^ (z >> 31)));
        name = path + suffix;
        const int fd = open_new(name.c_str());
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool put_in_place(const std::string& scratch, const char* path, bool replacing, WriteFailure* failure) {
#ifdef _WIN32
    // Replacing keeps the old file's attributes and security; a new name is a plain move.
    if (replacing ? ReplaceFileA(path, scratch.c_str(), nullptr, REPLACE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                  : MoveFileExA(scratch.c_str(), path, MOVE_REPLACE_EXISTING | MOVE_WRITE_THROUGH) != 0)
        return true;
    const int code = last_error();
    if (static_cast<unsigned long>(code) == UNABLE_TO_MOVE_REPLACEMENT || static_cast<unsigned long>(code) == UNABLE_TO_MOVE_REPLACEMENT_2) {
        // The scratch file is the only copy left at hand: moved into place, or kept.
        if (MoveFileExA(scratch.c_str(), path, MOVE_REPLACE_EXISTING | MOVE_WRITE_THROUGH) != 0) return true;
        return fail(failure, WriteFailure::REPLACE, code);
    }
#else
    (void)replacing;
    if (std::rename(scratch.c_str(), path) == 0) return true;
    const int code = last_error();
#endif
    std::remove(scratch.c_str());
    return fail(failure, WriteFailure::REPLACE, code);
}

} // namespace

bool write_file_safely(const char* name, const std::function<bool(std::FILE*)>& write, WriteFailure* failure) {
    if (!name || !*name) return fail(failure, WriteFailure::CREATE, 0);
    const std::string full = full_path(name);
    const char* const path = full.c_str();
    const Target target = examine(path);
    if (target.read_only) return fail(failure, WriteFailure::READ_ONLY, 0);
    if (!target.regular) return fail(failure, WriteFailure::REPLACE, EINVAL);
    std::string scratch;
    const int fd = create_scratch(path, scratch);
    if (fd < 0) return fail(failure, WriteFailure::CREATE, last_error());
#ifndef _WIN32
    // The new file gets the old one's permissions (a new name gets the umask's).
    if (target.exists) fchmod(fd, target.mode);
#endif
    std::FILE* file = stream(fd);
    if (!file) {
        const int code = last_error();
        close(fd);
        std::remove(scratch.c_str());
        return fail(failure, WriteFailure::CREATE, code);
    }
    const bool written = write(file) && std::fflush(file) == 0 && !std::ferror(file) && push_to_disk(file);
    int code = written ? 0 : last_error();
    const bool closed = std::fclose(file) == 0;
    if (written && !closed) code = last_error();
    if (!written || !closed) {
        std::remove(scratch.c_str());
        return fail(failure, WriteFailure::WRITE, code);
    }
    return put_in_place(scratch, path, target.exists, failure);
}
