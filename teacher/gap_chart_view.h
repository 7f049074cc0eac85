#pragma once

#include "pool/class_pool.h"
#include "pool/gap_chart_scales.h"

#include <QWidget>

namespace pokorin {

// The ratios meeting the theory: how far the pooled ratios were from it as
// the class's balls grew, the class's points as a red line with dots over
// the band that chance alone explains for a fair board, both scales
// logarithmic, with the latest point's numbers over it and a caption that
// says what the band is; large enough to read on a projector at any size.
class GapChartView final : public QWidget {
public:
    explicit GapChartView(QWidget *parent);

    void showGaps(QList<GapPoint> gaps);
    const QList<GapPoint> &gaps() const { return gaps_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The chart's scales placed on the plot's pixels.
    struct Plot {
        QRectF area;
        GapChartScales scales;
        QPointF at(double balls, double gap) const;
    };

    void paintTexts(QPainter &painter, QRectF inside, QRectF plot, double em) const;
    void paintGrid(QPainter &painter, const Plot &plot, double em) const;
    void paintBand(QPainter &painter, const Plot &plot, double em) const;
    void paintPoints(QPainter &painter, const Plot &plot, double em) const;
    void paintLegend(QPainter &painter, const Plot &plot, double em) const;

    QList<GapPoint> gaps_;
};

} // namespace pokorin
