#include "host/live/page_assets.h"

#include <map>
#include <string>

namespace vexa::live {

namespace {

std::string_view typeOf(std::string_view name) {
    const auto dot = name.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
    if (extension == ".html") return "text/html; charset=utf-8";
    if (extension == ".js") return "text/javascript; charset=utf-8";
    if (extension == ".css") return "text/css; charset=utf-8";
    if (extension == ".svg") return "image/svg+xml";
    return "application/octet-stream";
}

std::map<std::string, PageAsset, std::less<>> makeTable() {
    std::map<std::string, PageAsset, std::less<>> table;
    for (std::size_t k = 0; k < embedded::fileCount; ++k) {
        const embedded::File& file = embedded::files[k];
        const std::string_view name(file.name);
        const PageAsset asset{typeOf(name), {reinterpret_cast<const char*>(file.data), file.size}};
        // Appended, not "/" + name: GCC 12 at -O3 warns falsely (-Wrestrict)
        // about the copy operator+ makes.
        std::string path(1, '/');
        path.append(name);
        table.emplace(std::move(path), asset);
        if (name == "index.html") table.emplace("/", asset);
    }
    return table;
}

}  // namespace

const PageAsset* findPageAsset(std::string_view path) {
    static const std::map<std::string, PageAsset, std::less<>> table = makeTable();
    const auto found = table.find(path);
    return found == table.end() ? nullptr : &found->second;
}

}  // namespace vexa::live
