#include "class_window.h"

#include "core/shown_texts.h"
#include "pool/class_csv.h"
#include "ui/app_icon.h"
#include "window/fonts.h"

#include <QBoxLayout>
#include <QBuffer>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedLayout>

namespace pokorin {

ClassWindow::ClassWindow(std::function<QByteArray()> table, FileOffer offer)
    : table_(std::move(table))
    , offer_(std::move(offer))
    , view_(new PoolView(this))
    , grid_(new DeviceGrid(this))
    , chart_(new GapChartView(this))
    , join_(new JoinView(this))
    , views_(new QStackedLayout)
    , startAfreshButton_(new QPushButton(kStartAfreshButton, this))
    , saveButton_(new QPushButton(kSaveButton, this))
    , savePictureButton_(new QPushButton(kSavePictureButton, this))
    , saveChartButton_(new QPushButton(kSaveChartButton, this)) {
    setWindowTitle(kClassWindowTitle);
    setWindowIcon(PokorinIcon());
    auto *buttons = new QHBoxLayout;
    for (QWidget *view : std::initializer_list<QWidget *>{view_, grid_, chart_, join_}) {
        views_->addWidget(view);
    }
    buttons->addWidget(viewButton(kPooledViewButton, view_));
    buttons->addWidget(viewButton(kDevicesViewButton, grid_));
    buttons->addWidget(viewButton(kChartViewButton, chart_));
    buttons->addWidget(viewButton(kJoinViewButton, join_));
    buttons->addStretch();
    for (QPushButton *button :
         {startAfreshButton_, saveButton_, savePictureButton_, saveChartButton_}) {
        buttons->addWidget(button);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(views_, 1);
    layout->addLayout(buttons);
    connect(startAfreshButton_, &QPushButton::clicked, this,
            [this] { ask(kStartAfreshQuestion, [this] { emit startAfresh(); }); });
    connect(saveButton_, &QPushButton::clicked, this, &ClassWindow::saveTable);
    connect(savePictureButton_, &QPushButton::clicked, this, &ClassWindow::savePicture);
    connect(saveChartButton_, &QPushButton::clicked, this, &ClassWindow::saveChart);
    connect(grid_, &DeviceGrid::deviceChosen, this, &ClassWindow::askToTakeOut);
    connect(views_, &QStackedLayout::currentChanged, this, &ClassWindow::showDevices);
    resize(1024, 720);
}

// A checkable button that shows its view, one of them checked at a time.
QPushButton *ClassWindow::viewButton(const char *caption, QWidget *view) {
    auto *button = new QPushButton(caption, this);
    button->setCheckable(true);
    button->setChecked(viewButtons_.isEmpty());
    button->setAutoExclusive(true);
    connect(button, &QPushButton::clicked, this, [this, view] { views_->setCurrentWidget(view); });
    viewButtons_ << button;
    return button;
}

void ClassWindow::showClass(const ClassShow &shown, std::function<QList<DeviceRuns>()> devices,
                            QList<GapPoint> gaps) {
    view_->show(shown);
    join_->showAddresses(shown.joinAddresses);
    devices_ = std::move(devices);
    showDevices();
    chart_->showGaps(std::move(gaps));
}

void ClassWindow::showDevices() {
    if (devices_ && views_->currentWidget() == grid_) {
        grid_->showDevices(devices_());
    }
}

void ClassWindow::keyPressEvent(QKeyEvent *event) {
    const int chosen = event->key() - Qt::Key_1;
    if (event->key() == Qt::Key_F11) {
        setWindowState(windowState() ^ Qt::WindowFullScreen);
    } else if (event->matches(QKeySequence::Save)) {
        saveTable();
    } else if (chosen >= 0 && chosen < viewButtons_.size()) {
        viewButtons_.at(chosen)->click();
    } else if (event->key() == Qt::Key_PageDown || event->key() == Qt::Key_PageUp) {
        grid_->turnPage(event->key() == Qt::Key_PageDown ? 1 : -1);
    } else {
        QWidget::keyPressEvent(event);
    }
}

// The buttons grow with the window, to be read and hit on a projector, and
// their row stays within its width (some forty characters in all), or it
// would widen the window past the screen.
void ClassWindow::resizeEvent(QResizeEvent *event) {
    QFont font = DesignFont(12, false);
    font.setPixelSize(std::max(12, std::min(height() / 30, width() / 54)));
    for (QPushButton *button : findChildren<QPushButton *>()) {
        button->setFont(font);
    }
    QWidget::resizeEvent(event);
}

// Answered by the box's signal, with No as the default: the pool is the
// whole class's work of the lesson.
void ClassWindow::ask(const QString &question, std::function<void()> onYes) {
    auto *box = new QMessageBox(QMessageBox::Question, kClassTitle, question,
                                QMessageBox::Yes | QMessageBox::No, this);
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    connect(box, &QMessageBox::finished, this, [box, onYes = std::move(onYes)] {
        if (box->clickedButton() == box->button(QMessageBox::Yes)) {
            onYes();
        }
    });
    box->show();
}

// The device by its name, which the question keeps even if the grid changes
// before the teacher answers.
void ClassWindow::askToTakeOut(qsizetype place) {
    const DeviceRuns &device = grid_->devices().at(place);
    ask(QString(kTakeOutQuestion).arg(place + 1).arg(device.balls),
        [this, name = device.device] { emit takeOut(name); });
}

void ClassWindow::save(const QString &fileName, const QByteArray &bytes) {
    offer_(this, fileName, bytes);
}

void ClassWindow::saveTable() {
    save(kSaveFileName, table_());
}

void ClassWindow::saveChart() {
    save(kChartFileName, GapCsv(chart_->gaps()));
}

// The view as the projector shows it, at the screen's own pixels.
void ClassWindow::savePicture() {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    views_->currentWidget()->grab().save(&buffer, "PNG");
    save(kPictureFileName, png);
}

} // namespace pokorin
