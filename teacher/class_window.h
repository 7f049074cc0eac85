#pragma once

#include "pool_view.h"

#include <functional>

class QPushButton;

namespace pokorin {

// Asks the teacher where to save the table, with a file dialog; empty when
// the teacher cancels.
QString AskWhereToSave(QWidget *parent);

// The teacher's class window: the pooled experiment filling the window, and
// under it "最初から", which empties the pool after the teacher confirms, and
// "保存", which writes the pool's table to a file. F11 shows it on the whole
// screen, and back.
class ClassWindow final : public QWidget {
    Q_OBJECT

public:
    // `table` gives the table to save, `whereToSave` the file to save it in.
    explicit ClassWindow(std::function<QByteArray()> table,
                         std::function<QString(QWidget *)> whereToSave = AskWhereToSave);

    PoolView *view() const { return view_; }
    QPushButton *startAfreshButton() const { return startAfreshButton_; }
    QPushButton *saveButton() const { return saveButton_; }

signals:
    // The teacher has confirmed "最初から".
    void startAfresh();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void askToStartAfresh();
    void save();

    std::function<QByteArray()> table_;
    std::function<QString(QWidget *)> whereToSave_;
    PoolView *view_;
    QPushButton *startAfreshButton_;
    QPushButton *saveButton_;
};

} // namespace pokorin
