#include "MarksPack.h"

#include "Checksheets.h"
#include "FinalProcedure.h"
#include "ReportCommands.h"
#include "ReportTexts.h"
#include "ResultRuns.h"
#include "TAdjAForm.h"
#include "TFinalRept.h"
#include "TFinalRept3x3.h"
#include "TFinalRept3x4.h"
#include "TFinalRept5x3.h"
#include "TWinReport.h"
#include "TWinReportP.h"
#include "data/ProgramState.h"
#include "data/RecalcGate.h"
#include "engine/Table.h"
#include "platform/Dialogs.h"
#include "render/Document.h"
#include "render/PdfOutput.h"

#include <QDir>

namespace jt::reports {
namespace {

// Banner and footer of every part that prints the event name, as their commands set them.
void setEventNames(const ProgramState& state) {
    for (TitledReport* report : std::initializer_list<TitledReport*>{
             &created(FinalRept, "TFinalRept"), &created(FinalRept5x3, "TFinalRept5x3"),
             &created(FinalRept3x4, "TFinalRept3x4"), &created(FinalRept3x3, "TFinalRept3x3"),
             &created(AdjAForm, "TAdjAForm"), &created(WinReport, "TWinReport"),
             &created(WinReportP, "TWinReportP")})
        report->setEventName(state.GlobalSchool);
}

// Clears the flag when the pack is done: its own POSITION writes leave no recalculation
// due, and it only runs when none was.
class ClearFlagAfterwards final {
public:
    explicit ClearFlagAfterwards(ProgramState& state) : m_state(state) {}
    ~ClearFlagAfterwards() { m_state.ReCalcFlag = false; }
    ClearFlagAfterwards(const ClearFlagAfterwards&) = delete;
    ClearFlagAfterwards& operator=(const ClearFlagAfterwards&) = delete;

private:
    ProgramState& m_state;
};

} // namespace

bool passMarksPackGates(ProgramState& state) {
    return passRecalcGate(state) && passChecklistGate(state, Checklist::Final);
}

render::Document layOutMarksPack(ProgramState& state) {
    const ClearFlagAfterwards clearFlag(state);
    setEventNames(state);
    std::vector<render::Document> parts;
    const ShowReport gather = [&parts](const render::Document& part) { parts.push_back(part); };
    parts.push_back(layOutHeaderSheet(state));
    previewFinalReport(state, gather);
    previewGridMarks(state, gather);
    previewWinnersRoster(state, gather);
    for (render::Document& sheet : layOutChecksheets(state))
        parts.push_back(std::move(sheet));
    render::Document pack = render::joinDocuments(parts);
    pack.title = QStringLiteral("Marks Pack");
    return pack;
}

void MarksPackToPdf(ProgramState& state) {
    using namespace platform;
    if (!passMarksPackGates(state))
        return;
    FileDialogOptions options;
    options.title = QStringLiteral("Marks Pack to PDF");
    options.folder = state.DataFolder;
    options.filter = QStringLiteral("PDF files (*.pdf)");
    options.defaultSuffix = QStringLiteral("pdf");
    options.mustExist = false;
    const std::optional<QString> path = dialogs().saveFileName(options);
    if (!path)
        return;
    const render::Document pack = layOutMarksPack(state);
    render::writePdf(pack, *path);
    dialogs().message(MessageType::Information, kApplicationTitle,
                      QStringLiteral("Marks pack written to %1 (%2 pages)")
                          .arg(QDir::toNativeSeparators(*path))
                          .arg(pack.pageCount()),
                      Ok);
}

} // namespace jt::reports
