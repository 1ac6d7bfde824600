#include "HelpTopic.h"

#include <QVariant>

namespace jt::platform {
namespace {
constexpr const char* kProperty = "jtHelpTopic";
std::function<void(int)>& handler() {
    static std::function<void(int)> h;
    return h;
}
} // namespace

void setHelpTopic(QObject* object, int topic) {
    object->setProperty(kProperty, topic);
}

int helpTopic(const QObject* object) {
    return object ? object->property(kProperty).toInt() : 0;
}

void showHelp(int topic) {
    if (handler())
        handler()(topic);
}

void setHelpHandler(std::function<void(int)> h) {
    handler() = std::move(h);
}

} // namespace jt::platform
