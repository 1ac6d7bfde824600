#pragma once

#include <QDialog>

class QBoxLayout;
class QLabel;
class QPushButton;

namespace jt {
class ProgramState;
}
namespace jt::dbcontrols {
class DBNavigator;
}
namespace jt::engine {
class DataSource;
class Table;
} // namespace jt::engine

namespace jt::marks {

// What the marks windows share. Each is built once and opened modally over the results
// table. Opening runs the window's FormShow and FormActivate before anything shows: when
// they fail (the table is held for sole use elsewhere, say) the error is shown and the
// window does not open. The controls are bound to the table only while the window is
// open. Every way of closing (Exit, Escape, the close control) runs FormClose, which can
// keep the window open when a mark cannot be saved. While open, the window is the one
// the change log names for what is posted.
class MarksWindow : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MarksWindow)

public:
    ~MarksWindow() override;

    int exec() override;
    void setVisible(bool visible) override;
    void done(int result) override;
    // True from a successful opening until the window has closed.
    bool isOpen() const { return m_open; }

protected:
    MarksWindow(ProgramState& state, QWidget* parent, bool maximised);

    virtual void FormShow() {}
    // Throws when the window cannot open.
    virtual void FormActivate() = 0;
    // False keeps the window open (the reason has been shown).
    virtual bool FormClose() = 0;
    // Binds the window's controls to the source, or unbinds them (nullptr).
    virtual void bindControls(engine::DataSource* source) = 0;

    void closeEvent(QCloseEvent* event) override;

    engine::Table& results() const;
    engine::DataSource* resultsSource() const;
    // Closes and opens the results table so the window shows it as stored, then binds
    // the controls.
    void reopenResults();

    // The bar the marks windows open with, added to `layout`: a navigator (First, Prior,
    // Next, Last, Post, Cancel), "Exit", "Current Order:" and the order button, "As Danced".
    struct OrderBar {
        dbcontrols::DBNavigator* navigator;
        QPushButton* exit;
        QLabel* orderLabel;
        QPushButton* order;
    };
    OrderBar addOrderBar(QBoxLayout* layout);
    // The parts of the bar along the top and the panel along the bottom.
    QPushButton* makeButton(const QString& caption, const QString& objectName);
    static QLabel* makeOrderLabel(QWidget* parent);
    static QLabel* makeNamePanel(QWidget* parent);
    // Sets the order button and the table to "As Danced" (true) or "As Entered".
    static void showOrder(QPushButton* button, engine::Table& results, bool asDanced);
    // The order button's click: saves a mark still being edited, then switches. False
    // when the mark could not be saved (shown).
    static bool toggleOrder(QPushButton* button, engine::Table& results);
    static bool asDanced(const QPushButton* button);

    ProgramState& m_state;

private:
    bool openWindow();
    bool finish();

    bool m_maximised;
    bool m_open = false;
    bool m_opening = false;
    // The posting window named before this one opened, named again when it closes.
    QString m_previousPostingWindow;
};

} // namespace jt::marks
