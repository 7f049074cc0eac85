#pragma once

#include "device_grid.h"
#include "offer_file.h"
#include "pool_view.h"

#include <functional>

class QPushButton;
class QStackedLayout;

namespace pokorin {

// The teacher's class window: one view of the class filling the window, the
// teacher's choice (the pooled experiment, or each device's runs, which
// buttons or the keys 1 and 2 choose), and under it "最初から", which empties
// the pool after the teacher confirms, and "保存" (or Ctrl+S), which writes
// the pool's table to a file. A click on a device's box asks to take that
// device out of the class. F11 shows it on the whole screen, and back.
class ClassWindow final : public QWidget {
    Q_OBJECT

public:
    // `table` gives the table to save, which `offer` hands the teacher.
    explicit ClassWindow(std::function<QByteArray()> table, FileOffer offer = OfferFile);

    void showClass(const ClassShow &shown, QList<DeviceRuns> devices);

    PoolView *view() const { return view_; }
    DeviceGrid *grid() const { return grid_; }
    QPushButton *startAfreshButton() const { return startAfreshButton_; }
    QPushButton *saveButton() const { return saveButton_; }

signals:
    // The teacher has confirmed "最初から".
    void startAfresh();
    // The teacher has confirmed taking the device out of the class.
    void takeOut(const QString &device);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPushButton *viewButton(const char *caption, QWidget *view);
    void ask(const QString &question, std::function<void()> onYes);
    void askToTakeOut(qsizetype place);
    void save();

    std::function<QByteArray()> table_;
    FileOffer offer_;
    PoolView *view_;
    DeviceGrid *grid_;
    QStackedLayout *views_;
    QList<QPushButton *> viewButtons_;
    QPushButton *startAfreshButton_;
    QPushButton *saveButton_;
};

} // namespace pokorin
