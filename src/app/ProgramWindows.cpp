#include "ProgramWindows.h"

#include "TAboutBox.h"
#include "TEventNameForm.h"
#include "TMain.h"
#include "data/ProgramState.h"
#include "marks/TColTotal.h"
#include "marks/TDataEntry.h"
#include "marks/TSpreadsheet.h"
#include "marks/TSpreadsheet1.h"
#include "marks/Tseeallform.h"
#include "reportdialogs/TAdjAReport.h"
#include "reportdialogs/TFinalChk.h"
#include "reportdialogs/TFinalReport.h"
#include "reportdialogs/TRecallChk.h"
#include "reportdialogs/TRecallReport.h"
#include "reportdialogs/TSoloRepDlg.h"
#include "reportdialogs/TWinRep.h"
#include "reportdialogs/WidgetReportDialogs.h"
#include "reports/ReportCommands.h"
#include "reports/TAdjAForm.h"
#include "reports/TAdjRecCheck.h"
#include "reports/TCompForm.h"
#include "reports/TFinalRept.h"
#include "reports/TFinalRept3x3.h"
#include "reports/TFinalRept3x4.h"
#include "reports/TFinalRept5x3.h"
#include "reports/THeader.h"
#include "reports/TRecalRead.h"
#include "reports/TRecallRept.h"
#include "reports/TRecallRept3.h"
#include "reports/TSoloWinForm.h"
#include "reports/TWinReport.h"
#include "reports/TWinReportP.h"
#include "setup/TCompInfoSetup.h"
#include "setup/TCompSetup.h"

#include <QAction>

namespace jt::app {

template <typename T> T* ProgramWindows::create(QObject* parent) {
    T* object = new T(m_state, static_cast<QWidget*>(parent));
    created(object, [object] { delete object; });
    return object;
}

void ProgramWindows::created(QObject* object, std::function<void()> destroy) {
    m_names << object->objectName();
    m_destroyers.push_back(std::move(destroy));
}

ProgramWindows::ProgramWindows(ProgramState& state) : m_state(state) {
    m_main = create<TMain>(nullptr);
    // The other windows belong to the main window, so they stay in front of it and
    // share its place on the task bar; the data module stands on its own.
    QObject* const owner = m_main;
    create<setup::TCompInfoSetup>(owner);
    m_state.DataModule1 = std::make_unique<data::TDataModule1>(m_state);
    m_state.DataModule1->setObjectName(QStringLiteral("DataModule1"));
    created(m_state.DataModule1.get(), [this] { m_state.DataModule1.reset(); });
    create<marks::TDataEntry>(owner);
    create<marks::TSpreadsheet>(owner);
    create<reports::TRecallRept>(owner);
    create<reports::TRecallReport>(owner);
    create<reports::TFinalReport>(owner);
    create<setup::TCompSetup>(owner);
    create<TAboutBox>(owner);
    create<reports::TWinReport>(owner);
    create<reports::TWinRep>(owner);
    create<reports::TAdjAReport>(owner);
    create<reports::TAdjAForm>(owner);
    create<reports::TRecalRead>(owner);
    create<marks::TColTotal>(owner);
    create<reports::TCompForm>(owner);
    create<reports::TRecallChk>(owner);
    create<reports::TFinalChk>(owner);
    create<reports::TFinalRept>(owner);
    create<reports::TWinReportP>(owner);
    create<reports::TSoloRepDlg>(owner);
    create<reports::TSoloWinForm>(owner);
    create<TEventNameForm>(owner);
    create<reports::THeader>(owner);
    create<marks::Tseeallform>(owner);
    create<marks::TSpreadsheet1>(owner);
    create<reports::TFinalRept5x3>(owner);
    create<reports::TFinalRept3x4>(owner);
    create<reports::TFinalRept3x3>(owner);
    create<reports::TRecallRept3>(owner);
    create<reports::TAdjRecCheck>(owner);

    // The Reports menu runs the report frame's commands with the program's own dialogs.
    static reports::WidgetReportDialogs reportDialogs;
    reports::setReportDialogs(&reportDialogs);
    for (const reports::ReportCommand& c : reports::reportCommands())
        if (QAction* item = m_main->findChild<QAction*>(c.menuItem))
            m_main->setCommand(item, [this, run = c.run] { run(m_state); });
}

ProgramWindows::~ProgramWindows() {
    reports::setReportDialogs(nullptr);
    while (!m_destroyers.empty()) {
        m_destroyers.back()();
        m_destroyers.pop_back();
    }
}

QStringList ProgramWindows::creationOrder() const {
    return m_names;
}

} // namespace jt::app
