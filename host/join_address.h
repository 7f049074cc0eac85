#pragma once

#include <QHostAddress>
#include <QList>
#include <QNetworkInterface>
#include <QString>
#include <QStringList>
#include <optional>

namespace pokorin {

// What the host needs to know of one of this computer's network interfaces
// to choose the address the students join at.
struct InterfaceFacts {
    QString name; // as the system names it; on Windows, the name people see
    QNetworkInterface::InterfaceType type = QNetworkInterface::Unknown;
    QNetworkInterface::InterfaceFlags flags;
    QList<QHostAddress> addresses;
};

// The address the class window shows large, and the others a student's
// device might reach this computer at, shown small.
struct JoinAddresses {
    QString shown;
    QStringList others;

    QStringList all() const { return QStringList{shown} + others; }
};

QList<InterfaceFacts> ThisComputersInterfaces();

// This computer's own address on the route to the rest of the world, where
// Qt can tell (a datagram socket "connected" outward, nothing sent).
std::optional<QHostAddress> DefaultRouteAddress();

// As a teacher would choose: IPv4 addresses on interfaces that are up, but
// not the loopback's, link-local ones or the virtual switches that WSL,
// Hyper-V, VirtualBox, VMware, Docker and libvirt make (no student reaches
// those); first the default route's, then wired and wireless networks before
// other kinds. `asked`, when one of this computer's addresses, is shown
// instead. With no network at all, the loopback's: the computer still hosts
// a class of its own.
JoinAddresses ChooseJoinAddresses(const QList<InterfaceFacts> &interfaces,
                                  const std::optional<QHostAddress> &defaultRoute,
                                  const std::optional<QString> &asked = std::nullopt);

// Whether one of the interfaces has the address.
bool HasAddress(const QList<InterfaceFacts> &interfaces, const QString &address);

// The address a student opens to join the class: the page, with the class's
// code, which the page carries to the host.
QString JoinAddress(const QString &host, quint16 port, const QString &code);

} // namespace pokorin
