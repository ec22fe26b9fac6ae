#include "HelpCommands.h"

#include "OrderEmail.h"
#include "UiServices.h"
#include "Version.h"

namespace pipeloop
{

bool SendMail(const MailOpener& open, const QString& subject, const QString& body,
              const QString& address)
{
    if (open && open(catalogue::MailtoLink(address, subject, body)))
        return true;
    Ui().error(QStringLiteral("Error trying to send EMail : 0"));
    return false;
}

void EmailZelkworks(bool internetDetected, const MailOpener& open)
{
    if (!internetDetected) {
        Ui().inform(QStringLiteral("No INTERNET connection was detected when application "
                                   "started.\r\nEMail cannot be sent from this computer."));
        return;
    }
    SendMail(open, QStringLiteral("PIPELOOP ") + VersionString(QStringLiteral("FileVersion")),
             QStringLiteral("Enter your question here ..."), QString::fromLatin1(SupportAddress));
}

} // namespace pipeloop
