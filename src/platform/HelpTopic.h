#pragma once

#include <QObject>

#include <functional>

namespace jt::platform {

// Windows and menus carry help topic numbers; F1 shows the topic of the focused window
// or highlighted menu item. The number is kept as a property of the object.
void setHelpTopic(QObject* object, int topic);
// The object's own topic, 0 when it has none.
int helpTopic(const QObject* object);

// The help viewer: shows one topic (0 for the contents page). The windowed program
// installs its viewer; without one, requests are ignored.
void showHelp(int topic);
void setHelpHandler(std::function<void(int)> handler);

} // namespace jt::platform
