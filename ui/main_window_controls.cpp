#include "main_window_controls.h"

#include "board/board_geometry.h"
#include "board/command_button.h"
#include "board/fonts.h"
#include "board/line_control.h"
#include "board/picture_box.h"
#include "board/twips_rect.h"
#include "core/experiment.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pokorin {
namespace {

const QColor kRed(255, 0, 0);
// Each number of a strip must fit within two units with a gap before the
// next, and each heading must end before the first column; at 9 pt the
// Japanese gothic's wide digits would run "0.246" into the next number.
constexpr double kStripPointSize = 7.5;

QPushButton *Button(QWidget *window, const QString &caption, QRect place, double pointSize) {
    auto *button = new CommandButton(caption, window);
    button->setGeometry(place);
    button->setFont(DesignFont(pointSize, false));
    return button;
}

QLabel *Label(QWidget *window, const QString &caption, QRect place, double pointSize) {
    auto *label = new QLabel(caption, window);
    label->setGeometry(place);
    label->setFont(DesignFont(pointSize, true));
    return label;
}

void Frame(QLabel *label, const QColor &background) {
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    label->setPalette(palette);
}

QWidget *RedSquare(QWidget *board, QPoint at) {
    auto *square = new QWidget(board);
    square->setGeometry(QRect(at, TwipsRect(0, 0, kSquareTwips, kSquareTwips).size()));
    square->setAutoFillBackground(true);
    QPalette palette = square->palette();
    palette.setColor(QPalette::Window, kRed);
    square->setPalette(palette);
    return square;
}

PictureBox *Strip(QWidget *window, double topTwips) {
    const QRect place = TwipsRect(120, topTwips, 9615, 255);
    auto *strip = new PictureBox(place.size(), PictureFrame::Sunken, kStripScale, window);
    strip->move(place.topLeft());
    strip->setTextFont(DesignFont(kStripPointSize, false));
    return strip;
}

// Where square i of stack `bin` stands on the board, in its pixels.
QPoint SquarePlace(const PictureBox *board, int bin, int square) {
    return board->toPixels(TwipsToUnits(SquareTwips(bin, square), kBoardScale)).toPoint();
}

// The squares of one stack stand in a clear column of their own, so that the
// moving ball has a dozen siblings to be clipped against, not 220.
Stack BuildStack(PictureBox *board, int bin) {
    const QPoint top = SquarePlace(board, bin, kStackCapacity);
    const QPoint bottom = SquarePlace(board, bin, 1);
    const QSize square = TwipsRect(0, 0, kSquareTwips, kSquareTwips).size();
    auto *column = new QWidget(board);
    column->setGeometry(top.x(), top.y(), square.width(), bottom.y() - top.y() + square.height());
    column->setAttribute(Qt::WA_TransparentForMouseEvents);
    Stack stack{};
    for (int i = 1; i <= kStackCapacity; ++i) {
        stack.at(i - 1) = RedSquare(column, SquarePlace(board, bin, i) - top);
        stack.at(i - 1)->hide();
    }
    return stack;
}

void BuildBoard(MainWindowControls &c, QWidget *window) {
    const QRect place = TwipsRect(120, 480, 9615, 6015);
    c.board = new PictureBox(place.size(), PictureFrame::Sunken, kBoardScale, window);
    c.board->move(place.topLeft());
    for (int k = 1; k <= kBinTotal; ++k) {
        c.stacks.at(k - 1) = BuildStack(c.board, k);
    }
    c.ball = RedSquare(c.board, c.board->toPixels(kBallStart).toPoint());
    auto *rule = new LineControl(0, 120, 120, c.board);
    rule->move(c.board->toPixels({}).toPoint() + rule->pos());
    rule->lower();
}

// Buttons and captions are named by their texts; the controls whose text is
// a value, or that show a picture, get a name of their own.
void NameForScreenReaders(const MainWindowControls &c) {
    c.fallSpeedField->setAccessibleName(QStringLiteral("落下速度"));
    c.dropCounter->setAccessibleName(QStringLiteral("実験回数"));
    c.board->setAccessibleName(QStringLiteral("ポコリンの落下の実験"));
    c.theoryStrip->setAccessibleName(QStringLiteral("理論上の数学的確率"));
    c.ratioStrip->setAccessibleName(QStringLiteral("実験結果からの割合"));
}

} // namespace

MainWindowControls BuildMainWindowControls(QWidget *window) {
    MainWindowControls c{};
    // Made in tab order, so that the start button is first of all.
    c.startButton = Button(window, QStringLiteral("開始"), TwipsRect(8040, 7440, 1500, 375), 12);
    c.stopButton = Button(window, QStringLiteral("停止"), TwipsRect(6360, 7440, 1500, 375), 12);
    c.quitButton = Button(window, QStringLiteral("終了"), TwipsRect(0, 0, 975, 375), 11.25);
    c.initialiseButton =
        Button(window, QStringLiteral("初期化"), TwipsRect(8880, 0, 975, 375), 11.25);
    c.helpButton = Button(window, QStringLiteral("HELP"), TwipsRect(7920, 0, 975, 375), 11.25);
    c.fallSpeedField = new QLineEdit(QStringLiteral("100"), window);
    c.fallSpeedField->setGeometry(TwipsRect(5160, 7440, 495, 270));
    // The system's own default face may have no glyphs at all (Wine's has none).
    c.fallSpeedField->setFont(DesignFont(9, false));

    (new LineControl(0, 9840, 360, window))->lower(); // Line2, drawn under the top row
    c.title =
        Label(window, QStringLiteral("ポコリンの落下の実験"), TwipsRect(2520, 0, 4935, 375), 15.75);
    Frame(c.title, QColor(255, 192, 128));
    c.dropCounterCaption =
        Label(window, QStringLiteral("実験回数"), TwipsRect(720, 7440, 1455, 375), 14.25);
    Frame(c.dropCounterCaption, Qt::white);
    c.dropCounter = Label(window, QString(), TwipsRect(2160, 7440, 1215, 375), 14.25);
    Frame(c.dropCounter, Qt::white);
    c.fallSpeedCaption =
        Label(window, QStringLiteral("落下速度"), TwipsRect(4080, 7440, 1095, 255), 11.25);

    BuildBoard(c, window);
    c.theoryStrip = Strip(window, 6600);
    c.ratioStrip = Strip(window, 6960);
    NameForScreenReaders(c);
    return c;
}

} // namespace pokorin
