#include "OrderEmail.h"

#include "PartsDatabase.h"
#include "ReportDocument.h"
#include "UiServices.h"

#include <QByteArray>

namespace pipeloop::catalogue
{

namespace
{

QString PercentEncoded(const QString& text, const QByteArray& alsoKept = {})
{
    return QString::fromLatin1(text.toUtf8().toPercentEncoding(alsoKept));
}

} // namespace

QString OrderRecipient(const QString& optionsAddress, const TPartsDatabase& database)
{
    return optionsAddress.isEmpty() ? database.OrderAddress() : optionsAddress;
}

QString OrderBody(const ReportDocument& report)
{
    return ReportPlainText(report, QStringLiteral("\r\n"), false);
}

QString MailtoLink(const QString& address, const QString& subject, const QString& body)
{
    return QStringLiteral("mailto:") + PercentEncoded(address, "@") + QStringLiteral("?subject=") +
           PercentEncoded(subject) + QStringLiteral("&body=") + PercentEncoded(body);
}

bool SendOrder(bool internetDetected, const QString& optionsAddress, const TPartsDatabase& database,
               const ReportDocument& report, const std::function<bool(const QString& link)>& open)
{
    if (!internetDetected) {
        Ui().inform(QStringLiteral("No INTERNET connection was detected when application "
                                   "started.\r\nEMail cannot be sent, either save, print or copy "
                                   "the parts list."));
        return false;
    }
    const QString link = MailtoLink(OrderRecipient(optionsAddress, database),
                                    QString::fromLatin1(OrderSubject), OrderBody(report));
    if (open && open(link))
        return true;
    Ui().error(QStringLiteral("Error trying to send EMail : 0"));
    return false;
}

} // namespace pipeloop::catalogue
