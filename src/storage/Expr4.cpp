#include "Expr4.h"

#include "Bytes4.h"
#include "Field4.h"
#include "Result4.h"

#include <cctype>

namespace orv {

struct Expr4::Node {
    enum class Kind { field, constant, concat, notOp, deleted } kind = Kind::field;
    int offset = 0;
    int width = 0;
    std::string constant;
    std::vector<std::unique_ptr<Node>> children;
    bool logical() const { return kind == Kind::notOp || kind == Kind::deleted; }
};

namespace {

class Parser {
public:
    Parser(const std::string& text, const std::vector<Field4>& fields) : m_text(text), m_fields(fields) {}

    int parse(std::unique_ptr<Expr4::Node>& out) {
        skipBlanks();
        if (atEnd()) return e4complete;
        int rc = parseSum(out);
        if (rc != 0) return rc;
        skipBlanks();
        if (!atEnd()) {
            if (m_text[m_pos] == ')') return e4commaExpected;
            return e4unrecOperator;
        }
        return 0;
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    void skipBlanks() {
        while (!atEnd() && std::isspace(static_cast<unsigned char>(m_text[m_pos]))) ++m_pos;
    }
    // A dotted operator such as .NOT. at the current position, upper-cased, or empty.
    std::string dotted() const {
        if (atEnd() || m_text[m_pos] != '.') return {};
        std::size_t end = m_text.find('.', m_pos + 1);
        if (end == std::string::npos) return {};
        return bytes4::upper(m_text.substr(m_pos, end - m_pos + 1));
    }

    int parseSum(std::unique_ptr<Expr4::Node>& out) {
        std::unique_ptr<Expr4::Node> first;
        int rc = parseUnary(first);
        if (rc != 0) return rc;
        skipBlanks();
        if (atEnd() || m_text[m_pos] != '+') {
            out = std::move(first);
            return 0;
        }
        auto concat = std::make_unique<Expr4::Node>();
        concat->kind = Expr4::Node::Kind::concat;
        if (first->logical()) return e4typeSub;
        concat->width = first->width;
        concat->children.push_back(std::move(first));
        while (!atEnd() && m_text[m_pos] == '+') {
            ++m_pos;
            skipBlanks();
            if (atEnd()) return e4complete;
            std::unique_ptr<Expr4::Node> next;
            rc = parseUnary(next);
            if (rc != 0) return rc;
            if (next->logical()) return e4typeSub;
            concat->width += next->width;
            concat->children.push_back(std::move(next));
            skipBlanks();
        }
        out = std::move(concat);
        return 0;
    }

    int parseUnary(std::unique_ptr<Expr4::Node>& out) {
        skipBlanks();
        if (atEnd()) return e4complete;
        std::string op = dotted();
        if (op == ".NOT.") {
            m_pos += op.size();
            std::unique_ptr<Expr4::Node> child;
            int rc = parseUnary(child);
            if (rc != 0) return rc;
            if (!child->logical()) return e4typeSub;
            out = std::make_unique<Expr4::Node>();
            out->kind = Expr4::Node::Kind::notOp;
            out->children.push_back(std::move(child));
            return 0;
        }
        if (!op.empty()) return e4unrecOperator; // .AND., .OR., .T. and friends are not ours
        return parsePrimary(out);
    }

    int parsePrimary(std::unique_ptr<Expr4::Node>& out) {
        char c = m_text[m_pos];
        if (c == '(') {
            ++m_pos;
            int rc = parseSum(out);
            if (rc != 0) return rc;
            skipBlanks();
            if (atEnd() || m_text[m_pos] != ')') return e4rightMissing;
            ++m_pos;
            return 0;
        }
        if (c == '"' || c == '\'') {
            std::size_t end = m_text.find(c, m_pos + 1);
            if (end == std::string::npos) return e4unterminated;
            out = std::make_unique<Expr4::Node>();
            out->kind = Expr4::Node::Kind::constant;
            out->constant = m_text.substr(m_pos + 1, end - m_pos - 1);
            out->width = static_cast<int>(out->constant.size());
            m_pos = end + 1;
            return 0;
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            std::size_t start = m_pos;
            while (!atEnd() && (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '_'))
                ++m_pos;
            std::string name = bytes4::upper(m_text.substr(start, m_pos - start));
            skipBlanks();
            if (!atEnd() && m_text[m_pos] == '(') return parseCall(name, out);
            if (!atEnd() && m_text.compare(m_pos, 2, "->") == 0) return e4dataName;
            for (const auto& f : m_fields) {
                if (f.name == name) {
                    if (f.type != 'C') return e4typeSub;
                    out = std::make_unique<Expr4::Node>();
                    out->kind = Expr4::Node::Kind::field;
                    out->offset = f.offset;
                    out->width = f.width;
                    return 0;
                }
            }
            return e4unrecValue;
        }
        if (c == ')') return e4commaExpected;
        if (std::isdigit(static_cast<unsigned char>(c))) return e4unrecValue;
        return e4unrecOperator;
    }

    int parseCall(const std::string& name, std::unique_ptr<Expr4::Node>& out) {
        ++m_pos; // '('
        skipBlanks();
        if (name != "DELETED") {
            return e4unrecFunction;
        }
        if (atEnd()) return e4rightMissing;
        if (m_text[m_pos] != ')') {
            // DELETED() takes nothing; anything inside is a wrong number of parameters
            int depth = 1;
            while (!atEnd() && depth > 0) {
                if (m_text[m_pos] == '(') ++depth;
                if (m_text[m_pos] == ')') --depth;
                ++m_pos;
            }
            return depth > 0 ? e4rightMissing : e4numParms;
        }
        ++m_pos;
        out = std::make_unique<Expr4::Node>();
        out->kind = Expr4::Node::Kind::deleted;
        return 0;
    }

    const std::string& m_text;
    const std::vector<Field4>& m_fields;
    std::size_t m_pos = 0;
};

void appendValue(const Expr4::Node& n, const char* record, std::string& out) {
    switch (n.kind) {
    case Expr4::Node::Kind::field:
        out.append(record + n.offset, static_cast<std::size_t>(n.width));
        break;
    case Expr4::Node::Kind::constant:
        out += n.constant;
        break;
    case Expr4::Node::Kind::concat:
        for (const auto& c : n.children) appendValue(*c, record, out);
        break;
    default:
        break;
    }
}

bool truthOf(const Expr4::Node& n, const char* record) {
    if (n.kind == Expr4::Node::Kind::deleted) return record[0] == '*';
    if (n.kind == Expr4::Node::Kind::notOp) return !truthOf(*n.children[0], record);
    return false;
}

} // namespace

Expr4::~Expr4() = default;

int Expr4::parse(const std::string& text, const std::vector<Field4>& fields, std::unique_ptr<Expr4>& out) {
    std::unique_ptr<Node> root;
    Parser p(text, fields);
    int rc = p.parse(root);
    if (rc != 0) return rc;
    auto e = std::unique_ptr<Expr4>(new Expr4());
    e->m_type = root->logical() ? Type::logical : Type::character;
    e->m_length = root->logical() ? 0 : root->width;
    e->m_source = text;
    e->m_root = std::move(root);
    out = std::move(e);
    return 0;
}

void Expr4::value(const char* record, std::string& out) const {
    out.clear();
    appendValue(*m_root, record, out);
}

bool Expr4::truth(const char* record) const { return truthOf(*m_root, record); }

} // namespace orv
