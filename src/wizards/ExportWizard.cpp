#include "ExportWizard.h"

#include "ProfileList.h"
#include "StepPage.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace jt::wizards {

using namespace exchange;

namespace {

const QString kTitle = QStringLiteral("Export Wizard");

void showError(const QString& text) {
    platform::dialogs().message(platform::MessageType::Error, kTitle, text, platform::Cancel);
}

QString settingsText(const ExportSettings& s) {
    return QStringLiteral("Records end with CR LF; text files are written in %1. Dates are "
                          "written as %2, times with \"%3\", numbers with \"%4\" as the decimal "
                          "point and \"%5\" between thousands, amounts with \"%6\"; truth values "
                          "as \"%7\" and \"%8\". Zeros are written as numbers.")
        .arg(s.encoding, s.dateFormat.toLower(), QString(s.timeSeparator),
             QString(s.decimalSeparator), QString(s.thousandSeparator), s.currencySymbol,
             s.trueText, s.falseText);
}

} // namespace

ExportWizard::ExportWizard(engine::Table& table, QList<ExportColumn> columns,
                           const QString& defaultFileName, QWidget* parent,
                           const QString& defaultFolder, const QString& profileFolder)
    : QWizard(parent), m_table(table), m_columns(std::move(columns)),
      m_defaultName(defaultFileName.isEmpty() ? QStringLiteral("export") : defaultFileName),
      m_defaultFolder(defaultFolder.isEmpty()
                          ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                          : defaultFolder),
      m_store(QStringLiteral("export"), profileFolder) {
    setObjectName(QStringLiteral("ExportWizard"));
    setWindowTitle(kTitle);
    setWizardStyle(QWizard::ClassicStyle);
    m_settings.tableName = m_defaultName;
    setPage(FormatPage, makeFormatPage());
    setPage(FilePage, makeFilePage());
    refreshProfiles();
    formatChanged();
}

ExportWizard::~ExportWizard() = default;

QWizardPage* ExportWizard::makeFormatPage() {
    auto* page = new StepPage;
    page->setObjectName(QStringLiteral("formatPage"));
    page->setTitle(QStringLiteral("Format"));
    page->setSubTitle(QStringLiteral("Choose the format to export to."));
    m_formats = new QListWidget;
    m_formats->setObjectName(QStringLiteral("formatList"));
    for (const TargetFormat f : targetFormats()) {
        auto* item = new QListWidgetItem(targetFormatName(f), m_formats);
        item->setData(Qt::UserRole, int(f));
    }
    m_formats->setCurrentRow(0); // Text
    m_profiles = new QComboBox;
    m_profiles->setObjectName(QStringLiteral("profileBox"));
    auto* load = new QPushButton(QStringLiteral("Load"));
    load->setObjectName(QStringLiteral("loadProfileButton"));
    auto* remove = new QPushButton(QStringLiteral("Delete"));
    remove->setObjectName(QStringLiteral("deleteProfileButton"));
    auto* profileRow = new QHBoxLayout;
    profileRow->addWidget(new QLabel(QStringLiteral("Profile:")));
    profileRow->addWidget(m_profiles, 1);
    profileRow->addWidget(load);
    profileRow->addWidget(remove);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_formats, 1);
    layout->addLayout(profileRow);
    connect(m_formats, &QListWidget::currentRowChanged, this, [this] { formatChanged(); });
    platform::connectGuarded(load, &QPushButton::clicked, this, [this] { loadProfile(); });
    platform::connectGuarded(remove, &QPushButton::clicked, this, [this] { deleteProfile(); });
    return page;
}

QWizardPage* ExportWizard::makeFilePage() {
    auto* page = new StepPage;
    page->setObjectName(QStringLiteral("filePage"));
    page->setTitle(QStringLiteral("Options"));
    page->setSubTitle(QStringLiteral("Where to write, and whether a first row names the columns. "
                                     "Every record is exported."));
    m_file = new QLineEdit;
    m_file->setObjectName(QStringLiteral("fileEdit"));
    auto* browse = new QPushButton(QStringLiteral("Browse..."));
    browse->setObjectName(QStringLiteral("browseButton"));
    m_fieldNames = new QCheckBox(QStringLiteral("add field names"));
    m_fieldNames->setObjectName(QStringLiteral("fieldNamesBox"));
    m_delimiter = new QComboBox;
    m_delimiter->setObjectName(QStringLiteral("delimiterBox"));
    m_delimiter->addItem(QStringLiteral("Tab"), QStringLiteral("\t"));
    m_delimiter->addItem(QStringLiteral("Semicolon"), QStringLiteral(";"));
    m_delimiter->addItem(QStringLiteral("Comma"), QStringLiteral(","));
    m_delimiter->addItem(QStringLiteral("Bar (|)"), QStringLiteral("|"));
    auto* fixed = new QLabel(settingsText(m_settings));
    fixed->setObjectName(QStringLiteral("settingsLabel"));
    fixed->setWordWrap(true);
    auto* save = new QPushButton(QStringLiteral("Save profile..."));
    save->setObjectName(QStringLiteral("saveProfileButton"));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("File:"), fileRow);
    form->addRow(QString(), m_fieldNames);
    form->addRow(QStringLiteral("Delimiter:"), m_delimiter);
    form->addRow(fixed);
    form->addRow(save);

    platform::connectGuarded(browse, &QPushButton::clicked, this, [this] {
        platform::FileDialogOptions o;
        o.title = kTitle;
        o.folder = QFileInfo(m_file->text()).absolutePath();
        o.filter =
            QStringLiteral("%1 (*.%2)").arg(targetFormatName(format()), targetSuffix(format()));
        o.defaultSuffix = targetSuffix(format());
        o.mustExist = false;
        if (const std::optional<QString> path = platform::dialogs().openFileName(o))
            m_file->setText(*path);
    });
    platform::connectGuarded(save, &QPushButton::clicked, this, [this] { saveProfile(); });
    page->onEnter = [this] {
        const bool clipboard = format() == TargetFormat::Clipboard;
        m_file->setEnabled(!clipboard);
        m_delimiter->setEnabled(format() == TargetFormat::Text);
    };
    page->onLeave = [this] { return runExport(); };
    return page;
}

TargetFormat ExportWizard::format() const {
    const QListWidgetItem* item = m_formats->currentItem();
    return item ? TargetFormat(item->data(Qt::UserRole).toInt()) : TargetFormat::Text;
}

void ExportWizard::formatChanged() {
    // The proposed file follows the format until the user names one of their own.
    const QString suffix = targetSuffix(format());
    const QString current = m_file->text();
    const QFileInfo info(current);
    if (current.isEmpty()) {
        m_file->setText(QDir(m_defaultFolder).filePath(m_defaultName + u'.' + suffix));
    } else if (!suffix.isEmpty()) {
        bool known = false;
        for (const TargetFormat f : targetFormats())
            known = known || info.suffix().compare(targetSuffix(f), Qt::CaseInsensitive) == 0;
        if (known)
            m_file->setText(info.dir().filePath(info.completeBaseName() + u'.' + suffix));
    }
}

ExportProfile ExportWizard::profile() const {
    return {format(), m_file->text().trimmed(), m_fieldNames->isChecked(),
            m_delimiter->currentData().toString().front()};
}

void ExportWizard::applyProfile(const ExportProfile& s) {
    for (int r = 0; r < m_formats->count(); ++r)
        if (m_formats->item(r)->data(Qt::UserRole).toInt() == int(s.format))
            m_formats->setCurrentRow(r);
    if (!s.path.isEmpty())
        m_file->setText(s.path);
    m_fieldNames->setChecked(s.fieldNames);
    if (const int i = m_delimiter->findData(QString(s.delimiter)); i >= 0)
        m_delimiter->setCurrentIndex(i);
}

bool ExportWizard::runExport() {
    ExportSettings s = m_settings;
    s.fieldNames = m_fieldNames->isChecked();
    s.delimiter = m_delimiter->currentData().toString().front();
    const TargetFormat f = format();
    try {
        const TableRows rows(m_table, m_columns);
        if (f == TargetFormat::Clipboard) {
            QGuiApplication::clipboard()->setText(clipboardText(rows, s));
            m_result = {true, rows.rowCount(), {}};
        } else {
            const QString path = m_file->text().trimmed();
            if (path.isEmpty()) {
                showError(QStringLiteral("Give the name of the file to export to."));
                return false;
            }
            if (QFileInfo::exists(path) &&
                platform::dialogs().message(platform::MessageType::Confirmation, kTitle,
                                            QStringLiteral("%1 already exists. Replace it?")
                                                .arg(QDir::toNativeSeparators(path)),
                                            platform::Yes | platform::No) != platform::Yes)
                return false;
            m_result = exportFile(f, rows, s, path);
        }
    } catch (const engine::EngineError& e) {
        m_result = {false, 0, e.message()};
    }
    if (!m_result.ok) {
        showError(m_result.error);
        return false;
    }
    platform::dialogs().message(platform::MessageType::Information, kTitle,
                                QStringLiteral("Export Completed: %1 records.").arg(m_result.rows),
                                platform::Ok);
    return true;
}

void ExportWizard::refreshProfiles() {
    refreshProfileList(*m_profiles, m_store);
}

void ExportWizard::saveProfile() {
    saveProfileAs(*m_profiles, m_store, kTitle, QStringLiteral("export"), toJson(profile()));
}

void ExportWizard::loadProfile() {
    QString error;
    const std::optional<QJsonObject> o = chosenProfile(*m_profiles, m_store, &error);
    const std::optional<ExportProfile> s = o ? exportProfileFromJson(*o, &error) : std::nullopt;
    if (!s) {
        if (!error.isEmpty())
            showError(error);
        return;
    }
    applyProfile(*s);
}

void ExportWizard::deleteProfile() {
    deleteChosenProfile(*m_profiles, m_store, kTitle);
}

} // namespace jt::wizards
