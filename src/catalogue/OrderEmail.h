#pragma once

// E-mailing the parts list as an order and the "mailto:" link of
// SendMail.
//
// Mended fault: the rules escape only tab, LF, CR, blank and double quote in
// the body, so an order holding "&", "#", "%" or "+" reached the mail client
// cut short or altered. MailtoLink percent-encodes, as UTF-8, every character
// of the subject and body that is not unreserved in a URL (RFC 3986 letters,
// digits, "-", ".", "_", "~"), and every character of the address except
// those and "@" (RFC 6068).

#include <QString>

#include <functional>

namespace pipeloop::catalogue
{

class ReportDocument;
class TPartsDatabase;

inline constexpr char OrderSubject[] = "PARTS ORDER";

// The recipient: the options' order address (SupplierEMail) when it is not
// empty, else the catalogue's EML.
QString OrderRecipient(const QString& optionsAddress, const TPartsDatabase& database);

// The body: the report view's plain text, lines joined by CR LF.
QString OrderBody(const ReportDocument& report);

// "mailto:" + address + "?subject=" + subject + "&body=" + body, percent-encoded.
QString MailtoLink(const QString& address, const QString& subject, const QString& body);

// The "EMail List" command without its button: with no internet connection
// detected at start-up it shows "No INTERNET connection was detected when
// application started." CR LF "EMail cannot be sent, either save, print or
// copy the parts list." and answers false; otherwise it hands the link of the
// order to open (the desktop program asks the system's mail client) and
// answers what that answered; a refusal shows "Error trying to send EMail : "
// + the shell's result (0 when it gives none).
bool SendOrder(bool internetDetected, const QString& optionsAddress, const TPartsDatabase& database,
               const ReportDocument& report, const std::function<bool(const QString& link)>& open);

} // namespace pipeloop::catalogue
