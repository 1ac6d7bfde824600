#include "TMain.h"

#include "DataFolder.h"
#include "EventName.h"
#include "Pictures.h"
#include "RecalcRunner.h"
#include "TAboutBox.h"
#include "TChangeLog.h"
#include "TEventNameForm.h"
#include "data/ProgramState.h"
#include "marks/TDataEntry.h"
#include "marks/TSpreadsheet.h"
#include "marks/TSpreadsheet1.h"
#include "marks/Tseeallform.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/HelpTopic.h"
#include "platform/Termination.h"
#include "reports/MarksPack.h"
#include "scoring/Stages.h"
#include "setup/TCompInfoSetup.h"
#include "setup/TCompSetup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolTip>
#include <QVBoxLayout>

#include <stdexcept>

namespace jt::app {

TMain* Main = nullptr;

namespace {

QFont pixelFont(const QFont& base, int pixels, bool bold) {
    QFont f = base;
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// One menu entry's hint: shown as a tool tip in menus, and as the status tip for
// anything that listens for one.
void setHint(QAction* action, const QString& hint) {
    action->setToolTip(hint);
    action->setStatusTip(hint);
}

} // namespace

TMain::TMain(ProgramState& state, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_files(state, *this) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Jigtally"));
    setWindowIcon(QIcon(programIcon()));
    platform::setHelpTopic(this, 10);
    buildMenus();
    buildPanel();
    connectCommands();
    resize(312, 386);
    Main = this;
    platform::runGuarded([this] { FormCreate(); });
    loadGlobalSchool(m_state);
}

TMain::~TMain() {
    if (Main == this)
        Main = nullptr;
}

void TMain::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    const auto menu = [&](const char* name, const QString& caption, const QString& hint, int topic,
                          bool enabled) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        m->setToolTipsVisible(true);
        if (!hint.isEmpty())
            setHint(m->menuAction(), hint);
        if (topic)
            platform::setHelpTopic(m->menuAction(), topic);
        m->menuAction()->setEnabled(enabled);
        return m;
    };
    const auto item = [](QMenu* m, const char* name, const QString& caption,
                         const QString& hint = {}, bool enabled = true) {
        QAction* a = m->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        if (!hint.isEmpty())
            setHint(a, hint);
        a->setEnabled(enabled);
        return a;
    };
    const auto separator = [](QMenu* m, const char* name) {
        m->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    File1 = menu("File1", QStringLiteral("&File"), QStringLiteral("Manipulate competition tables"),
                 210, true);
    Select1 = item(File1, "Select1", QStringLiteral("&Select Competition"),
                   QStringLiteral("Select a competition to work with"));
    Close1 = item(File1, "Close1", QStringLiteral("C&lose Competition"),
                  QStringLiteral("Close the currently open competition"), false);
    separator(File1, "N1");
    Create1 = item(File1, "Create1", QStringLiteral("&Create Competition"),
                   QStringLiteral("Create a new competition table"));
    Delete1 = item(File1, "Delete1", QStringLiteral("&Delete Competition"),
                   QStringLiteral("Delete an existing competition table"));
    separator(File1, "N9");
    SetEventName1 = item(File1, "SetEventName1", QStringLiteral("Set &Event Name"));
    MarksPack1 =
        item(File1, "MarksPack1", QStringLiteral("Marks &Pack to PDF..."),
             QStringLiteral("Write the competition's marks pack into one PDF file"), false);
    separator(File1, "N2");
    Exit1 = item(File1, "Exit1", QStringLiteral("E&xit"), QStringLiteral("Exit Jigtally"));

    Setup3 = menu("Setup3", QStringLiteral("Setup"), {}, 0, false);
    SetUp2 = item(Setup3, "SetUp2", QStringLiteral("&Competition Setup"), {}, false);
    Setup1 = item(Setup3, "Setup1", QStringLiteral("&Dancer Setup"),
                  QStringLiteral("Enter dancer numbers, names and schools"), false);

    Results1 = menu("Results1", QStringLiteral("Marks"), QStringLiteral("Enter and correct data"),
                    220, false);
    EnterSetScores1 = item(Results1, "EnterSetScores1", QStringLiteral("&Enter Marks"));
    EnterScores1 = item(Results1, "EnterScores1", QStringLiteral("&See All Marks"),
                        QStringLiteral("Rapid entry of scores"));

    Reports1 = menu("Reports1", QStringLiteral("&Reports"),
                    QStringLiteral("Preview and print reports"), 240, false);
    ListCompetitors1 =
        item(Reports1, "ListCompetitors1", QStringLiteral("&Competitor List"),
             QStringLiteral("Preview/print list of competitors in current competition"));
    separator(Reports1, "N4");
    Print1 = item(Reports1, "Print1", QStringLiteral("&Recall Report+List"),
                  QStringLiteral("Preview/print recall report"));
    RecallChecklists1 =
        item(Reports1, "RecallChecklists1", QStringLiteral("&PRINT Adj Checklists"));
    FinalResults1 = item(Reports1, "FinalResults1", QStringLiteral("&Final Marks Report"),
                         QStringLiteral("Preview/print final marks report"));
    HeaderSheet1 = item(Reports1, "HeaderSheet1", QStringLiteral("&Header Sheet"));
    separator(Reports1, "N5");
    ResultsbyAdjA1 = item(Reports1, "ResultsbyAdjA1", QStringLiteral("&Grid Marks"),
                          QStringLiteral("Preview/print grid marks report"));
    WinnersList1 = item(Reports1, "WinnersList1", QStringLiteral("&Winners Roster"),
                        QStringLiteral("Preview/print winners roster"));
    separator(Reports1, "N7");
    SoloWinners1 = item(Reports1, "SoloWinners1", QStringLiteral("&Solos"),
                        QStringLiteral("Preview/print solo winners"));

    Help1 =
        menu("Help1", QStringLiteral("&Help"), QStringLiteral("Use the help system"), 250, true);
    Contents1 = item(Help1, "Contents1", QStringLiteral("&Contents"),
                     QStringLiteral("Look at help contents"));
    separator(Help1, "N3");
    About1 = item(Help1, "About1", QStringLiteral("&About"), QStringLiteral("About Jigtally"));

    Utils1 = menu("Utils1", QStringLiteral("Utils"), {}, 0, false);
    SeeAllSpreadsheet1 = item(Utils1, "SeeAllSpreadsheet1", QStringLiteral("SeeAll Spreadsheet"));
    DataEntry1 = item(Utils1, "DataEntry1", QStringLiteral("&View All Fields"),
                      QStringLiteral("View and correct individual scores"));
    ChangeLog1 = item(Utils1, "ChangeLog1", QStringLiteral("Change Log"),
                      QStringLiteral("See every change of a mark or a dancer"));

    // The menu bar shows no tool tips of its own; the menus' hints are shown as one when
    // the pointer or the keyboard rests on a menu title.
    connect(bar, &QMenuBar::hovered, this, [bar](QAction* action) {
        if (action->toolTip().isEmpty() || action->toolTip() == action->iconText()) {
            QToolTip::hideText();
            return;
        }
        const QRect r = bar->actionGeometry(action);
        QToolTip::showText(bar->mapToGlobal(r.bottomLeft()), action->toolTip(), bar, r);
    });
}

void TMain::buildPanel() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainArea"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(mainPicture());
    Image1->setAlignment(Qt::AlignCenter);
    // The picture is centred and may be cut off when the window is made small.
    Image1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    column->addWidget(Image1, 1);

    Panel1 = new QFrame(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setFixedHeight(51);
    column->addWidget(Panel1);

    Label1 = new QLabel(QStringLiteral("Current Competition"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(pixelFont(font(), 13, true));
    Label1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Label2 = new QLabel(CompetitionFiles::kNoneSelected, Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(pixelFont(font(), 13, false));
    Label2->setMinimumWidth(0);
    Label2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    Panel2 = new QFrame(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::NoFrame);
    Panel2->setFixedSize(105, 33);
    Panel2->setAutoFillBackground(true);
    ReCalcButton = new QPushButton(kCalculated, Panel2);
    ReCalcButton->setObjectName(QStringLiteral("ReCalcButton"));
    ReCalcButton->setFont(pixelFont(font(), 13, true));
    ReCalcButton->setGeometry(8, 8, 89, 19);
    ReCalcButton->setEnabled(false);
    ReCalcButton->setFocusPolicy(Qt::TabFocus);

    auto* names = new QVBoxLayout;
    names->setSpacing(2);
    names->addWidget(Label1);
    names->addWidget(Label2);
    names->addStretch();
    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(6, 6, 6, 6);
    row->addLayout(names, 1);
    row->addWidget(Panel2, 0, Qt::AlignVCenter);

    setCentralWidget(central);
    CheckReCalcFlag();

    // The status bar is there only while it has something to say, so the panel keeps
    // to the bottom edge otherwise.
    QStatusBar* status = statusBar();
    status->setObjectName(QStringLiteral("StatusBar"));
    status->setSizeGripEnabled(false);
    status->hide();
    connect(status, &QStatusBar::messageChanged, status,
            [status](const QString& text) { status->setVisible(!text.isEmpty()); });
}

void TMain::connectCommands() {
    using platform::connectGuarded;
    const auto on = [this](QAction* item, void (TMain::*handler)()) {
        connectGuarded(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    on(Select1, &TMain::Select1Click);
    on(Close1, &TMain::Close1Click);
    on(Create1, &TMain::Create1Click);
    on(Delete1, &TMain::Delete1Click);
    on(SetEventName1, &TMain::SetEventName1Click);
    on(MarksPack1, &TMain::MarksPack1Click);
    on(Exit1, &TMain::Exit1Click);
    on(SetUp2, &TMain::SetUp2Click);
    on(Setup1, &TMain::Setup1Click);
    on(EnterSetScores1, &TMain::EnterSetScores1Click);
    on(EnterScores1, &TMain::EnterScores1Click);
    on(SeeAllSpreadsheet1, &TMain::SeeAllSpreadsheet1Click);
    on(DataEntry1, &TMain::DataEntry1Click);
    on(ChangeLog1, &TMain::ChangeLog1Click);
    on(Contents1, &TMain::Contents1Click);
    on(About1, &TMain::About1Click);
    connectGuarded(ReCalcButton, &QPushButton::clicked, this, [this] { ReCalculate1Click(); });
}

void TMain::setCommand(QAction* item, std::function<void()> command) {
    platform::connectGuarded(item, &QAction::triggered, this,
                             [command = std::move(command)] { command(); });
}

void TMain::FormCreate() {
    prepareDataFolder(m_state, platformDocumentsFolder(), m_files);
}

// ---- competition state ------------------------------------------------------

bool TMain::competitionOpen() const {
    return Close1->isEnabled();
}

void TMain::showCompetitionName(const QString& text) {
    Label2->setText(text);
}

void TMain::enableCompetitionCommands(bool enable) {
    for (QMenu* m : {Results1, Reports1, Setup3, Utils1})
        m->menuAction()->setEnabled(enable);
    for (QAction* a : {SetUp2, Setup1, Close1, MarksPack1})
        a->setEnabled(enable);
}

void TMain::disableFileCommands() {
    for (QAction* a : {SetEventName1, Delete1, Create1})
        a->setEnabled(false);
}

void TMain::CheckReCalcFlag() {
    QPalette palette = Panel2->palette();
    palette.setColor(QPalette::Window, m_state.ReCalcFlag
                                           ? QColor(255, 0, 0)
                                           : QApplication::palette().color(QPalette::Button));
    Panel2->setPalette(palette);
    ReCalcButton->setText(m_state.ReCalcFlag ? kRecalc : kCalculated);
    ReCalcButton->setEnabled(m_state.ReCalcFlag);
}

void TMain::showStatus(const QString& text) {
    statusBar()->showMessage(text, kStatusMilliseconds);
}

// ---- commands -----------------------------------------------------------------

void TMain::SetEventName1Click() {
    if (!EventNameForm)
        throw std::runtime_error("The Set Event Name window has not been created");
    EventNameForm->exec();
    if (platform::terminationRequested())
        return;
    refreshGlobalSchool(m_state);
}

void TMain::MarksPack1Click() {
    reports::MarksPackToPdf(m_state);
}

void TMain::Exit1Click() {
    close();
}

bool TMain::FormClose() {
    // A program told to end asks nothing more.
    if (platform::terminationRequested())
        return true;
    return platform::dialogs().message(
               platform::MessageType::Confirmation, platform::kApplicationTitle,
               QStringLiteral("Close Jigtally?"), platform::Yes | platform::No) == platform::Yes;
}

void TMain::closeEvent(QCloseEvent* event) {
    // The one road out, whether by Exit or by the window's close control; a failure to
    // ask keeps the program running.
    bool close = false;
    platform::runGuarded([&] { close = FormClose(); });
    if (!close) {
        event->ignore();
        return;
    }
    event->accept();
    if (!platform::terminationRequested())
        Q_EMIT closeConfirmed();
}

void TMain::launch(QWidget* window, const QString& name) {
    auto* dialog = qobject_cast<QDialog*>(window);
    if (!dialog)
        throw std::runtime_error(
            QStringLiteral("The %1 window has not been created").arg(name).toStdString());
    dialog->exec();
    CheckReCalcFlag();
}

void TMain::SetUp2Click() {
    launch(setup::CompInfoSetup, QStringLiteral("Competition Setup"));
}
void TMain::Setup1Click() {
    launch(setup::CompSetup, QStringLiteral("Dancer Setup"));
}
void TMain::EnterSetScores1Click() {
    launch(marks::Spreadsheet1, QStringLiteral("Enter Marks"));
}
void TMain::EnterScores1Click() {
    launch(marks::Spreadsheet, QStringLiteral("See All Marks"));
}
void TMain::SeeAllSpreadsheet1Click() {
    launch(marks::seeallform, QStringLiteral("SeeAll Spreadsheet"));
}
void TMain::DataEntry1Click() {
    launch(marks::DataEntry, QStringLiteral("View All Fields"));
}

void TMain::ChangeLog1Click() {
    if (!m_changeLog)
        m_changeLog = new TChangeLog(m_state, this);
    m_changeLog->FormShow();
    m_changeLog->exec();
}

void TMain::Contents1Click() {
    platform::showHelp(0);
}

void TMain::About1Click() {
    if (!AboutBox)
        throw std::runtime_error("The About box has not been created");
    AboutBox->Edit1->setText(m_state.GlobalSchool);
    AboutBox->DataPath->setText(m_state.DataFolder);
    AboutBox->exec();
}

void TMain::ReCalculate1Click() {
    runRecalculation(m_state);
    CheckReCalcFlag();
}

void TMain::IntermediateGrid1Click() {
    scoring::IntermediateGrid1Click(*m_state.module().results);
}

void TMain::FinalGrid1Click() {
    scoring::FinalGrid1Click(*m_state.module().results);
}

} // namespace jt::app
