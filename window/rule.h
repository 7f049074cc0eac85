#pragma once

#include <QWidget>

namespace pokorin {

// A thin horizontal rule between two x positions, in the window's text colour.
class Rule final : public QWidget {
public:
    /* positions in twips relative to the parent's client area */
    Rule(double x1Twips, double x2Twips, double yTwips, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace pokorin
