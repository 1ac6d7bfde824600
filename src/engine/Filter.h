#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace jt::engine {

struct DbfStructure;

// A parsed record filter: comparisons of fields with numbers, texts and logicals
// ("GRIDTOTAL <> 0.00", "NAME = 'Aoife'"), a logical field on its own ("RECALLED"),
// joined by AND, OR, NOT and parentheses. Empty fields compare as 0, empty text or false.
class Filter final {
public:
    // Throws EngineError when the text is not an expression over the table's fields.
    static Filter parse(const QString& text, const DbfStructure& structure);

    Filter();
    ~Filter();
    Filter(Filter&&) noexcept;
    Filter& operator=(Filter&&) noexcept;

    // value(fieldIndex) gives the field's value in the record being tested.
    bool matches(const std::function<QVariant(int)>& value) const;
    bool isEmpty() const { return !m_root; }

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

} // namespace jt::engine
