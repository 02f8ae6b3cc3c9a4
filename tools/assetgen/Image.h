#pragma once
// An RGBA picture in memory (straight alpha, rows top first) and its PNG writer.
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

class Image {
public:
    Image() = default;
    Image(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    // Out-of-range reads give transparent black; out-of-range writes are dropped.
    Rgba at(int x, int y) const;
    void set(int x, int y, Rgba c);
    void fillRect(int x, int y, int w, int h, Rgba c);
    void blit(const Image& src, int x, int y);
    Image scaled(int factor) const;

    const std::vector<uint8_t>& bytes() const { return pixels_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;
};

// Writes an 8-bit RGBA PNG with no ancillary chunks and a fixed zlib level, so
// the same picture always gives the same bytes. Creates missing folders.
bool writePng(const std::string& path, const Image& image, std::string& error);

// Creates every folder of path's parent; true when it exists afterwards.
bool makeParentFolders(const std::string& path);
bool writeTextFile(const std::string& path, const std::string& text, std::string& error);

}  // namespace assetgen
