#include "teacher/offer_file.h"

#include "core/shown_texts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>

namespace pokorin {

void OfferFile(QWidget *parent, const QString &name, const QByteArray &bytes) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suffix = name.section(u'.', -1);
    const QString path =
        QFileDialog::getSaveFileName(parent, kSaveButton, documents + u'/' + name,
                                     QStringLiteral("%1 (*.%2)").arg(suffix.toUpper(), suffix));
    if (path.isEmpty()) {
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit()) {
        QMessageBox::warning(parent, kClassTitle, QString(kSaveFailed).arg(file.errorString()));
    }
}

} // namespace pokorin
