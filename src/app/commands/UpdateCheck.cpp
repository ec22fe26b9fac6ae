#include "UpdateCheck.h"

#include "InternetForm.h"
#include "LanguageFile.h"
#include "Network.h"
#include "ReleaseInfo.h"
#include "ReleasePageFetch.h"
#include "UiServices.h"
#include "Version.h"

namespace pipeloop
{

UpdateCheck::UpdateCheck(QWidget* window)
    : QObject(window), m_window(window), m_quiet(new ReleasePageFetch(this)),
      m_timeoutMs(ReleasePageFetch::DefaultTimeoutMs)
{
    connect(m_quiet, &ReleasePageFetch::finished, this,
            [this](bool connected, const QByteArray& page) {
                take(connected, page);
                report(false);
            });
}

void UpdateCheck::checkQuietly()
{
    if (!m_host.isEmpty() && NetworkPresent())
        m_quiet->start(m_host, m_timeoutMs);
}

void UpdateCheck::checkForUpdate()
{
    if (!m_connected) {
        if (!Ui().confirm(QStringLiteral("No internet connection was detected when PIPELOOP "
                                         "started.\r\n\nDo you want to check again ?")))
            return;
        if (!m_form) {
            m_form = new TINETForm(m_window);
            TLanguage::Instance().TranslateForm(m_form);
        }
        // The quiet check, if it is still waiting, gives way to this one.
        m_quiet->blockSignals(true);
        m_form->Check(m_host, m_timeoutMs);
        m_quiet->blockSignals(false);
        take(m_form->Connected(), m_form->Page());
    }
    report(true);
}

void UpdateCheck::take(bool connected, const QByteArray& page)
{
    m_connected = connected;
    m_page = page;
    emit checked();
}

void UpdateCheck::report(bool userAsked) const
{
    const QString message =
        UpdateCheckMessage(m_connected, ReadReleaseInfo(m_page), ProgramVersion(), userAsked);
    if (!message.isEmpty())
        Ui().inform(message);
}

} // namespace pipeloop
