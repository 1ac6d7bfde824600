#include "TCompSetup.h"

#include "DancerImport.h"
#include "SchoolCompletion.h"
#include "Sequencing.h"
#include "data/ProgramState.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/DBNavigator.h"
#include "exchange/SpreadsheetReader.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/HelpTopic.h"
#include "wizards/ImportWizard.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace jt::setup {

TCompSetup* CompSetup = nullptr;

namespace {

using dbcontrols::DBNavigator;

QPushButton* button(const char* name, const QString& caption, const QString& hint,
                    QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setAutoDefault(false);
    // Tab skips the bar: it moves between the grid and the school box only.
    b->setFocusPolicy(Qt::ClickFocus);
    return b;
}

} // namespace

TCompSetup::TCompSetup(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("CompSetup"));
    setWindowTitle(QStringLiteral("Dancer Setup"));
    platform::setHelpTopic(this, 330);
    resize(720, 480);

    DBNavigator1 = new DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons({DBNavigator::First, DBNavigator::Prior, DBNavigator::Next,
                                     DBNavigator::Last, DBNavigator::Insert, DBNavigator::Delete,
                                     DBNavigator::Post, DBNavigator::Cancel});
    for (int b = 0; b < DBNavigator::kButtonCount; ++b)
        DBNavigator1->button(DBNavigator::Button(b))->setFocusPolicy(Qt::NoFocus);
    Button1 = button("Button1", QStringLiteral("Exit"),
                     QStringLiteral("Click to return to main menu"), this);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("Click Seq"));
    SpeedButton1->setToolTip(QStringLiteral("Click to toggle double-click sequencing"));
    SpeedButton1->setCheckable(true);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    Button3 = button("Button3", QStringLiteral("Clear Seq"),
                     QStringLiteral("Click to clear current sequencing"), this);
    Button2 = button("Button2", QStringLiteral("Auto Seq"),
                     QStringLiteral("Click to auto-sequence competition"), this);
    Button5 = button("Button5", QStringLiteral("Import"),
                     QStringLiteral("Click to import from Excel"), this);
    Button4 = button("Button4", QStringLiteral("Import Wizard"),
                     QStringLiteral("Click to use import wizard"), this);

    DBGrid1 = new dbcontrols::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    dbcontrols::GridColumn seq =
        dbcontrols::GridColumn::field(QStringLiteral("SEQUENCE"), QStringLiteral("Seq No"));
    seq.width = 56;
    seq.color = QColor(0xC0, 0xFF, 0xC0);
    dbcontrols::GridColumn dancer =
        dbcontrols::GridColumn::field(QStringLiteral("COMP_NO"), QStringLiteral("Dancer"));
    dancer.width = 60;
    dbcontrols::GridColumn name =
        dbcontrols::GridColumn::field(QStringLiteral("NAME"), QStringLiteral("Name"));
    name.width = 240;
    dbcontrols::GridColumn school =
        dbcontrols::GridColumn::field(QStringLiteral("SCHOOL"), QStringLiteral("School"));
    school.width = 300;
    DBGrid1->setColumns({seq, dancer, name, school});

    DBEdit1 = new dbcontrols::DBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setDataField(QStringLiteral("SCHOOL"));
    DBEdit1->setFrame(false);
    DBEdit1->hide();
    DBEdit1->installEventFilter(this);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    auto* panelLayout = new QHBoxLayout(Panel1);
    panelLayout->setContentsMargins(8, 4, 8, 4);
    panelLayout->addWidget(Label1);
    panelLayout->addStretch();

    auto* bar = new QHBoxLayout;
    bar->addWidget(DBNavigator1);
    for (QWidget* w :
         std::initializer_list<QWidget*>{Button1, SpeedButton1, Button3, Button2, Button5, Button4})
        bar->addWidget(w);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(Panel1);
    setTabOrder(DBGrid1, DBEdit1);

    platform::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    platform::connectGuarded(SpeedButton1, &QToolButton::clicked, this,
                             [this] { SpeedButton1Click(); });
    platform::connectGuarded(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    platform::connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    platform::connectGuarded(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    platform::connectGuarded(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    platform::connectGuarded(DBGrid1, &dbcontrols::DBGrid::doubleClicked, this,
                             [this] { DBGrid1DblClick(); });
    // Drawing and keys are answered at once (they hand back what they decided).
    connect(DBGrid1, &dbcontrols::DBGrid::drawColumnCell, this,
            [this](dbcontrols::DrawColumnCell& cell) {
                platform::runGuarded([&] { DBGrid1DrawColumnCell(cell); });
            });
    connect(DBGrid1, &dbcontrols::DBGrid::keyDown, this, [this](QKeyEvent* event, bool& swallow) {
        platform::runGuarded([&] { DBGrid1KeyPress(event, swallow); });
    });
    platform::connectGuarded(DBGrid1, &dbcontrols::DBGrid::columnExited, this,
                             [this](int column) { DBGrid1ColExit(column); });
    CompSetup = this;
}

TCompSetup::~TCompSetup() {
    if (CompSetup == this)
        CompSetup = nullptr;
}

bool TCompSetup::clickSequencing() const {
    return SpeedButton1->isChecked();
}

int TCompSetup::schoolColumn() const {
    return DBGrid1->columnOfField(QStringLiteral("SCHOOL"));
}

void TCompSetup::bindControls() {
    engine::DataSource* source = m_state.module().DataSource1;
    if (DBGrid1->dataSource() == source)
        return;
    DBNavigator1->setDataSource(source);
    DBGrid1->setDataSource(source);
    DBEdit1->setDataSource(source);
}

QString TCompSetup::schoolListPath() const {
    return m_state.DataFolder + QLatin1Char('/') + SchoolList::kFileName;
}

void TCompSetup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // the window coming back from being minimised is no new opening
    m_previousPostingWindow = m_state.PostingWindow;
    m_state.PostingWindow = windowTitle();
    platform::runGuarded([this] { FormShow(); });
    platform::runGuarded([this] { FormActivate(); });
}

void TCompSetup::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    platform::runGuarded([this] { FormHide(); });
    m_state.PostingWindow = m_previousPostingWindow;
}

void TCompSetup::FormShow() {
    bindControls();
    m_schools.clear();
    if (const QString error = m_schools.load(schoolListPath()); !error.isEmpty())
        platform::showError(error);
}

void TCompSetup::FormActivate() {
    engine::Table& results = *m_state.module().results;
    DBEdit1->hide();
    results.close();
    results.open();
    Label1->setText(competitionDisplayName(results.tableName()));
    DBGrid1->setFocus();
}

void TCompSetup::FormHide() {
    DBEdit1->hide();
    const QString error = m_schools.save(schoolListPath());
    m_schools.clear();
    if (!error.isEmpty())
        platform::showError(error);
}

void TCompSetup::Button1Click() {
    close();
}

void TCompSetup::SpeedButton1Click() {
    QFont font = SpeedButton1->font();
    font.setBold(SpeedButton1->isChecked());
    SpeedButton1->setFont(font);
    QPalette palette = SpeedButton1->palette();
    palette.setColor(QPalette::ButtonText,
                     SpeedButton1->isChecked()
                         ? QColor(Qt::red)
                         : QApplication::palette().color(QPalette::ButtonText));
    SpeedButton1->setPalette(palette);
}

void TCompSetup::DBGrid1DblClick() {
    if (!clickSequencing())
        return;
    data::TDataModule1& dm = m_state.module();
    toggleSequence(*dm.results, *dm.resultsSEQUENCE);
}

void TCompSetup::Button2Click() {
    if (platform::dialogs().message(platform::MessageType::Confirmation,
                                    platform::kApplicationTitle,
                                    QStringLiteral("AutoSequence this Competition?"),
                                    platform::Yes | platform::No) != platform::Yes)
        return;
    data::TDataModule1& dm = m_state.module();
    autoSequence(*dm.results, *dm.resultsSEQUENCE);
}

void TCompSetup::Button3Click() {
    if (platform::dialogs().message(platform::MessageType::Confirmation,
                                    platform::kApplicationTitle,
                                    QStringLiteral("Clear All Sequence Numbers?"),
                                    platform::Yes | platform::No) != platform::Yes)
        return;
    data::TDataModule1& dm = m_state.module();
    clearSequence(*dm.results, *dm.resultsSEQUENCE);
}

void TCompSetup::Button5Click() {
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Import");
    options.folder = m_state.DataFolder;
    options.filter = exchange::spreadsheetFilter();
    options.defaultSuffix = QStringLiteral("xls");
    const std::optional<QString> file = platform::dialogs().openFileName(options);
    if (!file)
        return;
    const exchange::ImportMode mode =
        platform::dialogs().message(platform::MessageType::Confirmation,
                                    platform::kApplicationTitle,
                                    QStringLiteral("Yes to Overwrite, No to Append"),
                                    platform::Yes | platform::No) == platform::Yes
            ? exchange::ImportMode::Overwrite
            : exchange::ImportMode::Append;

    // Long files show how far the import has got; short ones import without a flicker.
    std::unique_ptr<QProgressDialog> progress;
    auto tell = [&](int done, int total) {
        if (total < kProgressRows)
            return;
        if (!progress) {
            progress = std::make_unique<QProgressDialog>(this);
            progress->setObjectName(QStringLiteral("ImportProgress"));
            progress->setWindowTitle(QStringLiteral("Importing..."));
            progress->setLabelText(QDir::toNativeSeparators(*file));
            progress->setCancelButton(nullptr);
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
            progress->setRange(0, total);
        }
        if (done == total || done % 50 == 0)
            progress->setValue(done);
    };
    data::TDataModule1& dm = m_state.module();
    DBEdit1->hide();
    const PostingWindowScope importing(m_state, kImportWindow);
    const exchange::ImportResult result = importDancers(*dm.results, *file, mode, tell);
    progress.reset();
    if (result.completed)
        platform::dialogs().message(platform::MessageType::Information, platform::kApplicationTitle,
                                    QStringLiteral("Import Completed"), platform::Ok);
    else
        platform::dialogs().message(platform::MessageType::Error, platform::kApplicationTitle,
                                    result.error, platform::Ok);
}

void TCompSetup::Button4Click() {
    DBEdit1->hide();
    const PostingWindowScope importing(m_state, kImportWindow);
    wizards::ImportWizard wizard(*m_state.module().results, exchange::dancerPresets(), this);
    wizard.exec();
}

void TCompSetup::placeSchoolBox(const QRect& cellInViewport) {
    const QPoint topLeft = DBGrid1->viewport()->mapTo(this, cellInViewport.topLeft());
    const QRect where(topLeft, cellInViewport.size());
    if (DBEdit1->geometry() != where)
        DBEdit1->setGeometry(where);
    if (!DBEdit1->isVisible()) {
        DBEdit1->show();
        DBEdit1->raise();
    }
}

void TCompSetup::DBGrid1DrawColumnCell(dbcontrols::DrawColumnCell& cell) {
    if (!cell.focused || cell.column != schoolColumn())
        return;
    const QRect rect = cell.rect();
    // Moving the box while the grid paints would paint the grid again; it moves just after.
    QMetaObject::invokeMethod(
        this,
        [this, rect] {
            // The grid may have left the School column meanwhile.
            if (DBGrid1->currentColumn() == schoolColumn())
                platform::runGuarded([&] { placeSchoolBox(rect); });
        },
        Qt::QueuedConnection);
}

void TCompSetup::DBGrid1ColExit(int column) {
    if (column == schoolColumn())
        DBEdit1->hide();
}

void TCompSetup::DBGrid1KeyPress(QKeyEvent* event, bool& swallow) {
    if (DBGrid1->currentColumn() != schoolColumn() || event->key() == Qt::Key_Tab ||
        event->key() == Qt::Key_Backtab)
        return;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return;
    engine::Table* results = m_state.module().results;
    if (!results->active() || results->rowCount() == 0)
        return;
    swallow = true;
    if (!DBEdit1->isVisible())
        placeSchoolBox(DBGrid1->visualRect(DBGrid1->currentIndex()));
    DBEdit1->setFocus(Qt::OtherFocusReason);
    // The character replaces the school shown, as typing into a grid cell does.
    DBEdit1->selectAll();
    QKeyEvent again(QEvent::KeyPress, event->key(), event->modifiers(), text);
    QCoreApplication::sendEvent(DBEdit1, &again);
}

void TCompSetup::DBEdit1KeyUp(QKeyEvent* event) {
    if (!completesAfterKey(event->key()))
        return;
    const std::optional<BoxText> completed =
        completeSchool(m_schools, DBEdit1->text(), DBEdit1->cursorPosition());
    if (!completed)
        return;
    DBEdit1->setText(completed->text);
    // Set by program, the text still has to reach the field like typed text.
    DBEdit1->setModified(true);
    DBEdit1->setSelection(completed->caret, completed->selectionLength);
}

void TCompSetup::DBEdit1Exit() {
    m_schools.add(DBEdit1->text());
}

bool TCompSetup::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBEdit1) {
        if (event->type() == QEvent::KeyRelease) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat())
                platform::runGuarded([&] { DBEdit1KeyUp(key); });
        } else if (event->type() == QEvent::FocusOut) {
            platform::runGuarded([this] { DBEdit1Exit(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace jt::setup
