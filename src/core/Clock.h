#pragma once

#include <QDate>
#include <QDateTime>

namespace pipeloop
{

// "Now", injectable so that date rules (catalogue expiry, validity questions)
// can be tested on any day.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }

    static const Clock& current();
    static void install(const Clock* clock); // nullptr restores the system clock
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime at) : m_at(std::move(at)) {}
    QDateTime now() const override { return m_at; }
    void set(QDateTime at) { m_at = std::move(at); }

private:
    QDateTime m_at;
};

} // namespace pipeloop
