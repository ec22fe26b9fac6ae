#pragma once

// The e-mail side of the Help menu: SendMail, the general "mailto:" message
// any command may start, and "EMail Zelkworks".

#include "PartsListOutputs.h"

#include <QString>

namespace pipeloop
{

// Where "EMail Zelkworks" writes to.
inline constexpr char SupportAddress[] = "support@zelkworks.com";

// Opens the mail client on a new message (the link built by MailtoLink, so
// no character of subject or body is lost). Nothing waits for the mail
// client; a refusal shows "Error trying to send EMail : 0" and answers false.
bool SendMail(const MailOpener& open, const QString& subject, const QString& body,
              const QString& address);

// "EMail Zelkworks": with no internet connection found at start-up,
// "No INTERNET connection was detected when application started." CR LF
// "EMail cannot be sent from this computer."; otherwise a message to the
// support address whose subject carries the program's file version.
void EmailZelkworks(bool internetDetected, const MailOpener& open);

} // namespace pipeloop
