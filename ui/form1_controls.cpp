#include "form1_controls.h"

#include "board/board_geometry.h"
#include "board/command_button.h"
#include "board/fonts.h"
#include "board/line_control.h"
#include "board/picture_box.h"
#include "board/twips_rect.h"
#include "sim/simulation_state.h"

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

QPushButton *Button(QWidget *form, const QString &caption, QRect place, double pointSize) {
    auto *button = new CommandButton(caption, form);
    button->setGeometry(place);
    button->setFont(DesignFont(pointSize, false));
    return button;
}

QLabel *Label(QWidget *form, const QString &caption, QRect place, double pointSize) {
    auto *label = new QLabel(caption, form);
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

PictureBox *Strip(QWidget *form, double topTwips) {
    const QRect place = TwipsRect(120, topTwips, 9615, 255);
    auto *strip = new PictureBox(place.size(), PictureFrame::Sunken, kStripScale, form);
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

void BuildBoard(Form1Controls &c, QWidget *form) {
    const QRect place = TwipsRect(120, 480, 9615, 6015);
    c.Picture1 = new PictureBox(place.size(), PictureFrame::Sunken, kBoardScale, form);
    c.Picture1->move(place.topLeft());
    for (int k = 1; k <= kBinTotal; ++k) {
        c.o.at(k - 1) = BuildStack(c.Picture1, k);
    }
    c.Picture2 = RedSquare(c.Picture1, c.Picture1->toPixels({kStartX, kStartY}).toPoint());
    auto *Line1 = new LineControl(0, 120, 120, c.Picture1);
    Line1->move(c.Picture1->toPixels({}).toPoint() + Line1->pos());
    Line1->lower();
}

// Buttons and captions are named by their texts; the controls whose text is
// a value, or that show a picture, get a name of their own.
void NameForScreenReaders(const Form1Controls &c) {
    c.Text1->setAccessibleName(QStringLiteral("落下速度"));
    c.Label1->setAccessibleName(QStringLiteral("実験回数"));
    c.Picture1->setAccessibleName(QStringLiteral("ポコリンの落下の実験"));
    c.Picture3->setAccessibleName(QStringLiteral("理論上の数学的確率"));
    c.Picture4->setAccessibleName(QStringLiteral("実験結果からの割合"));
}

} // namespace

Form1Controls BuildForm1Controls(QWidget *form) {
    Form1Controls c{};
    // Made in tab order, so that the start button is first of all.
    c.Command1 = Button(form, QStringLiteral("開始"), TwipsRect(8040, 7440, 1500, 375), 12);
    c.Command2 = Button(form, QStringLiteral("停止"), TwipsRect(6360, 7440, 1500, 375), 12);
    c.Command3 = Button(form, QStringLiteral("終了"), TwipsRect(0, 0, 975, 375), 11.25);
    c.Command4 = Button(form, QStringLiteral("初期化"), TwipsRect(8880, 0, 975, 375), 11.25);
    c.Command5 = Button(form, QStringLiteral("HELP"), TwipsRect(7920, 0, 975, 375), 11.25);
    c.Text1 = new QLineEdit(QStringLiteral("100"), form);
    c.Text1->setGeometry(TwipsRect(5160, 7440, 495, 270));
    // The system's own default face may have no glyphs at all (Wine's has none).
    c.Text1->setFont(DesignFont(9, false));

    (new LineControl(0, 9840, 360, form))->lower(); // Line2, drawn under the top row
    c.Label3 =
        Label(form, QStringLiteral("ポコリンの落下の実験"), TwipsRect(2520, 0, 4935, 375), 15.75);
    Frame(c.Label3, QColor(255, 192, 128));
    c.Label2 = Label(form, QStringLiteral("実験回数"), TwipsRect(720, 7440, 1455, 375), 14.25);
    Frame(c.Label2, Qt::white);
    c.Label1 = Label(form, QString(), TwipsRect(2160, 7440, 1215, 375), 14.25);
    Frame(c.Label1, Qt::white);
    c.Label4 = Label(form, QStringLiteral("落下速度"), TwipsRect(4080, 7440, 1095, 255), 11.25);

    BuildBoard(c, form);
    c.Picture3 = Strip(form, 6600);
    c.Picture4 = Strip(form, 6960);
    NameForScreenReaders(c);
    return c;
}

} // namespace pokorin
