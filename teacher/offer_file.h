#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

namespace pokorin {

// How the class window hands the teacher a file it made (a table, a
// picture): given a suggested name and the bytes.
using FileOffer =
    std::function<void(QWidget *parent, const QString &name, const QByteArray &bytes)>;

// The platform's way: on the desktop, a file dialog that asks where to save
// it, in the documents folder at first, and a warning when it cannot be
// written; in a page, the browser's download.
void OfferFile(QWidget *parent, const QString &name, const QByteArray &bytes);

} // namespace pokorin
