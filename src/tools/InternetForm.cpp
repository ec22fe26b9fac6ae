#include "InternetForm.h"

#include "ReleasePageFetch.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace pipeloop
{

namespace
{
constexpr int BarStep = 5;
constexpr int TickMs = 100;
constexpr int CloseFrom = 50;
} // namespace

TINETForm::TINETForm(QWidget* parent)
    : QDialog(parent, Qt::Tool), m_fetch(new ReleasePageFetch(this)),
      m_label(new QLabel(QStringLiteral("Checking for updates ..."))), m_bar(new QProgressBar)
{
    setObjectName(QStringLiteral("INETForm"));
    setWindowTitle(QStringLiteral(" PIPELOOP INTERNET"));
    m_label->setObjectName(QStringLiteral("lbStatus"));
    m_bar->setObjectName(QStringLiteral("pbProgress"));
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    setFixedWidth(300);

    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &TINETForm::step);
    connect(m_fetch, &ReleasePageFetch::finished, this,
            [this](bool connected, const QByteArray& page) {
                m_connected = connected;
                m_page = page;
                m_done = true;
            });
}

void TINETForm::Check(const QString& host, int timeoutMs)
{
    m_host = host;
    m_timeoutMs = timeoutMs;
    exec();
    m_timer.stop();
}

void TINETForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
    m_bar->setValue(0);
    m_done = false;
    m_connected = false;
    m_page.clear();
    m_timer.start();
    m_fetch->start(m_host, m_timeoutMs);
}

// The bar wraps from full to empty; the window waits for it to pass half way
// so that it never flashes up and away.
void TINETForm::step()
{
    m_bar->setValue(m_bar->value() + BarStep > 100 ? 0 : m_bar->value() + BarStep);
    if (m_done && m_bar->value() >= CloseFrom)
        accept();
}

} // namespace pipeloop
