// A whole file as bytes ("" when it cannot be read). Portable: the native tests use it.
#pragma once
#include <fstream>
#include <iterator>
#include <string>
inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
