#pragma once
// JSON values as named nodes under shared pointers. Documents come from
// yajl's tree parser; a look-up by dotted path ("player.id") that finds
// nothing gives the invalid node, never null, so answers from the server can
// be read without checks at every step.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace json {

class Node;
using NodePtr = std::shared_ptr<const Node>;

class Node {
public:
    enum class Type { Invalid, Null, Bool, Int, Double, String, Object, Array };

    Node() = default;
    Node(std::string name, Type type) : name_(std::move(name)), type_(type) { }

    const std::string& name() const { return name_; }
    Type type() const { return type_; }
    bool isValid() const { return type_ != Type::Invalid; }
    bool isString() const { return type_ == Type::String; }
    bool isNumber() const { return type_ == Type::Int || type_ == Type::Double; }
    bool isInt() const { return type_ == Type::Int; }
    bool isObject() const { return type_ == Type::Object; }
    bool isArray() const { return type_ == Type::Array; }

    // Values; a node of another type gives the fallback.
    std::string stringValue(const std::string& fallback = "") const;
    int64_t intValue(int64_t fallback = 0) const;
    double doubleValue(double fallback = 0.0) const;
    bool boolValue(bool fallback = false) const;
    // Decimal text of a number node as written (or as formatted).
    const std::string& text() const { return text_; }

    // Children of an object (with their keys as names) or an array.
    const std::vector<NodePtr>& children() const { return children_; }
    size_t size() const { return children_.size(); }
    NodePtr at(size_t index) const;             // invalid node when out of range
    NodePtr get(const std::string& key) const;  // object member; invalid when absent
    // Dotted path: "a.b.2.c"; a number steps into an array.
    NodePtr find(const std::string& path) const;

    // Serialised form of the value (no name).
    std::string toJson() const;

    static NodePtr invalid();

    // Builders (used by the parser and by request bodies).
    static std::shared_ptr<Node> makeObject(const std::string& name = "");
    static std::shared_ptr<Node> makeArray(const std::string& name = "");
    void append(NodePtr child) { children_.push_back(std::move(child)); }

private:
    friend NodePtr cstringNode(const std::string&, const char*);
    friend NodePtr stringNode(const std::string&, const std::string&);
    friend NodePtr intNode(const std::string&, int64_t);
    friend NodePtr doubleNode(const std::string&, double);
    friend NodePtr boolNode(const std::string&, bool);
    friend NodePtr nullNode(const std::string&);

    std::string name_;
    Type type_ = Type::Invalid;
    std::string text_;
    int64_t int_ = 0;
    double double_ = 0.0;
    bool bool_ = false;
    std::vector<NodePtr> children_;
};

// Named value nodes.
NodePtr cstringNode(const std::string& name, const char* value);  // null gives ""
NodePtr stringNode(const std::string& name, const std::string& value);
NodePtr intNode(const std::string& name, int64_t value);
NodePtr doubleNode(const std::string& name, double value);
NodePtr boolNode(const std::string& name, bool value);
NodePtr nullNode(const std::string& name);

// An object whose members are the given named nodes, serialised.
std::string objectJson(const std::vector<NodePtr>& members);

// A parsed document. A text that is not JSON gives an invalid root and the
// parser's message.
class Document {
public:
    static Document parse(const std::string& text);

    bool isValid() const { return root_ && root_->isValid(); }
    const std::string& error() const { return error_; }
    NodePtr root() const { return root_ ? root_ : Node::invalid(); }
    NodePtr find(const std::string& path) const { return root()->find(path); }

private:
    NodePtr root_;
    std::string error_;
};

// JSON string literal of text, with quotes and escapes.
std::string quote(const std::string& text);

}  // namespace json
