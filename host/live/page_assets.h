// The page and its scripts, embedded in the program at build time (so the
// same page serves natively and under wine): our own files from
// host/live/page and dygraphs from the system's libjs-dygraphs.
#pragma once

#include <cstddef>
#include <string_view>

namespace vexa::live {

struct PageAsset {
    std::string_view contentType;
    std::string_view body;
};

// The file served at `path` ("/" is the page itself); null when none is.
const PageAsset* findPageAsset(std::string_view path);

namespace embedded {

struct File {
    const char* name;
    const unsigned char* data;
    std::size_t size;
};
// Written by embed_files.cmake.
extern const File files[];
extern const std::size_t fileCount;

}  // namespace embedded

}  // namespace vexa::live
