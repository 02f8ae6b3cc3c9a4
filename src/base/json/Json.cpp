#include "base/json/Json.h"

#include <yajl/yajl_tree.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace json {

namespace {

// Deeper documents are refused before parsing: the tree builder and the tree
// walk are recursive, and the server's answers are only a few levels deep.
constexpr int kMaxDepth = 64;

bool withinDepth(const std::string& text)
{
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"')
            inString = true;
        else if (c == '[' || c == '{') {
            if (++depth > kMaxDepth)
                return false;
        } else if (c == ']' || c == '}')
            --depth;
    }
    return true;
}

std::string formatDouble(double value)
{
    if (!std::isfinite(value))
        return "null";
    // "-0" would read back as the integer 0: negative zero keeps a point.
    if (value == 0.0 && std::signbit(value))
        return "-0.0";
    // The shortest text that reads back as the same value: 3.67, not
    // 3.6699999999999999.
    char buffer[64];
    for (int digits = 15; digits <= 17; ++digits) {
        std::snprintf(buffer, sizeof(buffer), "%.*g", digits, value);
        if (std::strtod(buffer, nullptr) == value)
            break;
    }
    return buffer;
}

}  // namespace

std::string Node::stringValue(const std::string& fallback) const
{
    return type_ == Type::String ? text_ : fallback;
}

int64_t Node::intValue(int64_t fallback) const
{
    if (type_ == Type::Int)
        return int_;
    if (type_ == Type::Double && std::isfinite(double_) && double_ >= -9.2e18 && double_ <= 9.2e18)
        return static_cast<int64_t>(double_);
    return fallback;
}

double Node::doubleValue(double fallback) const
{
    if (type_ == Type::Double)
        return double_;
    if (type_ == Type::Int)
        return static_cast<double>(int_);
    return fallback;
}

bool Node::boolValue(bool fallback) const
{
    return type_ == Type::Bool ? bool_ : fallback;
}

NodePtr Node::invalid()
{
    static const NodePtr node = std::make_shared<Node>();
    return node;
}

NodePtr Node::at(size_t index) const
{
    if ((type_ != Type::Array && type_ != Type::Object) || index >= children_.size())
        return invalid();
    return children_[index];
}

NodePtr Node::get(const std::string& key) const
{
    if (type_ != Type::Object)
        return invalid();
    for (const auto& child : children_)
        if (child->name() == key)
            return child;
    return invalid();
}

NodePtr Node::find(const std::string& path) const
{
    NodePtr current;
    const Node* node = this;
    size_t start = 0;
    while (true) {
        size_t dot = path.find('.', start);
        std::string part = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        NodePtr next;
        if (node->isArray()) {
            char* end = nullptr;
            unsigned long index = std::strtoul(part.c_str(), &end, 10);
            next = (!part.empty() && end && *end == '\0') ? node->at(index) : invalid();
        } else {
            next = node->get(part);
        }
        if (!next->isValid() || dot == std::string::npos)
            return next;
        current = next;
        node = current.get();
        start = dot + 1;
    }
}

std::shared_ptr<Node> Node::makeObject(const std::string& name)
{
    return std::make_shared<Node>(name, Type::Object);
}

std::shared_ptr<Node> Node::makeArray(const std::string& name)
{
    return std::make_shared<Node>(name, Type::Array);
}

std::string Node::toJson() const
{
    switch (type_) {
    case Type::Invalid:
    case Type::Null: return "null";
    case Type::Bool: return bool_ ? "true" : "false";
    case Type::Int:
    case Type::Double: return text_;
    case Type::String: return quote(text_);
    case Type::Object: return objectJson(children_);
    case Type::Array: {
        std::string out = "[";
        for (size_t i = 0; i < children_.size(); ++i) {
            if (i)
                out += ",";
            out += children_[i]->toJson();
        }
        return out + "]";
    }
    }
    return "null";
}

NodePtr cstringNode(const std::string& name, const char* value)
{
    return stringNode(name, value ? value : "");
}

NodePtr stringNode(const std::string& name, const std::string& value)
{
    auto node = std::make_shared<Node>(name, Node::Type::String);
    node->text_ = value;
    return node;
}

NodePtr intNode(const std::string& name, int64_t value)
{
    auto node = std::make_shared<Node>(name, Node::Type::Int);
    node->int_ = value;
    node->text_ = std::to_string(value);
    return node;
}

NodePtr doubleNode(const std::string& name, double value)
{
    auto node = std::make_shared<Node>(name, Node::Type::Double);
    node->double_ = value;
    node->text_ = formatDouble(value);
    return node;
}

NodePtr boolNode(const std::string& name, bool value)
{
    auto node = std::make_shared<Node>(name, Node::Type::Bool);
    node->bool_ = value;
    return node;
}

NodePtr nullNode(const std::string& name)
{
    return std::make_shared<Node>(name, Node::Type::Null);
}

std::string objectJson(const std::vector<NodePtr>& members)
{
    std::string out = "{";
    bool first = true;
    for (const auto& member : members) {
        if (!member)
            continue;
        if (!first)
            out += ",";
        first = false;
        out += quote(member->name());
        out += ":";
        out += member->toJson();
    }
    return out + "}";
}

std::string quote(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof(buffer), "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

namespace {

NodePtr convert(const std::string& name, yajl_val value)
{
    if (!value)
        return nullNode(name);
    if (YAJL_IS_STRING(value))
        return stringNode(name, YAJL_GET_STRING(value) ? YAJL_GET_STRING(value) : "");
    if (YAJL_IS_INTEGER(value)) {
        auto node = intNode(name, YAJL_GET_INTEGER(value));
        return node;
    }
    if (YAJL_IS_NUMBER(value))  // a double, or an integer too large for int64
        return doubleNode(name, YAJL_GET_DOUBLE(value));
    if (YAJL_IS_TRUE(value))
        return boolNode(name, true);
    if (YAJL_IS_FALSE(value))
        return boolNode(name, false);
    if (YAJL_IS_OBJECT(value)) {
        auto node = Node::makeObject(name);
        for (size_t i = 0; i < value->u.object.len; ++i)
            node->append(convert(value->u.object.keys[i] ? value->u.object.keys[i] : "", value->u.object.values[i]));
        return node;
    }
    if (YAJL_IS_ARRAY(value)) {
        auto node = Node::makeArray(name);
        for (size_t i = 0; i < value->u.array.len; ++i)
            node->append(convert(std::to_string(i), value->u.array.values[i]));
        return node;
    }
    return nullNode(name);
}

}  // namespace

Document Document::parse(const std::string& text)
{
    Document document;
    if (text.find('\0') != std::string::npos) {
        document.error_ = "embedded NUL byte";
        return document;
    }
    if (!withinDepth(text)) {
        document.error_ = "nested too deeply";
        return document;
    }
    char errorBuffer[256] = {};
    yajl_val tree = yajl_tree_parse(text.c_str(), errorBuffer, sizeof(errorBuffer));
    if (!tree) {
        document.error_ = errorBuffer[0] ? errorBuffer : "not JSON";
        return document;
    }
    document.root_ = convert("", tree);
    yajl_tree_free(tree);
    return document;
}

}  // namespace json
