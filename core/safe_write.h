// Writing a file whole or not at all: the data file and both exports are saved this way.
#pragma once
#include <cstdio>
#include <functional>

// Why a file was not written: the step that failed and the system's error code there
// (GetLastError on Windows, errno elsewhere; 0 when the system named none).
struct WriteFailure {
    enum Step { NONE, READ_ONLY, CREATE, WRITE, REPLACE };
    Step step = NONE;
    int system_error = 0;
};

// `write` puts the content into a scratch file of a unique name beside `path` and returns
// false when a write failed; the scratch file is then pushed to the disk and replaces `path`
// in one step, which keeps a previous file's attributes and permissions. True only when
// `path` now holds the whole content. Otherwise a previous file at `path` is left exactly as
// it was, no scratch file remains, and `failure` (when given) says why; a read-only `path`
// is not replaced at all. (Should the system stop half-way through a replacement, after the
// old file left its name, the scratch file stays: it is then the only copy of the content.)
bool write_file_safely(const char* path, const std::function<bool(std::FILE*)>& write,
                       WriteFailure* failure = nullptr);
