#pragma once

#include <QDialog>
#include <QObject>

class QTextBrowser;
class QWidget;

namespace jt::app {

// The help system: small HTML pages in one folder, "contents.html" and one page per
// topic number ("topic-210.html"). Shown in a browser window of its own.
class HelpViewer final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpViewer)

public:
    explicit HelpViewer(QWidget* parent = nullptr);

    void setHelpFolder(const QString& folder) { m_folder = folder; }
    QString helpFolder() const { return m_folder; }
    // The page of a topic (0: the contents page).
    QString pageFor(int topic) const;
    // Shows the topic; a missing page is reported and nothing else happens.
    void showTopic(int topic);

    QTextBrowser* browser() const { return m_browser; }

private:
    QString m_folder;
    QTextBrowser* m_browser = nullptr;
};

// The help topic for F1 pressed on `receiver` (the control with the keyboard focus):
// the highlighted menu item's (or its menu's) while a menu is open, else the nearest
// topic among the control and its parents, else the active window's.
int currentHelpTopic(const QWidget* receiver);

// Sends F1, wherever it is pressed, to the help viewer.
class HelpKeyFilter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpKeyFilter)

public:
    explicit HelpKeyFilter(QObject* parent = nullptr) : QObject(parent) {}
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace jt::app
