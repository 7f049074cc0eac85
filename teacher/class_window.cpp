#include "class_window.h"

#include "core/shown_texts.h"
#include "ui/app_icon.h"
#include "window/fonts.h"

#include <QBoxLayout>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>

namespace pokorin {

QString AskWhereToSave(QWidget *parent) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileDialog::getSaveFileName(parent, kSaveButton, documents + u'/' + kSaveFileName,
                                        kSaveFilter);
}

ClassWindow::ClassWindow(std::function<QByteArray()> table,
                         std::function<QString(QWidget *)> whereToSave)
    : table_(std::move(table))
    , whereToSave_(std::move(whereToSave))
    , view_(new PoolView(this))
    , startAfreshButton_(new QPushButton(kStartAfreshButton, this))
    , saveButton_(new QPushButton(kSaveButton, this)) {
    setWindowTitle(kClassWindowTitle);
    setWindowIcon(PokorinIcon());
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startAfreshButton_);
    buttons->addWidget(saveButton_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    connect(startAfreshButton_, &QPushButton::clicked, this, &ClassWindow::askToStartAfresh);
    connect(saveButton_, &QPushButton::clicked, this, &ClassWindow::save);
    resize(1024, 720);
}

void ClassWindow::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_F11) {
        setWindowState(windowState() ^ Qt::WindowFullScreen);
        return;
    }
    QWidget::keyPressEvent(event);
}

// The buttons grow with the window, to be read and hit on a projector.
void ClassWindow::resizeEvent(QResizeEvent *event) {
    QFont font = DesignFont(12, false);
    font.setPixelSize(std::max(12, height() / 30));
    startAfreshButton_->setFont(font);
    saveButton_->setFont(font);
    QWidget::resizeEvent(event);
}

// Answered by the box's signal, with No as the default: the pool is the
// whole class's work of the lesson.
void ClassWindow::askToStartAfresh() {
    auto *box = new QMessageBox(QMessageBox::Question, kClassTitle, kStartAfreshQuestion,
                                QMessageBox::Yes | QMessageBox::No, this);
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    connect(box, &QMessageBox::finished, this, [this, box] {
        if (box->clickedButton() == box->button(QMessageBox::Yes)) {
            emit startAfresh();
        }
    });
    box->show();
}

void ClassWindow::save() {
    const QString path = whereToSave_(this);
    if (path.isEmpty()) {
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(table_()) < 0 || !file.commit()) {
        QMessageBox::warning(this, kClassTitle, QString(kSaveFailed).arg(file.errorString()));
    }
}

} // namespace pokorin
