#include "InfoFields.h"

#include "render/Definition.h"

namespace jt::reports {

void InfoFields::bind(engine::Table* info) const {
    for (render::Item* item : m_items)
        item->table = info;
}

} // namespace jt::reports
