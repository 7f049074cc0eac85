#include "join_address.h"

#include <QNetworkInterface>

namespace pokorin {

QString LocalNetworkAddress() {
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack)) {
            continue;
        }
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLinkLocal()) {
                return address.toString();
            }
        }
    }
    return QStringLiteral("127.0.0.1");
}

QString JoinAddress(const QString &host, quint16 port, const QString &code) {
    return QStringLiteral("http://%1:%2/?class=%3").arg(host).arg(port).arg(code);
}

} // namespace pokorin
