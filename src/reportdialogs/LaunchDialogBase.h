#pragma once

#include "reports/ReportDialogs.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QVBoxLayout;

namespace jt::reports {

// The look the report launch dialogs share: the two lines of text, "Preview"
// (Button1), which runs the report's procedure and then closes the dialog, and
// "Cancel" (Button3), which closes it. Dialogs with more controls add them to extras().
class LaunchDialogBase : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LaunchDialogBase)

public:
    LaunchDialogBase(LaunchDialog dialog, const QString& objectName, const QStringList& lines,
                     QWidget* parent);
    ~LaunchDialogBase() override;

    // The procedure "Preview" runs while the dialog is showing.
    void setPreview(std::function<void()> preview) { m_preview = std::move(preview); }
    void Button1Click();

    QPushButton* Button1 = nullptr;
    QPushButton* Button3 = nullptr;

protected:
    QVBoxLayout* extras() const { return m_extras; }

private:
    std::function<void()> m_preview;
    QVBoxLayout* m_extras = nullptr;
};

} // namespace jt::reports
