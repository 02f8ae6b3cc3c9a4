#pragma once
// A small writer of XML property lists (UTF-8, tab-indented, fixed layout).
#include <string>

namespace assetgen {

class PlistWriter {
public:
    PlistWriter();
    void beginDict();
    void endDict();
    void key(const std::string& k);
    void string(const std::string& s);
    void integer(long v);
    void boolean(bool v);
    std::string finish();

private:
    void indent();
    std::string out_;
    int depth_ = 0;
};

std::string xmlEscape(const std::string& text);
std::string rectText(int x, int y, int w, int h);
std::string sizeText(int w, int h);

}  // namespace assetgen
