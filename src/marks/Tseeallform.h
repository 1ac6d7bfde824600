#pragma once

#include "MarksWindow.h"

#include <QList>
#include <QString>

class QPushButton;

namespace jt::dbcontrols {
class DBGrid;
class DBNavigator;
} // namespace jt::dbcontrols

namespace jt::marks {

// One column handed to the export wizard: the field and the title it carries.
struct ExportColumn {
    QString field;
    QString title;
    bool operator==(const ExportColumn&) const = default;
};

// How the SeeAll Spreadsheet sets the export wizard up: the grid's columns in the grid's
// order with its titles, every record, the display name as the file name.
struct ExportSetup {
    QString title = QStringLiteral("Export Wizard");
    QList<ExportColumn> columns;
    QString defaultFileName;
    bool allRecords = true;
};

// SeeAll Spreadsheet: every stored field of every dancer (but the two never used) in one
// editable grid, in the table's current order, with the export wizard. Created once at
// start-up and shown modally, maximised; it shows no tool tips. Alt+X is Exit.
class Tseeallform final : public MarksWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tseeallform)

public:
    explicit Tseeallform(ProgramState& state, QWidget* parent = nullptr);
    ~Tseeallform() override;

    dbcontrols::DBNavigator* DBNavigator1 = nullptr;
    QPushButton* Button1 = nullptr; // "Export Wizard"
    QPushButton* Button2 = nullptr; // "Exit"
    dbcontrols::DBGrid* DBGrid1 = nullptr;

    // What the export wizard is given; the file name is set at each opening.
    ExportSetup exportSetup() const;

    void Button1Click();
    void Button2Click();

protected:
    void FormActivate() override;
    bool FormClose() override;
    void bindControls(engine::DataSource* source) override;

private:
    QString m_exportFileName;
};

// The program's instance (set while one exists).
extern Tseeallform* seeallform;

} // namespace jt::marks
