#include "join_address.h"

#include <QRegularExpression>
#include <QUdpSocket>

namespace pokorin {
namespace {

// Switches that join this computer to virtual machines and containers of its
// own: Docker, libvirt, LXC/LXD, Podman, VirtualBox, VMware; on Windows,
// Hyper-V's and WSL's "vEthernet (...)" and the adapters of the others.
bool IsVirtualSwitch(const QString &name) {
    static const QRegularExpression names(
        QStringLiteral("^(docker|br-|virbr|lxcbr|lxdbr|podman|cni|vboxnet|vmnet)|^vEthernet|"
                       "VirtualBox|VMware|Hyper-V|WSL|Docker"),
        QRegularExpression::CaseInsensitiveOption);
    return names.match(name).hasMatch();
}

bool IsLoopback(const InterfaceFacts &interface) {
    return interface.flags.testFlag(QNetworkInterface::IsLoopBack) ||
           interface.type == QNetworkInterface::Loopback;
}

bool IsUsable(const QHostAddress &address) {
    return address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback() &&
           !address.isLinkLocal();
}

// Lower is better: the wired and wireless networks a class is on first.
int Rank(const InterfaceFacts &interface) {
    switch (interface.type) {
    case QNetworkInterface::Ethernet:
    case QNetworkInterface::Wifi:
        return 0;
    default:
        return 1;
    }
}

} // namespace

QList<InterfaceFacts> ThisComputersInterfaces() {
    QList<InterfaceFacts> facts;
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        InterfaceFacts one{interface.humanReadableName(), interface.type(), interface.flags(), {}};
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            one.addresses << entry.ip();
        }
        facts << one;
    }
    return facts;
}

std::optional<QHostAddress> DefaultRouteAddress() {
    QUdpSocket socket;
    // A documentation address (TEST-NET-2), which only a default route leads to.
    socket.connectToHost(QHostAddress(QStringLiteral("198.51.100.1")), 9);
    if (!socket.waitForConnected(1000) || !IsUsable(socket.localAddress())) {
        return std::nullopt;
    }
    return socket.localAddress();
}

JoinAddresses ChooseJoinAddresses(const QList<InterfaceFacts> &interfaces,
                                  const std::optional<QHostAddress> &defaultRoute,
                                  const std::optional<QString> &asked) {
    QList<std::pair<int, QString>> ranked;
    for (const InterfaceFacts &interface : interfaces) {
        if (!interface.flags.testFlag(QNetworkInterface::IsUp) ||
            !interface.flags.testFlag(QNetworkInterface::IsRunning) || IsLoopback(interface)) {
            continue;
        }
        for (const QHostAddress &address : interface.addresses) {
            // The default route's is the network itself, even behind a
            // virtual switch (Hyper-V's external one).
            if (defaultRoute && address.isEqual(*defaultRoute)) {
                ranked << std::pair(-1, address.toString());
            } else if (IsUsable(address) && !IsVirtualSwitch(interface.name)) {
                ranked << std::pair(Rank(interface), address.toString());
            }
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    JoinAddresses chosen{QStringLiteral("127.0.0.1"), {}};
    for (const auto &[rank, address] : ranked) {
        chosen.others << address;
    }
    if (asked && HasAddress(interfaces, *asked)) {
        chosen.shown = QHostAddress(*asked).toString();
    } else if (!chosen.others.isEmpty()) {
        chosen.shown = chosen.others.first();
    }
    chosen.others.removeAll(chosen.shown);
    return chosen;
}

bool HasAddress(const QList<InterfaceFacts> &interfaces, const QString &address) {
    const QHostAddress wanted(address);
    for (const InterfaceFacts &interface : interfaces) {
        for (const QHostAddress &own : interface.addresses) {
            if (!wanted.isNull() && own.isEqual(wanted)) {
                return true;
            }
        }
    }
    return false;
}

QString JoinAddress(const QString &host, quint16 port, const QString &code) {
    const QString bracketed = host.contains(u':') ? u'[' + host + u']' : host; // IPv6
    return QStringLiteral("http://%1:%2/?class=%3").arg(bracketed).arg(port).arg(code);
}

} // namespace pokorin
