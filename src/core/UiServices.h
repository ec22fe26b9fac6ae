#pragma once

#include <QString>
#include <QStringList>

namespace pipeloop
{

// How headless code talks to the user. The desktop program shows its own
// message box, the command-line program prints to standard error and answers
// from its flags, and tests record every message and answer from a queue.
class UiServices
{
public:
    enum class Kind { Information, Warning, Error };

    virtual ~UiServices() = default;

    // A message with one OK button.
    virtual void show(Kind kind, const QString& text, const QString& helpTopic = {}) = 0;
    // A Yes/No question; true for Yes.
    virtual bool confirm(const QString& text, const QString& helpTopic = {}) = 0;
    // A question with named buttons ("&Ignore", "&Remove", ...); returns the
    // caption of the button pressed.
    virtual QString ask(Kind kind, const QString& text, const QStringList& buttons,
                        const QString& helpTopic = {}) = 0;

    void inform(const QString& text) { show(Kind::Information, text); }
    void warn(const QString& text) { show(Kind::Warning, text); }
    void error(const QString& text) { show(Kind::Error, text); }
    // The common report of an unexpected failure (see ErrorReport.h).
    void reportError(const QString& errorText);

    // The services in use for this process. There is always one: until a front
    // end installs its own, messages go to standard error and questions are
    // answered No / with the first button.
    static UiServices& current();
    static void install(UiServices* services); // nullptr restores the default
};

inline UiServices& Ui()
{
    return UiServices::current();
}

// Installs services for a scope and puts the previous ones back after it.
class ScopedUiServices
{
public:
    explicit ScopedUiServices(UiServices& services);
    ~ScopedUiServices();
    ScopedUiServices(const ScopedUiServices&) = delete;
    ScopedUiServices& operator=(const ScopedUiServices&) = delete;

private:
    UiServices* m_previous;
};

// Prints messages to standard error as "info: ", "warning: " or "error: " plus
// the text, and answers every question from one preset choice.
class ConsoleUiServices : public UiServices
{
public:
    explicit ConsoleUiServices(bool answerYes = false) : m_answerYes(answerYes) {}

    void show(Kind kind, const QString& text, const QString& helpTopic = {}) override;
    bool confirm(const QString& text, const QString& helpTopic = {}) override;
    QString ask(Kind kind, const QString& text, const QStringList& buttons,
                const QString& helpTopic = {}) override;

private:
    bool m_answerYes;
};

} // namespace pipeloop
