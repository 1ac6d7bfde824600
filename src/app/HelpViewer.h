#pragma once

#include <QDialog>
#include <QObject>

class QTextBrowser;

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

// The help topic for F1 now: the highlighted menu item's (or its menu's), else that of
// the focused control's window or the nearest of its parents that carries one.
int currentHelpTopic();

// Sends F1, wherever it is pressed, to the help viewer.
class HelpKeyFilter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpKeyFilter)

public:
    explicit HelpKeyFilter(QObject* parent = nullptr) : QObject(parent) {}
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace jt::app
