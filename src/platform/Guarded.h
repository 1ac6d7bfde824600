#pragma once

#include <QObject>
#include <QString>

#include <exception>
#include <type_traits>
#include <utility>

namespace jt::platform {

// The text of the exception being handled, for the general error display.
QString currentExceptionText();
// Shows the exception being handled in the general error display. Never throws.
void reportCurrentException() noexcept;

// Runs a command; an error it does not handle itself goes to the general error display
// and the program carries on in whatever state the command had reached. Returns false
// when the command failed. Every handler of every window runs through this (usually by
// connectGuarded), so no exception ever unwinds into Qt's own code.
template <typename F> bool runGuarded(F&& command) noexcept {
    try {
        std::forward<F>(command)();
        return true;
    } catch (...) {
        reportCurrentException();
        return false;
    }
}

// connect() for a command: the slot runs under runGuarded. Signal arguments are passed
// on to the handler when it takes them.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, const QObject* context,
                                       Handler handler) {
    return QObject::connect(sender, signal, context, [handler](auto&&... args) mutable {
        runGuarded([&] {
            if constexpr (std::is_invocable_v<Handler&, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        });
    });
}

} // namespace jt::platform
