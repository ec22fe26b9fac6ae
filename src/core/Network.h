#pragma once

namespace pipeloop
{

// Whether the system reports a network connection (any interface up other
// than loopback).
bool NetworkPresent();

} // namespace pipeloop
