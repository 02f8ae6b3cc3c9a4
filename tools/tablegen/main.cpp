// tablegen --tables DIR --out FILE: every DIR/*.table turned into C++ table
// data (see TableMap.h). Exit code 1, with the reason, on any fault.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TableMap.h"

int main(int argc, char** argv)
{
    std::string tables, outPath;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--tables")
            tables = argv[i + 1];
        else if (flag == "--out")
            outPath = argv[i + 1];
    }
    if (tables.empty() || outPath.empty()) {
        std::fprintf(stderr, "usage: tablegen --tables DIR --out FILE\n");
        return 1;
    }
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(tables, ec))
        if (entry.path().extension() == ".table")
            files.push_back(entry.path());
    if (ec) {
        std::fprintf(stderr, "tablegen: %s: %s\n", tables.c_str(), ec.message().c_str());
        return 1;
    }
    std::sort(files.begin(), files.end());
    std::vector<tablegen::TableSource> sources;
    std::string error;
    for (const auto& file : files) {
        tablegen::TableSource source;
        if (!tablegen::readTableSource(file.string(), source, error)) {
            std::fprintf(stderr, "tablegen: %s\n", error.c_str());
            return 1;
        }
        sources.push_back(std::move(source));
    }
    std::string text;
    if (!tablegen::writeTableData(sources, text, error)) {
        std::fprintf(stderr, "tablegen: %s\n", error.c_str());
        return 1;
    }
    std::filesystem::create_directories(std::filesystem::path(outPath).parent_path(), ec);
    std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) {
        std::fprintf(stderr, "tablegen: %s cannot be written\n", outPath.c_str());
        return 1;
    }
    return 0;
}
