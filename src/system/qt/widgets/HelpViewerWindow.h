#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

class QAction;
class QTextBrowser;

// The help viewer's window: a page browser with Back, Forward and Home. It
// shows one help document at a time, from its start page, or a page saying
// that the document could not be found.
class HelpViewerWindow : public QWidget {
    Q_OBJECT

public:
    static const QString Caption;

    explicit HelpViewerWindow(QWidget* parent = nullptr);

    // Shows `document` (a local file) from its start, forgetting the pages
    // visited before.
    void showDocument(const QString& document);
    // Shows the not-found page for `helpFile`, listing the places looked at.
    void showNotFound(const QString& helpFile, const QStringList& lookedAt);
    // The document shown by the last showDocument(); empty after showNotFound().
    QString document() const { return m_document; }
    // Shows the window, restored from the task bar if minimised, and puts it
    // in front.
    void bringToFront();

private:
    void goHome();

    QTextBrowser* m_browser;
    QAction* m_back;
    QAction* m_forward;
    QAction* m_home;
    QString m_document;
    QUrl m_homeUrl;
};
