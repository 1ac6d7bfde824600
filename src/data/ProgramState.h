#pragma once

#include "DataModule.h"

#include <QString>

#include <memory>

namespace jt {

// What the whole running program shares: the data module with the open competition's
// tables, whether its computed results are out of date, the data folder and the event
// name. One object owns it all and is handed to every window, so a test builds a state
// of its own instead of resetting anything program-wide.
class ProgramState final {
public:
    ProgramState() = default;
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    // The data module; made by the start-up order (or by a test), null before that.
    std::unique_ptr<data::TDataModule1> DataModule1;
    // True while the computed results of the open competition may be out of date: a
    // record was posted or deleted, or the competition was opened, since the last
    // recalculation.
    bool ReCalcFlag = false;
    // The user's documents folder followed by "/Jigtally 2008/data", without a trailing
    // separator; worked out once when the main window is created (empty when the
    // platform knows no documents folder). The file dialogs start in it, the reports
    // look for their logo pictures in it and the About box shows it.
    QString DataFolder;
    // The event name the reports print. Set Event Name reloads it from the stored
    // setting.
    QString GlobalSchool;
    // The window whose handlers post to the results table now ("Enter Marks", "Import"),
    // as the change log names it: a window sets it while it is open, a command such as
    // an import for its run. Empty when no window is posting.
    QString PostingWindow;

    // The data module, or an error for the general error display when there is none.
    data::TDataModule1& module() const;
};

// What the change log names as the window while an import posts.
inline const QString kImportWindow = QStringLiteral("Import");

// Names the posting window for a stretch of work and puts the earlier name back at its
// end, however it ends.
class PostingWindowScope final {
public:
    PostingWindowScope(ProgramState& state, const QString& window)
        : m_state(state), m_previous(state.PostingWindow) {
        state.PostingWindow = window;
    }
    ~PostingWindowScope() { m_state.PostingWindow = m_previous; }
    PostingWindowScope(const PostingWindowScope&) = delete;
    PostingWindowScope& operator=(const PostingWindowScope&) = delete;

private:
    ProgramState& m_state;
    QString m_previous;
};

} // namespace jt
