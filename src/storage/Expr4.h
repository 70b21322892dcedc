#pragma once
// Key and filter expressions of index tags. The subset: names of character fields, '+' joining
// character values, string constants, the logical operator .NOT. and the function DELETED().
// Anything else is refused with the engine's expression error codes.

#include <memory>
#include <string>
#include <vector>

namespace orv {

struct Field4;

class Expr4 {
public:
    enum class Type { character, logical };

    // Parses `text` against the table's fields. Returns 0 and the expression, or one of
    // e4commaExpected, e4complete, e4numParms, e4rightMissing, e4typeSub, e4unrecFunction,
    // e4unrecOperator, e4unrecValue, e4unterminated.
    static int parse(const std::string& text, const std::vector<Field4>& fields,
                     std::unique_ptr<Expr4>& out);
    ~Expr4();

    Type type() const { return m_type; }
    // Length of a character value (the sum of the widths it joins).
    int length() const { return m_length; }
    const std::string& source() const { return m_source; }

    // Evaluates on a record buffer (deletion flag first). For a character expression the value
    // is written into `out`; a logical one answers truth().
    void value(const char* record, std::string& out) const;
    bool truth(const char* record) const;

    struct Node;

private:
    Expr4() = default;
    std::unique_ptr<Node> m_root;
    Type m_type = Type::character;
    int m_length = 0;
    std::string m_source;
};

} // namespace orv
