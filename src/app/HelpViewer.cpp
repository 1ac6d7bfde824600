#include "HelpViewer.h"

#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/HelpTopic.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace jt::app {

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Jigtally Help"));
    resize(520, 480);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
}

QString HelpViewer::pageFor(int topic) const {
    const QString name =
        topic == 0 ? QStringLiteral("contents.html") : QStringLiteral("topic-%1.html").arg(topic);
    return QDir(m_folder).filePath(name);
}

void HelpViewer::showTopic(int topic) {
    const QString page = pageFor(topic);
    if (!QFileInfo(page).isFile()) {
        platform::dialogs().message(
            platform::MessageType::Warning, platform::kApplicationTitle,
            QStringLiteral("Cannot find the help file %1.").arg(QDir::toNativeSeparators(page)),
            platform::Ok);
        return;
    }
    m_browser->setSearchPaths({m_folder});
    m_browser->setSource(QUrl::fromLocalFile(page));
    // Over a modal window the viewer must be modal too, or it could not be used.
    const Qt::WindowModality modality =
        QApplication::activeModalWidget() && QApplication::activeModalWidget() != this
            ? Qt::ApplicationModal
            : Qt::NonModal;
    if (modality != windowModality()) {
        hide();
        setWindowModality(modality);
    }
    show();
    raise();
    activateWindow();
}

int currentHelpTopic(const QWidget* receiver) {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        for (QMenu* m = menu; m; m = qobject_cast<QMenu*>(m->parentWidget())) {
            if (const QAction* item = m->activeAction(); item && platform::helpTopic(item))
                return platform::helpTopic(item);
            if (platform::helpTopic(m->menuAction()))
                return platform::helpTopic(m->menuAction());
        }
    }
    for (const QWidget* w = receiver ? receiver : QApplication::focusWidget(); w;
         w = w->parentWidget())
        if (platform::helpTopic(w))
            return platform::helpTopic(w);
    for (QWidget* w = QApplication::activeWindow(); w; w = w->parentWidget())
        if (platform::helpTopic(w))
            return platform::helpTopic(w);
    return 0;
}

bool HelpKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            const int topic = currentHelpTopic(static_cast<QWidget*>(watched));
            // The viewer comes up in front, so an open menu goes first.
            while (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
            platform::runGuarded([topic] { platform::showHelp(topic); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace jt::app
