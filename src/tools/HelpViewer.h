#pragma once

// The help window over the help collection compiled from data/help: the
// contents, the keyword index and a full-text search beside the page shown.
// Installed as the process's help handler, it answers ShowHelpTopic.

#include <QMainWindow>
#include <QString>
#include <QUrl>

#include <memory>

class QHelpEngine;
class QTabWidget;
class QTextBrowser;

namespace pipeloop
{

// The collection beside the program: appDir + "/pipeloop.qhc".
QString HelpCollectionPathFor(const QString& appDir);

// The collection to open: a copy of the program's collection, and of the
// help files (.qch) beside it, kept in userFolder. The help engine writes its
// full-text index beside the collection, which an installed program's
// read-only folder would refuse. The copy is made when it is absent and
// renewed whenever one of the program's help files differs from it in size or
// time (a new version installed); when it cannot be made, the program's own
// collection.
QString UserHelpCollection(const QString& programCollection, const QString& userFolder);

class THelpViewer : public QMainWindow
{
    Q_OBJECT

public:
    explicit THelpViewer(const QString& collectionFile, QWidget* parent = nullptr);
    ~THelpViewer() override;

    // Reads the collection; false when it cannot be used, with the reason in
    // error().
    bool open();
    QString error() const;

    // The page whose keyword is the topic; the index, filtered on the topic,
    // when no page carries it (and for the empty topic).
    void showTopic(const QString& topic);

    QUrl currentPage() const;
    QString currentTab() const;
    QTextBrowser* page() const { return m_page; }

private:
    void showPage(const QUrl& url);
    void showIndex(const QString& filter);

    std::unique_ptr<QHelpEngine> m_engine;
    QString m_error;
    QTabWidget* m_tabs = nullptr;
    QTextBrowser* m_page = nullptr;
};

// Installs the help window as the help handler for its own lifetime. The
// window is made on first use; a collection that is missing or cannot be
// read is reported and the window stays closed. With a userFolder, the window
// opens the user's copy of the collection kept there (UserHelpCollection),
// made only when help is first asked for.
class ScopedHelpViewer
{
public:
    explicit ScopedHelpViewer(QString collectionFile, QString userFolder = {});
    ~ScopedHelpViewer();
    ScopedHelpViewer(const ScopedHelpViewer&) = delete;
    ScopedHelpViewer& operator=(const ScopedHelpViewer&) = delete;

    // Null until a topic was shown.
    THelpViewer* window() const { return m_window.get(); }

private:
    void show(const QString& topic);

    QString m_collectionFile;
    QString m_userFolder;
    std::unique_ptr<THelpViewer> m_window;
};

} // namespace pipeloop
