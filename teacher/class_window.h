#pragma once

#include "device_grid.h"
#include "gap_chart_view.h"
#include "join_view.h"
#include "offer_file.h"
#include "pool_view.h"

#include <functional>

class QPushButton;
class QStackedLayout;

namespace pokorin {

// The teacher's class window: one view of the class filling the window, the
// teacher's choice (the pooled experiment, each device's runs, the chart of
// the pool's gap to the theory, or how to join with a QR code as large as
// the window, which buttons or the keys 1 to 4 choose), and under it "最初から", which empties the
// pool after the teacher confirms, "保存" (or Ctrl+S), which writes the pool's table to a file, and
// buttons that save the chart's points as a table and the view shown as a
// picture. A click on a device's box asks to take that device out of the
// class. F11 shows it on the whole screen, and back.
class ClassWindow final : public QWidget {
    Q_OBJECT

public:
    // `table` gives the table to save, which `offer` hands the teacher.
    explicit ClassWindow(std::function<QByteArray()> table, FileOffer offer = OfferFile);

    // `devices` works out each device's runs, which takes a while in a large
    // class: only while the grid is the view shown.
    void showClass(const ClassShow &shown, std::function<QList<DeviceRuns>()> devices,
                   QList<GapPoint> gaps);

    PoolView *view() const { return view_; }
    DeviceGrid *grid() const { return grid_; }
    GapChartView *chart() const { return chart_; }
    QPushButton *startAfreshButton() const { return startAfreshButton_; }
    QPushButton *saveButton() const { return saveButton_; }
    QPushButton *savePictureButton() const { return savePictureButton_; }
    QPushButton *saveChartButton() const { return saveChartButton_; }

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
    void showDevices();
    void save(const QString &fileName, const QByteArray &bytes);
    void saveTable();
    void savePicture();
    void saveChart();

    std::function<QByteArray()> table_;
    FileOffer offer_;
    std::function<QList<DeviceRuns>()> devices_;
    PoolView *view_;
    DeviceGrid *grid_;
    GapChartView *chart_;
    JoinView *join_;
    QStackedLayout *views_;
    QList<QPushButton *> viewButtons_;
    QPushButton *startAfreshButton_;
    QPushButton *saveButton_;
    QPushButton *savePictureButton_;
    QPushButton *saveChartButton_;
};

} // namespace pokorin
