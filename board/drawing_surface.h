#pragma once

#include "board_geometry.h"

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <optional>

namespace pokorin {

enum class SurfaceFrame { Sunken, ThinSunken };

// A drawing surface that keeps what is drawn on it: lines and texts go into
// an image in the surface's own user units, and painting only copies that
// image, drawn anew when the screen's pixel ratio changes (in a page that
// the projector fills). Screen readers get the texts it shows as its
// description, since a picture has no text of its own.
class DrawingSurface : public QWidget {
public:
    /* outer size in pixels; the user units are measured inside the frame */
    DrawingSurface(QSize outerSize, SurfaceFrame frame, UnitScale scale, QWidget *parent);

    void setBackground(const QColor &colour);
    void setTextFont(const QFont &font);

    // Where a point of the user units lies, in the widget's own pixels.
    QPointF toPixels(BoardPoint point) const;

    void line(BoardPoint from, BoardPoint to, const QColor &colour);
    // Erases everything drawn so far to the background.
    void clear();
    // Prints the text with its top-left corner at `at`, over what is there;
    // returns where the next line of text starts.
    BoardPoint print(BoardPoint at, const QString &text);

    // The texts printed since the surface was last cleared, in their order.
    QStringList shownTexts() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    // Copies the image into the part of the surface that needs it, and draws
    // the frame where the part reaches it.
    void paintImage(QPainter &painter, const QRegion &part);

private:
    // A line, or a text printed at `from`.
    struct Drawn {
        BoardPoint from;
        BoardPoint to;
        QColor colour;
        std::optional<QString> text;
    };

    int frameWidth() const;
    void newImage();
    void draw(const Drawn &drawn);

    SurfaceFrame frame_;
    UnitScale scale_;
    QColor background_;
    QFont textFont_;
    QImage image_;
    QList<Drawn> drawn_;
};

} // namespace pokorin
