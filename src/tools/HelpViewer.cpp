#include "HelpViewer.h"

#include "HelpTopics.h"
#include "UiServices.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

namespace pipeloop
{

namespace
{

const QString ContentsTab = QStringLiteral("Contents");
const QString IndexTab = QStringLiteral("Index");
const QString SearchTab = QStringLiteral("Search");

// A page browser that reads the pages and their pictures from the collection
// and hands links outside it to the desktop.
class HelpPageBrowser : public QTextBrowser
{
public:
    HelpPageBrowser(QHelpEngine& engine, QWidget* parent) : QTextBrowser(parent), m_engine(engine)
    {
        setOpenLinks(false);
        connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
            if (url.scheme() == QLatin1String("qthelp") || url.isRelative())
                setSource(source().resolved(url));
            else
                QDesktopServices::openUrl(url);
        });
    }

    QVariant loadResource(int type, const QUrl& url) override
    {
        if (url.scheme() == QLatin1String("qthelp"))
            return m_engine.fileData(url);
        return QTextBrowser::loadResource(type, url);
    }

private:
    QHelpEngine& m_engine;
};

bool SameFile(const QFileInfo& original, const QFileInfo& copy)
{
    return copy.exists() && copy.size() == original.size() &&
           copy.lastModified() == original.lastModified();
}

// Copies the file under a temporary name first and gives the copy the
// original's time, so that a copy cut short is never taken for a whole one.
// The name is the process's own: two programs started together do not
// write into one file.
bool CopyKeepingTime(const QFileInfo& original, const QString& target)
{
    const QString partial =
        target + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    QFile::remove(partial);
    if (!QFile::copy(original.absoluteFilePath(), partial))
        return false;
    QFile copy(partial);
    const bool timed = copy.open(QIODevice::ReadWrite) &&
                       copy.setFileTime(original.lastModified(), QFileDevice::FileModificationTime);
    copy.close();
    if (timed && (!QFile::exists(target) || QFile::remove(target)) &&
        QFile::rename(partial, target))
        return true;
    QFile::remove(partial);
    return false;
}

} // namespace

QString HelpCollectionPathFor(const QString& appDir)
{
    return QDir(appDir).filePath(QStringLiteral("pipeloop.qhc"));
}

QString UserHelpCollection(const QString& programCollection, const QString& userFolder)
{
    const QFileInfo collection(programCollection);
    if (!collection.exists() || userFolder.isEmpty() || !QDir().mkpath(userFolder))
        return programCollection;
    const QDir target(userFolder);
    const QString userCollection = target.filePath(collection.fileName());
    // The help files hold the pages and change with every version. The
    // collection only lists them, and the help engine writes to it whenever
    // it opens it, so only its presence counts.
    QFileInfoList files = collection.dir().entryInfoList({QStringLiteral("*.qch")}, QDir::Files);
    const bool current = QFileInfo::exists(userCollection) &&
                         std::all_of(files.cbegin(), files.cend(), [&](const QFileInfo& file) {
                             return SameFile(file, QFileInfo(target.filePath(file.fileName())));
                         });
    if (current)
        return userCollection;
    // The collection last: its presence marks a complete copy.
    files.append(collection);
    for (const QFileInfo& file : files) {
        if (!CopyKeepingTime(file, target.filePath(file.fileName())))
            return programCollection;
    }
    return userCollection;
}

THelpViewer::THelpViewer(const QString& collectionFile, QWidget* parent)
    : QMainWindow(parent), m_engine(std::make_unique<QHelpEngine>(collectionFile))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("PIPELOOP Help"));
    // Left open, it must not keep the program running after the main window closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    // The collection may sit in a folder the user cannot write to.
    m_engine->setReadOnly(true);

    m_tabs = new QTabWidget;
    m_tabs->addTab(m_engine->contentWidget(), ContentsTab);
    m_tabs->addTab(m_engine->indexWidget(), IndexTab);
    auto* search = new QWidget;
    auto* searchLayout = new QVBoxLayout(search);
    QHelpSearchEngine* searchEngine = m_engine->searchEngine();
    searchLayout->addWidget(searchEngine->queryWidget());
    searchLayout->addWidget(searchEngine->resultWidget(), 1);
    m_tabs->addTab(search, SearchTab);

    m_page = new HelpPageBrowser(*m_engine, this);
    m_page->setObjectName(QStringLiteral("HelpPage"));
    m_page->setAccessibleName(QStringLiteral("Help page"));
    auto* splitter = new QSplitter;
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_page);
    splitter->setStretchFactor(1, 3);
    setCentralWidget(splitter);
    resize(900, 640);

    connect(m_engine->contentWidget(), &QHelpContentWidget::linkActivated, this,
            &THelpViewer::showPage);
    connect(m_engine->indexWidget(), &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link) { showPage(link.url); });
    connect(m_engine->indexWidget(), &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links) { showPage(links.first().url); });
    connect(searchEngine->queryWidget(), &QHelpSearchQueryWidget::search, this,
            [searchEngine] { searchEngine->search(searchEngine->queryWidget()->searchInput()); });
    connect(searchEngine->resultWidget(), &QHelpSearchResultWidget::requestShowLink, this,
            &THelpViewer::showPage);
}

THelpViewer::~THelpViewer() = default;

bool THelpViewer::open()
{
    if (!m_engine->setupData()) {
        m_error = m_engine->error();
        return false;
    }
    // A damaged file can open as an empty collection: no page would ever show.
    if (m_engine->registeredDocumentations().isEmpty()) {
        m_error = QStringLiteral("it holds no help pages.");
        return false;
    }
    m_engine->searchEngine()->reindexDocumentation();
    return true;
}

QString THelpViewer::error() const
{
    return m_error;
}

void THelpViewer::showTopic(const QString& topic)
{
    const QList<QHelpLink> links =
        topic.isEmpty() ? QList<QHelpLink>{} : m_engine->documentsForKeyword(topic);
    if (links.isEmpty()) {
        showIndex(topic);
        return;
    }
    m_tabs->setCurrentIndex(0);
    showPage(links.first().url);
}

QUrl THelpViewer::currentPage() const
{
    return m_page->source();
}

QString THelpViewer::currentTab() const
{
    return m_tabs->tabText(m_tabs->currentIndex());
}

void THelpViewer::showPage(const QUrl& url)
{
    m_page->setSource(url);
}

void THelpViewer::showIndex(const QString& filter)
{
    m_tabs->setCurrentIndex(1);
    m_engine->indexWidget()->filterIndices(filter);
}

ScopedHelpViewer::ScopedHelpViewer(QString collectionFile, QString userFolder)
    : m_collectionFile(std::move(collectionFile)), m_userFolder(std::move(userFolder))
{
    SetHelpTopicHandler([this](const QString& topic) { show(topic); });
}

ScopedHelpViewer::~ScopedHelpViewer()
{
    SetHelpTopicHandler({});
}

void ScopedHelpViewer::show(const QString& topic)
{
    if (!m_window) {
        if (!QFileInfo::exists(m_collectionFile)) {
            Ui().error(QStringLiteral("Cannot find the help file:\r\n") +
                       QDir::toNativeSeparators(m_collectionFile));
            return;
        }
        auto window = std::make_unique<THelpViewer>(
            m_userFolder.isEmpty() ? m_collectionFile
                                   : UserHelpCollection(m_collectionFile, m_userFolder));
        if (!window->open()) {
            Ui().error(QStringLiteral("Problem with the help collection:\r\n") + window->error());
            return;
        }
        m_window = std::move(window);
    }
    m_window->showTopic(topic);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace pipeloop
