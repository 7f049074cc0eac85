#pragma once

#include "board_geometry.h"
#include "line_surface.h"
#include "text_surface.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>

namespace pokorin {

enum class PictureFrame { Sunken, ThinSunken };

// A drawing surface that keeps what is drawn on it: lines and texts go into
// an image in the surface's own user units, and painting only copies that
// image. Printing leaves the position at the start of the next text line.
class PictureBox final : public QWidget, public LineSurface, public TextSurface {
public:
    /* outer size in pixels; the user units are measured inside the frame */
    PictureBox(QSize outerSize, PictureFrame frame, UnitScale scale, QWidget *parent);

    void setBackground(const QColor &colour);
    void setTextFont(const QFont &font);
    const QFont &textFont() const { return textFont_; }

    // Where a point of the user units lies, in the widget's own pixels.
    QPointF toPixels(BoardPoint point) const;

    void line(BoardPoint from, BoardPoint to, Rgb colour) override;
    void clear() override;
    void setCurrentX(float x) override { current_.x = x; }
    void setCurrentY(float y) override { current_.y = y; }
    void print(const std::string &text) override;

    BoardPoint currentPosition() const { return current_; }
    // The texts the surface shows, top to bottom and left to right; a text
    // printed over another at the same place replaces it. Screen readers get
    // them as the surface's description, since a picture has no text.
    QStringList shownTexts() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int frameWidth() const;
    void remember(BoardPoint at, const QString &text);

    PictureFrame frame_;
    UnitScale scale_;
    QColor background_;
    QFont textFont_;
    QImage image_;
    BoardPoint current_;
    QList<std::pair<BoardPoint, QString>> texts_;
};

} // namespace pokorin
