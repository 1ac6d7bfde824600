#pragma once

#include "exchange/ExchangeSpecs.h"
#include "exchange/ExportRows.h"
#include "exchange/SpecStore.h"

#include <QWizard>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;

namespace jt::engine {
class Table;
}

namespace jt::wizards {

// The general export wizard: the target format, then the file and the few choices
// the user has (the row of field names, the delimiter of plain text). How values are
// written is fixed by the settings the window hands in. Widgets carry object names so
// tests can fill them in.
class ExportWizard final : public QWizard {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExportWizard)

public:
    enum PageId { FormatPage, FilePage };

    // Exports every record of the open table, in its current order, for the columns
    // given. defaultFileName is a name without folder or extension ("U12"); the file
    // goes into defaultFolder unless the user chooses another.
    ExportWizard(engine::Table& table, QList<exchange::ExportColumn> columns,
                 const QString& defaultFileName, QWidget* parent = nullptr,
                 const QString& defaultFolder = {}, const QString& specFolder = {});
    ~ExportWizard() override;

    exchange::ExportSettings settings() const { return m_settings; }
    void setSettings(const exchange::ExportSettings& settings) { m_settings = settings; }
    exchange::ExportSpec spec() const;
    void applySpec(const exchange::ExportSpec& spec);
    // How the last export ended (after Finish).
    const exchange::ExportResult& result() const { return m_result; }

    bool runExport();
    void saveSpec();
    void loadSpec();
    void deleteSpec();

private:
    QWizardPage* makeFormatPage();
    QWizardPage* makeFilePage();
    exchange::TargetFormat format() const;
    void formatChanged();
    void refreshSpecs();

    engine::Table& m_table;
    QList<exchange::ExportColumn> m_columns;
    QString m_defaultName;
    QString m_defaultFolder;
    exchange::ExportSettings m_settings;
    exchange::SpecStore m_store;
    exchange::ExportResult m_result;

    QListWidget* m_formats = nullptr;
    QComboBox* m_specs = nullptr;
    QLineEdit* m_file = nullptr;
    QCheckBox* m_fieldNames = nullptr;
    QComboBox* m_delimiter = nullptr;
};

} // namespace jt::wizards
