#include "rule.h"

#include "twips.h"

#include <QPainter>

namespace pokorin {

Rule::Rule(double x1Twips, double x2Twips, double yTwips, QWidget *parent)
    : QWidget(parent) {
    const double left = std::min(x1Twips, x2Twips);
    const double width = std::abs(x2Twips - x1Twips);
    setGeometry(TwipsToPixels(left), TwipsToPixels(yTwips), TwipsToPixels(width), 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Rule::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
}

} // namespace pokorin
