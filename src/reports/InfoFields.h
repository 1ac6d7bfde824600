#pragma once

#include <vector>

namespace jt::engine {
class Table;
}

namespace jt::render {
struct Item;
}

namespace jt::reports {

// The items of a definition that show a field of the info table's one record
// (adjudicator names and the like). They are bound to the open competition's info table
// before each run, so a definition built before the data module still prints them.
class InfoFields final {
public:
    void add(render::Item& item) { m_items.push_back(&item); }
    void bind(engine::Table* info) const;

private:
    std::vector<render::Item*> m_items;
};

} // namespace jt::reports
