#pragma once

#include "platform/Dialogs.h"

#include <QString>

namespace jt {
class ProgramState;
}

namespace jt::app {

// What the competition commands change on the main window.
class CompetitionView {
public:
    virtual ~CompetitionView() = default;
    // A competition is open exactly while Close Competition is on offer.
    virtual bool competitionOpen() const = 0;
    // Label2: "None selected" or the competition's name in capitals.
    virtual void showCompetitionName(const QString& text) = 0;
    // The commands that need a competition: the Marks, Reports, Setup and Utils menus
    // and Close Competition.
    virtual void enableCompetitionCommands(bool enable) = 0;
    // Create, Delete and Set Event Name, which go once a competition has been selected.
    virtual void disableFileCommands() = 0;
    virtual void CheckReCalcFlag() = 0;
    // A passing word on what a command did, for commands that otherwise finish without
    // a message: gone again after a few seconds.
    virtual void showStatus(const QString& text) = 0;
};

// File > Select, Create, Close and Delete Competition on the tables of the state's data
// module (which must exist when a command runs). Messages and file
// dialogs go through jt::platform::dialogs(); failures that a command does not catch
// propagate to the caller, the general error display.
class CompetitionFiles final {
public:
    static inline const QString kNoneSelected = QStringLiteral("None selected");

    CompetitionFiles(ProgramState& state, CompetitionView& view);

    // The folder all three dialogs start in.
    void setInitialFolder(const QString& folder);
    const platform::FileDialogOptions& SelectOpen() const { return m_selectOpen; }
    const platform::FileDialogOptions& CreateOpen() const { return m_createOpen; }
    const platform::FileDialogOptions& DeleteOpen() const { return m_deleteOpen; }

    void Select1Click();
    void Create1Click();
    void Close1Click();
    void Delete1Click();

private:
    ProgramState& m_state;
    CompetitionView& m_view;
    platform::FileDialogOptions m_selectOpen;
    platform::FileDialogOptions m_createOpen;
    platform::FileDialogOptions m_deleteOpen;
};

} // namespace jt::app
