#pragma once

#include <exception>

namespace jt::engine {

// Runs steps that must all be tried, such as the clean-up after a pass over a table: a
// step that throws does not stop the later ones, and the first error is the one reported.
class FirstFailure final {
public:
    template <typename Step> void attempt(const Step& step) {
        try {
            step();
        } catch (...) {
            if (!m_failure)
                m_failure = std::current_exception();
        }
    }
    // Throws the first error met, if any.
    void rethrow() const {
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

private:
    std::exception_ptr m_failure;
};

} // namespace jt::engine
