#include "ImportWizard.h"

#include "ProfileList.h"
#include "StepPage.h"
#include "engine/Table.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace jt::wizards {

using namespace exchange;

namespace {

const QString kTitle = QStringLiteral("Import Wizard");
constexpr int kPreviewRows = 20;

struct Choice {
    const char* label;
    char16_t value;
};
constexpr Choice kDelimiters[] = {
    {"Comma", u','}, {"Semicolon", u';'}, {"Tab", u'\t'}, {"Space", u' '}, {"Bar (|)", u'|'}};
constexpr Choice kQuotes[] = {
    {"Double quote (\")", u'"'}, {"Single quote (')", u'\''}, {"None", 0}};

void selectData(QComboBox* box, const QVariant& value) {
    const int i = box->findData(value);
    if (i >= 0)
        box->setCurrentIndex(i);
}

void showError(const QString& text) {
    platform::dialogs().message(platform::MessageType::Error, kTitle, text, platform::Cancel);
}

} // namespace

ImportWizard::ImportWizard(engine::Table& table, MappingPresets presets, QWidget* parent,
                           const QString& profileFolder)
    : QWizard(parent), m_table(table), m_presets(std::move(presets)),
      m_store(QStringLiteral("import"), profileFolder) {
    setObjectName(QStringLiteral("ImportWizard"));
    setWindowTitle(kTitle);
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnLastPage, true);
    setPage(SourcePage, makeSourcePage());
    setPage(OptionsPage, makeOptionsPage());
    setPage(MappingPage, makeMappingPage());
    setPage(RunPage, makeRunPage());
    refreshProfiles();
}

ImportWizard::~ImportWizard() = default;

QWizardPage* ImportWizard::makeSourcePage() {
    auto* page = new StepPage;
    page->setObjectName(QStringLiteral("sourcePage"));
    page->setTitle(QStringLiteral("Source"));
    page->setSubTitle(QStringLiteral("Choose the file to import and its format."));
    m_file = new QLineEdit;
    m_file->setObjectName(QStringLiteral("fileEdit"));
    auto* browse = new QPushButton(QStringLiteral("Browse..."));
    browse->setObjectName(QStringLiteral("browseButton"));
    m_format = new QComboBox;
    m_format->setObjectName(QStringLiteral("formatBox"));
    for (const SourceFormat f : sourceFormats())
        m_format->addItem(sourceFormatName(f), int(f));
    m_profiles = new QComboBox;
    m_profiles->setObjectName(QStringLiteral("profileBox"));
    auto* load = new QPushButton(QStringLiteral("Load"));
    load->setObjectName(QStringLiteral("loadProfileButton"));
    auto* remove = new QPushButton(QStringLiteral("Delete"));
    remove->setObjectName(QStringLiteral("deleteProfileButton"));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);
    auto* profileRow = new QHBoxLayout;
    profileRow->addWidget(m_profiles, 1);
    profileRow->addWidget(load);
    profileRow->addWidget(remove);
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("File:"), fileRow);
    form->addRow(QStringLiteral("Format:"), m_format);
    form->addRow(QStringLiteral("Profile:"), profileRow);

    platform::connectGuarded(browse, &QPushButton::clicked, this, [this] {
        platform::FileDialogOptions o;
        o.title = kTitle;
        o.folder = QFileInfo(m_file->text()).absolutePath();
        o.filter = sourceFilter();
        if (const std::optional<QString> path = platform::dialogs().openFileName(o)) {
            m_file->setText(*path);
            fileChosen();
        }
    });
    platform::connectGuarded(m_file, &QLineEdit::editingFinished, this, [this] { fileChosen(); });
    platform::connectGuarded(load, &QPushButton::clicked, this, [this] { loadProfile(); });
    platform::connectGuarded(remove, &QPushButton::clicked, this, [this] { deleteProfile(); });
    connect(m_format, &QComboBox::currentIndexChanged, this, [this] {
        m_file->setEnabled(SourceFormat(m_format->currentData().toInt()) !=
                           SourceFormat::Clipboard);
    });
    page->onLeave = [this] { return readSource(); };
    return page;
}

QWizardPage* ImportWizard::makeOptionsPage() {
    auto* page = new StepPage;
    page->setObjectName(QStringLiteral("optionsPage"));
    page->setTitle(QStringLiteral("Layout"));
    page->setSubTitle(
        QStringLiteral("How the text is laid out, and the first rows as they will be read."));
    m_delimiter = new QComboBox;
    m_delimiter->setObjectName(QStringLiteral("delimiterBox"));
    for (const Choice& c : kDelimiters)
        m_delimiter->addItem(QString::fromLatin1(c.label), QString(QChar(c.value)));
    m_quote = new QComboBox;
    m_quote->setObjectName(QStringLiteral("quoteBox"));
    for (const Choice& c : kQuotes)
        m_quote->addItem(QString::fromLatin1(c.label),
                         c.value ? QString(QChar(c.value)) : QString());
    m_encoding = new QComboBox;
    m_encoding->setObjectName(QStringLiteral("encodingBox"));
    m_encoding->addItems(textEncodings());
    m_heading = new QCheckBox(QStringLiteral("The first row holds the column names"));
    m_heading->setObjectName(QStringLiteral("headingBox"));
    m_heading->setChecked(true);
    m_preview = new QTableWidget;
    m_preview->setObjectName(QStringLiteral("previewTable"));
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Delimiter:"), m_delimiter);
    form->addRow(QStringLiteral("Quote:"), m_quote);
    form->addRow(QStringLiteral("Character set:"), m_encoding);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(m_heading);
    layout->addWidget(m_preview, 1);

    for (QComboBox* box : {m_delimiter, m_quote, m_encoding})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (currentId() == OptionsPage)
                platform::runGuarded([this] { fillPreview(); });
        });
    connect(m_heading, &QCheckBox::toggled, this, [this] {
        if (currentId() == OptionsPage)
            platform::runGuarded([this] { fillPreview(); });
    });
    page->onEnter = [this] {
        const SourceFormat f = SourceFormat(m_format->currentData().toInt());
        const bool text = f == SourceFormat::Delimited || f == SourceFormat::Clipboard;
        for (QComboBox* box : {m_delimiter, m_quote, m_encoding})
            box->setEnabled(text);
        m_encoding->setEnabled(f == SourceFormat::Delimited);
        fillPreview();
    };
    page->onLeave = [this] {
        if (!m_sheet || m_sheet->rowCount() <= (m_heading->isChecked() ? 1 : 0)) {
            showError(QStringLiteral("There are no rows to import."));
            return false;
        }
        return true;
    };
    return page;
}

QWizardPage* ImportWizard::makeMappingPage() {
    auto* page = new StepPage;
    page->setObjectName(QStringLiteral("mappingPage"));
    page->setTitle(QStringLiteral("Mapping"));
    page->setSubTitle(
        QStringLiteral("Which source column fills which field, and how the records are added."));
    m_mapping = new QTableWidget(0, 2);
    m_mapping->setObjectName(QStringLiteral("mappingTable"));
    m_mapping->setHorizontalHeaderLabels(
        {QStringLiteral("Field"), QStringLiteral("Source column")});
    m_mapping->horizontalHeader()->setStretchLastSection(true);
    m_mapping->verticalHeader()->hide();
    auto* numbers = new QLabel(QStringLiteral(
        "Numbers are read with \".\" as the decimal point and \",\" as the thousands separator."));
    numbers->setObjectName(QStringLiteral("numberFormatLabel"));
    m_append = new QRadioButton(QStringLiteral("Append to the records already there"));
    m_append->setObjectName(QStringLiteral("appendButton"));
    m_append->setChecked(true);
    m_replace =
        new QRadioButton(QStringLiteral("Replace all records (every record is deleted first)"));
    m_replace->setObjectName(QStringLiteral("replaceButton"));
    auto* save = new QPushButton(QStringLiteral("Save profile..."));
    save->setObjectName(QStringLiteral("saveProfileButton"));
    auto* mode = new QGroupBox(QStringLiteral("Import mode"));
    auto* modeLayout = new QVBoxLayout(mode);
    modeLayout->addWidget(m_append);
    modeLayout->addWidget(m_replace);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_mapping, 1);
    layout->addWidget(numbers);
    layout->addWidget(mode);
    layout->addWidget(save, 0, Qt::AlignLeft);
    platform::connectGuarded(save, &QPushButton::clicked, this, [this] { saveProfile(); });
    page->onEnter = [this] { fillMapping(); };
    page->onLeave = [this] {
        for (const FieldMap& m : mapping())
            if (m.column >= 0)
                return true;
        showError(QStringLiteral("Map at least one source column to a field."));
        return false;
    };
    return page;
}

QWizardPage* ImportWizard::makeRunPage() {
    auto* page = new StepPage;
    page->setObjectName(QStringLiteral("runPage"));
    page->setTitle(QStringLiteral("Import"));
    page->setSubTitle(QStringLiteral("Press Finish to import. Stop ends the import; the records "
                                     "stored until then stay."));
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_stopButton = new QPushButton(QStringLiteral("Stop"));
    m_stopButton->setObjectName(QStringLiteral("stopButton"));
    m_stopButton->setEnabled(false);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_progress);
    layout->addWidget(m_stopButton, 0, Qt::AlignLeft);
    layout->addStretch(1);
    connect(m_stopButton, &QPushButton::clicked, this, [this] { m_stop = true; });
    page->onEnter = [this] { m_progress->setValue(0); };
    page->onLeave = [this] { return runImport(); };
    return page;
}

SourceOptions ImportWizard::sourceOptions() const {
    SourceOptions o;
    o.format = SourceFormat(m_format->currentData().toInt());
    o.text.delimiter = m_delimiter->currentData().toString().front();
    const QString quote = m_quote->currentData().toString();
    o.text.quote = quote.isEmpty() ? QChar() : quote.front();
    o.text.encoding = m_encoding->currentText();
    return o;
}

void ImportWizard::setSourceOptions(const SourceOptions& o) {
    const QSignalBlocker b1(m_delimiter), b2(m_quote), b3(m_encoding);
    selectData(m_format, int(o.format));
    selectData(m_delimiter, QString(o.text.delimiter));
    selectData(m_quote, o.text.quote.isNull() ? QString() : QString(o.text.quote));
    m_encoding->setCurrentText(o.text.encoding);
}

void ImportWizard::fileChosen() {
    const QString path = m_file->text().trimmed();
    if (path.isEmpty())
        return;
    if (const std::optional<SourceFormat> f = detectSourceFormat(path))
        selectData(m_format, int(*f));
}

bool ImportWizard::readSource() {
    const SourceOptions o = sourceOptions();
    SheetResult r;
    if (o.format == SourceFormat::Clipboard) {
        const QString text = QGuiApplication::clipboard()->text();
        if (text.isEmpty()) {
            showError(QStringLiteral("The clipboard holds no text to import."));
            return false;
        }
        SourceOptions guessed = o;
        guessed.text.delimiter = guessDelimiter(text);
        setSourceOptions(guessed);
        r = readSourceText(text, guessed);
    } else {
        const QString path = m_file->text().trimmed();
        if (path.isEmpty()) {
            showError(QStringLiteral("Choose a file to import."));
            return false;
        }
        if (o.format == SourceFormat::Delimited) {
            // The delimiter is guessed from the text the first time round.
            SourceOptions guessed = o;
            QFile f(path);
            if (f.open(QIODevice::ReadOnly))
                if (const std::optional<QString> head = decodeText(f.read(65536), o.text.encoding))
                    guessed.text.delimiter = guessDelimiter(*head);
            setSourceOptions(guessed);
        }
        r = ::jt::exchange::readSource(path, sourceOptions());
    }
    if (!r.sheet) {
        showError(r.error);
        m_sheet.reset();
        return false;
    }
    m_sheet = std::move(r.sheet);
    return true;
}

void ImportWizard::fillPreview() {
    const SourceOptions o = sourceOptions();
    if (o.format == SourceFormat::Delimited || o.format == SourceFormat::Clipboard) {
        const SheetResult r = o.format == SourceFormat::Clipboard
                                  ? readSourceText(QGuiApplication::clipboard()->text(), o)
                                  : ::jt::exchange::readSource(m_file->text().trimmed(), o);
        if (r.sheet)
            m_sheet = r.sheet;
        else
            m_sheet.reset();
    }
    m_preview->clear();
    if (!m_sheet) {
        m_preview->setRowCount(0);
        m_preview->setColumnCount(0);
        return;
    }
    const bool heading = m_heading->isChecked();
    const QStringList columns = sourceColumns(*m_sheet, heading);
    const int first = heading ? 1 : 0;
    const int rows = std::max(0, std::min(kPreviewRows, m_sheet->rowCount() - first));
    m_preview->setColumnCount(int(columns.size()));
    m_preview->setRowCount(rows);
    m_preview->setHorizontalHeaderLabels(columns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns.size(); ++c) {
            const QVariant v = m_sheet->cell(first + r, c);
            m_preview->setItem(r, c,
                               new QTableWidgetItem(v.typeId() == QMetaType::Double
                                                        ? engine::plainText(v)
                                                        : v.toString()));
        }
}

void ImportWizard::fillMapping() {
    const QStringList columns =
        m_sheet ? sourceColumns(*m_sheet, m_heading->isChecked()) : QStringList();
    QStringList fields;
    for (int i = 0; i < m_table.fieldCount(); ++i)
        if (!m_table.fieldAt(i)->isCalculated())
            fields.append(m_table.fieldAt(i)->fieldName());
    QList<FieldMap> preset = presetMapping(fields, columns, m_presets);
    if (!m_pendingMapping.isEmpty()) {
        for (FieldMap& m : preset)
            for (const FieldMap& saved : std::as_const(m_pendingMapping))
                if (saved.field == m.field)
                    m.column = saved.column < columns.size() ? saved.column : -1;
        m_pendingMapping.clear();
    }
    m_mapping->setRowCount(int(fields.size()));
    for (int r = 0; r < preset.size(); ++r) {
        auto* name = new QTableWidgetItem(preset[r].field);
        name->setFlags(Qt::ItemIsEnabled);
        m_mapping->setItem(r, 0, name);
        auto* box = new QComboBox;
        box->setObjectName(QStringLiteral("map_") + preset[r].field);
        box->addItem(QStringLiteral("(none)"), -1);
        for (int c = 0; c < columns.size(); ++c)
            box->addItem(columns[c], c);
        selectData(box, preset[r].column);
        m_mapping->setCellWidget(r, 1, box);
    }
}

QList<FieldMap> ImportWizard::mapping() const {
    QList<FieldMap> out;
    for (int r = 0; r < m_mapping->rowCount(); ++r) {
        const auto* box = qobject_cast<QComboBox*>(m_mapping->cellWidget(r, 1));
        out.append({m_mapping->item(r, 0)->text(), box ? box->currentData().toInt() : -1});
    }
    return out;
}

ImportProfile ImportWizard::profile() const {
    ImportProfile s;
    s.path = m_file->text().trimmed();
    s.source = sourceOptions();
    s.headingRow = m_heading->isChecked();
    s.mapping = mapping();
    s.mode = m_replace->isChecked() ? ImportMode::Overwrite : ImportMode::Append;
    return s;
}

void ImportWizard::applyProfile(const ImportProfile& s) {
    m_file->setText(s.path);
    setSourceOptions(s.source);
    m_heading->setChecked(s.headingRow);
    (s.mode == ImportMode::Overwrite ? m_replace : m_append)->setChecked(true);
    m_pendingMapping = s.mapping;
}

bool ImportWizard::runImport() {
    if (m_running || !m_sheet)
        return false;
    m_running = true;
    m_stop = false;
    m_stopButton->setEnabled(true);
    button(QWizard::FinishButton)->setEnabled(false);
    button(QWizard::CancelButton)->setEnabled(false);
    m_result = importRecords(*m_sheet, m_heading->isChecked() ? 1 : 0, mapping(), m_table,
                             m_replace->isChecked() ? ImportMode::Overwrite : ImportMode::Append,
                             [this](int done, int total) {
                                 m_progress->setMaximum(total);
                                 m_progress->setValue(done);
                                 // Lets the Stop button be pressed while rows are stored.
                                 QCoreApplication::processEvents();
                                 return !m_stop;
                             });
    m_running = false;
    m_stopButton->setEnabled(false);
    button(QWizard::FinishButton)->setEnabled(true);
    button(QWizard::CancelButton)->setEnabled(true);
    if (!m_result.error.isEmpty())
        showError(m_result.error);
    else if (m_result.cancelled)
        platform::dialogs().message(
            platform::MessageType::Information, kTitle,
            QStringLiteral("The import was stopped. Rows stored: %1.").arg(m_result.stored),
            platform::Ok);
    else
        platform::dialogs().message(platform::MessageType::Information, kTitle,
                                    QStringLiteral("Import Completed"), platform::Ok);
    return true;
}

void ImportWizard::refreshProfiles() {
    refreshProfileList(*m_profiles, m_store);
}

void ImportWizard::saveProfile() {
    saveProfileAs(*m_profiles, m_store, kTitle, QStringLiteral("import"), toJson(profile()));
}

void ImportWizard::loadProfile() {
    QString error;
    const std::optional<QJsonObject> o = chosenProfile(*m_profiles, m_store, &error);
    const std::optional<ImportProfile> s = o ? importProfileFromJson(*o, &error) : std::nullopt;
    if (!s) {
        if (!error.isEmpty())
            showError(error);
        return;
    }
    applyProfile(*s);
}

void ImportWizard::deleteProfile() {
    deleteChosenProfile(*m_profiles, m_store, kTitle);
}

} // namespace jt::wizards
