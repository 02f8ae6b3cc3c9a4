#include "Plist.h"

namespace assetgen {

PlistWriter::PlistWriter()
{
    out_ =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n";
}

void PlistWriter::indent()
{
    out_.append(static_cast<size_t>(depth_), '\t');
}

void PlistWriter::beginDict()
{
    indent();
    out_ += "<dict>\n";
    ++depth_;
}

void PlistWriter::endDict()
{
    --depth_;
    indent();
    out_ += "</dict>\n";
}

void PlistWriter::key(const std::string& k)
{
    indent();
    out_ += "<key>" + xmlEscape(k) + "</key>\n";
}

void PlistWriter::string(const std::string& s)
{
    indent();
    out_ += "<string>" + xmlEscape(s) + "</string>\n";
}

void PlistWriter::integer(long v)
{
    indent();
    out_ += "<integer>" + std::to_string(v) + "</integer>\n";
}

void PlistWriter::boolean(bool v)
{
    indent();
    out_ += v ? "<true/>\n" : "<false/>\n";
}

std::string PlistWriter::finish()
{
    return out_ + "</plist>\n";
}

std::string xmlEscape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string rectText(int x, int y, int w, int h)
{
    return "{{" + std::to_string(x) + "," + std::to_string(y) + "},{" + std::to_string(w) + "," + std::to_string(h) +
        "}}";
}

std::string sizeText(int w, int h)
{
    // Appended: GCC 12 warns wrongly (-Wrestrict) on "{" + std::to_string(w).
    return std::string(1, '{').append(std::to_string(w)).append(1, ',').append(std::to_string(h)).append(1, '}');
}

}  // namespace assetgen
