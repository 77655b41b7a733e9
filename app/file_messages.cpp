// The messages about a file that could not be written: which file, and why.
#include "app/main_window.h"

#include <cstdio>

#include "resources/resource.h"

namespace {

// The system's own words for an error code (in its language), without the closing line end;
// empty when it has none.
std::string SystemErrorText(int code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out;
    if (length > 0) {
        out.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr)));
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &out[0], static_cast<int>(out.size()), nullptr, nullptr);
    }
    LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
    return out;
}

} // namespace

std::string WriteErrorText(const char* lead_in, const char* path, const WriteFailure& failure) {
    if (!path || !*path) return lead_in;
    const std::string reason = failure.step == WriteFailure::READ_ONLY ? ResourceString(IDS_WRITE_READ_ONLY)
                               : failure.system_error != 0            ? SystemErrorText(failure.system_error)
                                                                       : std::string();
    const std::string format = ResourceString(IDS_WRITE_FAILED_FILE);
    const int length = std::snprintf(nullptr, 0, format.c_str(), lead_in, path, reason.c_str());
    if (length < 0) return lead_in;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), format.c_str(), lead_in, path, reason.c_str());
    text.pop_back();
    while (!text.empty() && text.back() == '\n') text.pop_back();  // no reason known
    return text;
}
