#pragma once

#include "UiServices.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace pipeloop::testing
{

// A UiServices double: records every message and question, and answers
// questions from queues the test fills beforehand. With an empty queue a
// confirmation answers No and a named-button question the last button.
class ScriptedUi : public UiServices
{
public:
    struct Message {
        Kind kind;
        QString text;
    };

    ScriptedUi() : m_scope(*this) {}

    void show(Kind kind, const QString& text, const QString& = {}) override
    {
        messages.push_back({kind, text});
    }
    bool confirm(const QString& text, const QString& = {}) override
    {
        questions.append(text);
        if (confirmAnswers.empty())
            return false;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    QString ask(Kind, const QString& text, const QStringList& buttons, const QString& = {}) override
    {
        questions.append(text);
        if (askAnswers.empty())
            return buttons.isEmpty() ? QString() : buttons.back();
        const QString answer = askAnswers.front();
        askAnswers.pop_front();
        return answer;
    }

    QStringList texts() const
    {
        QStringList all;
        for (const Message& message : messages)
            all.append(message.text);
        return all;
    }

    std::vector<Message> messages;
    QStringList questions;
    std::deque<bool> confirmAnswers;
    std::deque<QString> askAnswers;

private:
    ScopedUiServices m_scope;
};

} // namespace pipeloop::testing
