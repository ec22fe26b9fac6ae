#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace pipeloop
{

// The result of reading a value from text typed by a user or found in a file:
// the value, or the message that says why the text is not one.
template <typename T> class Parsed
{
public:
    Parsed(T value) : m_value(std::move(value)) {} // NOLINT: implicit on purpose
    static Parsed failure(QString message) { return Parsed(std::move(message), 0); }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return *m_value; }
    T valueOr(T fallback) const { return m_value.value_or(std::move(fallback)); }
    const QString& error() const { return m_error; }

private:
    Parsed(QString message, int) : m_error(std::move(message)) {}
    std::optional<T> m_value;
    QString m_error;
};

} // namespace pipeloop
