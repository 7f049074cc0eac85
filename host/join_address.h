#pragma once

#include <QString>

namespace pokorin {

// This computer's address on the local network, which the students' devices
// reach: its first IPv4 address on an interface that is up, other than the
// loopback's; the loopback's when there is none, as a computer without a
// network still hosts a class of its own.
QString LocalNetworkAddress();

// The address a student opens to join the class: the page, with the class's
// code, which the page carries to the host.
QString JoinAddress(const QString &host, quint16 port, const QString &code);

} // namespace pokorin
