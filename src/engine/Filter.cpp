#include "Filter.h"

#include "DbfCodec.h"
#include "EngineError.h"

#include <cmath>
#include <vector>

namespace jt::engine {

struct Filter::Node {
    enum class Kind { Or, And, Not, Compare, Field, Constant };
    enum class Op { Eq, Ne, Lt, Le, Gt, Ge };
    Kind kind = Kind::Constant;
    Op op = Op::Eq;
    int field = -1;
    FieldType fieldType = FieldType::Character;
    QVariant constant;
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
};

namespace {

using Node = Filter::Node;

struct Token {
    enum class Type { Name, Number, String, Op, LParen, RParen, End } type = Type::End;
    QString text;
    int position = 0;
};

class Parser {
public:
    Parser(const QString& text, const DbfStructure& structure)
        : m_text(text), m_structure(structure) {
        tokenize();
    }

    std::unique_ptr<Node> parse() {
        auto node = parseOr();
        if (peek().type != Token::Type::End)
            fail(QStringLiteral("unexpected '%1'").arg(peek().text));
        return node;
    }

private:
    [[noreturn]] void fail(const QString& what) const {
        throw EngineError(
            QStringLiteral("Filter expression '%1' is not valid: %2").arg(m_text, what));
    }

    void tokenize() {
        int i = 0;
        const int n = int(m_text.size());
        while (i < n) {
            const QChar c = m_text[i];
            if (c.isSpace()) {
                ++i;
                continue;
            }
            Token t;
            t.position = i;
            if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
                t.type = c == QLatin1Char('(') ? Token::Type::LParen : Token::Type::RParen;
                t.text = c;
                ++i;
            } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
                const int end = int(m_text.indexOf(c, i + 1));
                if (end < 0)
                    fail(QStringLiteral("unterminated text"));
                t.type = Token::Type::String;
                t.text = m_text.mid(i + 1, end - i - 1);
                i = end + 1;
            } else if (c.isDigit() || c == QLatin1Char('.') ||
                       ((c == QLatin1Char('-') || c == QLatin1Char('+')) && i + 1 < n &&
                        (m_text[i + 1].isDigit() || m_text[i + 1] == QLatin1Char('.')) &&
                        !previousIsOperand())) {
                int k = i + 1;
                while (c == QLatin1Char('.') && k < n && m_text[k].isLetter())
                    ++k;
                if (k > i + 1 && k < n && m_text[k] == QLatin1Char('.')) {
                    // dBASE words between dots: .T., .F., .AND., .OR., .NOT.
                    t.type = Token::Type::Name;
                    t.text = m_text.mid(i, k - i + 1).toUpper();
                    i = k + 1;
                } else {
                    int j = i + 1;
                    while (j < n && (m_text[j].isDigit() || m_text[j] == QLatin1Char('.')))
                        ++j;
                    t.type = Token::Type::Number;
                    t.text = m_text.mid(i, j - i);
                    i = j;
                }
            } else if (c.isLetter() || c == QLatin1Char('_')) {
                int j = i + 1;
                while (j < n && (m_text[j].isLetterOrNumber() || m_text[j] == QLatin1Char('_')))
                    ++j;
                t.type = Token::Type::Name;
                t.text = m_text.mid(i, j - i);
                i = j;
            } else {
                static const char* const ops[] = {"<>", "!=", "<=", ">=", "==", "=", "<", ">"};
                bool found = false;
                for (const char* op : ops) {
                    const QLatin1String o(op);
                    if (QStringView(m_text).mid(i).startsWith(o)) {
                        t.type = Token::Type::Op;
                        t.text = o;
                        i += int(o.size());
                        found = true;
                        break;
                    }
                }
                if (!found)
                    fail(QStringLiteral("unexpected '%1'").arg(c));
            }
            m_tokens.push_back(t);
        }
        m_tokens.push_back({Token::Type::End, QStringLiteral("end"), n});
    }

    bool previousIsOperand() const {
        if (m_tokens.empty())
            return false;
        const auto type = m_tokens.back().type;
        return type == Token::Type::Name || type == Token::Type::Number ||
               type == Token::Type::String || type == Token::Type::RParen;
    }

    const Token& peek() const { return m_tokens[m_pos]; }
    Token take() { return m_tokens[m_pos++]; }
    bool takeKeyword(const char* word) {
        if (peek().type == Token::Type::Name &&
            peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) {
            ++m_pos;
            return true;
        }
        return false;
    }

    std::unique_ptr<Node> binary(Node::Kind kind, std::unique_ptr<Node> l,
                                 std::unique_ptr<Node> r) {
        auto node = std::make_unique<Node>();
        node->kind = kind;
        node->left = std::move(l);
        node->right = std::move(r);
        return node;
    }

    std::unique_ptr<Node> parseOr() {
        auto node = parseAnd();
        while (takeKeyword("OR") || takeKeyword(".OR."))
            node = binary(Node::Kind::Or, std::move(node), parseAnd());
        return node;
    }

    std::unique_ptr<Node> parseAnd() {
        auto node = parseNot();
        while (takeKeyword("AND") || takeKeyword(".AND."))
            node = binary(Node::Kind::And, std::move(node), parseNot());
        return node;
    }

    std::unique_ptr<Node> parseNot() {
        if (takeKeyword("NOT") || takeKeyword(".NOT.")) {
            if (++m_depth > kMaxDepth)
                fail(QStringLiteral("it is nested too deeply"));
            auto node = std::make_unique<Node>();
            node->kind = Node::Kind::Not;
            node->left = parseNot();
            --m_depth;
            return node;
        }
        return parseComparison();
    }

    std::unique_ptr<Node> parseComparison() {
        auto left = parseOperand();
        if (peek().type != Token::Type::Op) {
            if (left->kind == Node::Kind::Field && left->fieldType != FieldType::Logical)
                fail(QStringLiteral("field %1 is not a logical field")
                         .arg(m_structure.fields[std::size_t(left->field)].name));
            if (left->kind == Node::Kind::Constant && left->constant.typeId() != QMetaType::Bool)
                fail(QStringLiteral("a constant alone is not a condition"));
            return left;
        }
        const QString op = take().text;
        auto right = parseOperand();
        for (const Node* side : {left.get(), right.get()})
            if (side->kind != Node::Kind::Field && side->kind != Node::Kind::Constant)
                fail(QStringLiteral("only fields and constants can be compared"));
        auto node = binary(Node::Kind::Compare, std::move(left), std::move(right));
        if (op == QLatin1String("=") || op == QLatin1String("=="))
            node->op = Node::Op::Eq;
        else if (op == QLatin1String("<>") || op == QLatin1String("!="))
            node->op = Node::Op::Ne;
        else if (op == QLatin1String("<"))
            node->op = Node::Op::Lt;
        else if (op == QLatin1String("<="))
            node->op = Node::Op::Le;
        else if (op == QLatin1String(">"))
            node->op = Node::Op::Gt;
        else
            node->op = Node::Op::Ge;
        checkComparable(*node->left, *node->right);
        return node;
    }

    static int category(const Node& n) {
        if (n.kind == Node::Kind::Field) {
            switch (n.fieldType) {
            case FieldType::Numeric:
            case FieldType::Float:
                return 0;
            case FieldType::Logical:
                return 2;
            default:
                return 1;
            }
        }
        if (n.constant.typeId() == QMetaType::Double)
            return 0;
        if (n.constant.typeId() == QMetaType::Bool)
            return 2;
        return 1;
    }

    void checkComparable(const Node& l, const Node& r) const {
        if (category(l) != category(r))
            fail(QStringLiteral("a comparison of values of different kinds"));
    }

    std::unique_ptr<Node> parseOperand() {
        if (peek().type == Token::Type::LParen) {
            take();
            if (++m_depth > kMaxDepth)
                fail(QStringLiteral("it is nested too deeply"));
            auto node = parseOr();
            --m_depth;
            if (take().type != Token::Type::RParen)
                fail(QStringLiteral("missing ')'"));
            return node;
        }
        const Token t = take();
        auto node = std::make_unique<Node>();
        switch (t.type) {
        case Token::Type::Number: {
            bool ok = false;
            const double v = t.text.toDouble(&ok);
            if (!ok)
                fail(QStringLiteral("'%1' is not a number").arg(t.text));
            node->constant = v;
            return node;
        }
        case Token::Type::String:
            node->constant = t.text;
            return node;
        case Token::Type::Name: {
            const QString upper = t.text.toUpper();
            if (upper == QLatin1String(".T.") || upper == QLatin1String("TRUE")) {
                node->constant = true;
                return node;
            }
            if (upper == QLatin1String(".F.") || upper == QLatin1String("FALSE")) {
                node->constant = false;
                return node;
            }
            const int index = m_structure.indexOf(t.text);
            if (index < 0)
                fail(QStringLiteral("there is no field %1").arg(t.text));
            node->kind = Node::Kind::Field;
            node->field = index;
            node->fieldType = m_structure.fields[std::size_t(index)].type;
            return node;
        }
        default:
            fail(t.type == Token::Type::End ? QStringLiteral("it ends too early")
                                            : QStringLiteral("unexpected '%1'").arg(t.text));
        }
    }

    QString m_text;
    const DbfStructure& m_structure;
    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
    int m_depth = 0;
    static constexpr int kMaxDepth = 100;
};

QVariant operandValue(const Node& n, const std::function<QVariant(int)>& value) {
    if (n.kind != Node::Kind::Field)
        return n.constant;
    QVariant v = value(n.field);
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("yyyyMMdd"));
    if (!v.isNull() && v.isValid())
        return v;
    switch (n.fieldType) {
    case FieldType::Numeric:
    case FieldType::Float:
        return 0.0;
    case FieldType::Logical:
        return false;
    default:
        return QString();
    }
}

int compareValues(const QVariant& a, const QVariant& b) {
    if (a.typeId() == QMetaType::Double || b.typeId() == QMetaType::Double) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.typeId() == QMetaType::Bool)
        return int(a.toBool()) - int(b.toBool());
    if (a.typeId() == QMetaType::QDate && b.typeId() == QMetaType::QDate)
        return a.toDate() < b.toDate() ? -1 : (a.toDate() > b.toDate() ? 1 : 0);
    // dBASE compares texts as stored, blank-padded, so trailing blanks do not matter.
    auto chopped = [](QString text) {
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        return text;
    };
    return QString::compare(chopped(a.toString()), chopped(b.toString()), Qt::CaseSensitive);
}

bool evaluate(const Node& n, const std::function<QVariant(int)>& value) {
    switch (n.kind) {
    case Node::Kind::Or:
        return evaluate(*n.left, value) || evaluate(*n.right, value);
    case Node::Kind::And:
        return evaluate(*n.left, value) && evaluate(*n.right, value);
    case Node::Kind::Not:
        return !evaluate(*n.left, value);
    case Node::Kind::Field:
    case Node::Kind::Constant:
        return operandValue(n, value).toBool();
    case Node::Kind::Compare: {
        const int c = compareValues(operandValue(*n.left, value), operandValue(*n.right, value));
        switch (n.op) {
        case Node::Op::Eq:
            return c == 0;
        case Node::Op::Ne:
            return c != 0;
        case Node::Op::Lt:
            return c < 0;
        case Node::Op::Le:
            return c <= 0;
        case Node::Op::Gt:
            return c > 0;
        case Node::Op::Ge:
            return c >= 0;
        }
    }
    }
    return false;
}

} // namespace

Filter::Filter() = default;
Filter::~Filter() = default;
Filter::Filter(Filter&&) noexcept = default;
Filter& Filter::operator=(Filter&&) noexcept = default;

Filter Filter::parse(const QString& text, const DbfStructure& structure) {
    Filter filter;
    if (text.trimmed().isEmpty())
        return filter;
    Parser parser(text, structure);
    filter.m_root = parser.parse();
    return filter;
}

bool Filter::matches(const std::function<QVariant(int)>& value) const {
    return !m_root || evaluate(*m_root, value);
}

} // namespace jt::engine
