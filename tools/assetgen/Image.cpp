#include "Image.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace assetgen {

Image::Image(int width, int height)
    : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4, 0)
{
}

Rgba Image::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return {};
    const uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void Image::set(int x, int y, Rgba c)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = c.a;
}

void Image::fillRect(int x, int y, int w, int h, Rgba c)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            set(i, j, c);
}

void Image::blit(const Image& src, int x, int y)
{
    for (int j = 0; j < src.height(); ++j)
        for (int i = 0; i < src.width(); ++i)
            set(x + i, y + j, src.at(i, j));
}

Image Image::scaled(int factor) const
{
    if (factor <= 1)
        return *this;
    Image out(width_ * factor, height_ * factor);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.set(x, y, at(x / factor, y / factor));
    return out;
}

namespace {

void putU32(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    putU32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + start, static_cast<uInt>(out.size() - start));
    putU32(out, static_cast<uint32_t>(crc));
}

}  // namespace

bool makeParentFolders(const std::string& path)
{
    for (size_t pos = path.find('/', 1); pos != std::string::npos; pos = path.find('/', pos + 1)) {
        std::string folder = path.substr(0, pos);
        if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

static bool writeBytes(const std::string& path, const void* data, size_t size, std::string& error)
{
    if (!makeParentFolders(path)) {
        error = "cannot create the folders of " + path;
        return false;
    }
    // Write beside the target and rename, so a failed run never leaves half a file.
    std::string temp = path + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        error = "cannot write " + temp + ": " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(data, 1, size, f) == size;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool writeTextFile(const std::string& path, const std::string& text, std::string& error)
{
    return writeBytes(path, text.data(), text.size(), error);
}

bool writePng(const std::string& path, const Image& image, std::string& error)
{
    if (image.empty()) {
        error = "empty picture for " + path;
        return false;
    }
    const size_t rowBytes = static_cast<size_t>(image.width()) * 4;
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        raw.push_back(0);  // filter: none
        const uint8_t* row = image.bytes().data() + rowBytes * y;
        raw.insert(raw.end(), row, row + rowBytes);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        error = "zlib failed for " + path;
        return false;
    }
    packed.resize(packedSize);

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<uint8_t> header;
    putU32(header, static_cast<uint32_t>(image.width()));
    putU32(header, static_cast<uint32_t>(image.height()));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter set, no interlace
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});
    return writeBytes(path, file.data(), file.size(), error);
}

}  // namespace assetgen
