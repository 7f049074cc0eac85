#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>

namespace pokorin {

// How to join, for the start of a lesson: the QR code of the join address as
// large as the view lets it be, for phones and tablets at the back of a room
// to read off a projector, with the address under it and the other
// addresses small beneath.
class JoinView final : public QWidget {
public:
    explicit JoinView(QWidget *parent);

    void showAddresses(const QStringList &joinAddresses);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QStringList addresses_;
    QImage qrCode_;
};

} // namespace pokorin
