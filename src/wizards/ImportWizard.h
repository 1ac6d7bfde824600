#pragma once

#include "exchange/ExchangeProfiles.h"
#include "exchange/ProfileStore.h"
#include "exchange/RecordImport.h"
#include "exchange/Sheet.h"

#include <QWizard>

#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace jt::engine {
class Table;
}

namespace jt::wizards {

// The general import wizard: file and format, the text layout with a preview, the
// mapping of source columns to the table's fields with the import mode, and the run
// with its progress. The pages only gather choices; reading, mapping and storing are
// the exchange library's. Widgets carry object names so tests can fill them in.
class ImportWizard final : public QWizard {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ImportWizard)

public:
    enum PageId { SourcePage, OptionsPage, MappingPage, RunPage };

    // The table must be open; presets name source columns for fields ("NO" -> COMP_NO).
    ImportWizard(engine::Table& table, exchange::MappingPresets presets, QWidget* parent = nullptr,
                 const QString& profileFolder = {});
    ~ImportWizard() override;

    // What the pages say now.
    exchange::ImportProfile profile() const;
    // Puts a profile into the pages (a loaded one).
    void applyProfile(const exchange::ImportProfile& profile);
    const std::optional<exchange::Sheet>& sheet() const { return m_sheet; }
    const exchange::MappingPresets& presets() const { return m_presets; }
    engine::Table& table() const { return m_table; }
    // How the last run ended (after Finish).
    const exchange::RecordImportResult& result() const { return m_result; }

    // Page steps, public for the pages and the tests.
    bool readSource();  // reads the file or clipboard; says why not
    void fillPreview(); // re-reads delimited text with the current options
    void fillMapping();
    bool runImport();
    void saveProfile();
    void loadProfile();
    void deleteProfile();
    void fileChosen();

private:
    QWizardPage* makeSourcePage();
    QWizardPage* makeOptionsPage();
    QWizardPage* makeMappingPage();
    QWizardPage* makeRunPage();
    void refreshProfiles();
    exchange::SourceOptions sourceOptions() const;
    void setSourceOptions(const exchange::SourceOptions& options);
    QList<exchange::FieldMap> mapping() const;

    engine::Table& m_table;
    exchange::MappingPresets m_presets;
    exchange::ProfileStore m_store;
    std::optional<exchange::Sheet> m_sheet;
    QList<exchange::FieldMap> m_pendingMapping; // from a loaded profile
    exchange::RecordImportResult m_result;
    bool m_stop = false;
    bool m_running = false;

    QLineEdit* m_file = nullptr;
    QComboBox* m_format = nullptr;
    QComboBox* m_profiles = nullptr;
    QComboBox* m_delimiter = nullptr;
    QComboBox* m_quote = nullptr;
    QComboBox* m_encoding = nullptr;
    QCheckBox* m_heading = nullptr;
    QTableWidget* m_preview = nullptr;
    QTableWidget* m_mapping = nullptr;
    QRadioButton* m_append = nullptr;
    QRadioButton* m_replace = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_stopButton = nullptr;
};

} // namespace jt::wizards
