#pragma once

#include "exchange/ExchangeProfiles.h"
#include "exchange/ExportRows.h"
#include "exchange/ProfileStore.h"

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
                 const QString& defaultFolder = {}, const QString& profileFolder = {});
    ~ExportWizard() override;

    exchange::ExportSettings settings() const { return m_settings; }
    void setSettings(const exchange::ExportSettings& settings) { m_settings = settings; }
    exchange::ExportProfile profile() const;
    void applyProfile(const exchange::ExportProfile& profile);
    // How the last export ended (after Finish).
    const exchange::ExportResult& result() const { return m_result; }

    bool runExport();
    void saveProfile();
    void loadProfile();
    void deleteProfile();

private:
    QWizardPage* makeFormatPage();
    QWizardPage* makeFilePage();
    exchange::TargetFormat format() const;
    void formatChanged();
    void refreshProfiles();

    engine::Table& m_table;
    QList<exchange::ExportColumn> m_columns;
    QString m_defaultName;
    QString m_defaultFolder;
    exchange::ExportSettings m_settings;
    exchange::ProfileStore m_store;
    exchange::ExportResult m_result;

    QListWidget* m_formats = nullptr;
    QComboBox* m_profiles = nullptr;
    QLineEdit* m_file = nullptr;
    QCheckBox* m_fieldNames = nullptr;
    QComboBox* m_delimiter = nullptr;
};

} // namespace jt::wizards
