#include "main_window_controls.h"

#include "board/board_view.h"
#include "board/number_strip.h"
#include "core/fall_speed.h"
#include "main_window_design.h"
#include "window/enter_button.h"
#include "window/fonts.h"
#include "window/rule.h"
#include "window/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pokorin {
namespace {

QRect Place(const ControlDesign &design) {
    return TwipsRect(design.left, design.top, design.width, design.height);
}

QFont Font(const ControlDesign &design) {
    return DesignFont(design.pointSize, design.bold);
}

QPushButton *Button(QWidget *window, const ControlDesign &design) {
    auto *button = new EnterButton(design.caption, window);
    button->setGeometry(Place(design));
    button->setFont(Font(design));
    return button;
}

QLabel *Label(QWidget *window, const ControlDesign &design) {
    auto *label = new QLabel(design.caption, window);
    label->setGeometry(Place(design));
    label->setFont(Font(design));
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

// Buttons and captions are named by their texts; the controls whose text is
// a value, or that show a picture, get a name of their own.
void NameForScreenReaders(const MainWindowControls &c) {
    c.fallSpeedField->setAccessibleName(kFallSpeedCaption);
    c.dropCounter->setAccessibleName(kDropCounterCaption);
    c.board->setAccessibleName(kBoardName);
    c.theoryStrip->setAccessibleName(kTheoryHeading);
    c.ratioStrip->setAccessibleName(kRatioHeading);
}

} // namespace

MainWindowControls BuildMainWindowControls(QWidget *window) {
    MainWindowControls c{};
    // Made in tab order, so that the start button is first of all.
    c.startButton = Button(window, kStartDesign);
    c.stopButton = Button(window, kStopDesign);
    c.quitButton = Button(window, kQuitDesign);
    c.initialiseButton = Button(window, kInitialiseDesign);
    c.helpButton = Button(window, kHelpDesign);
    c.fallSpeedField = new QLineEdit(window);
    c.fallSpeedField->setGeometry(Place(kFallSpeedFieldDesign));
    // The font before the text, which is then laid out once.
    c.fallSpeedField->setFont(Font(kFallSpeedFieldDesign));
    c.fallSpeedField->setText(QString::number(kDefaultIntervalMs));

    (new Rule(0, 9840, 360, window))->lower(); // the rule under the top row
    c.title = Label(window, kTitleDesign);
    Frame(c.title, QColor(255, 192, 128));
    c.dropCounterCaption = Label(window, kDropCounterCaptionDesign);
    Frame(c.dropCounterCaption, Qt::white);
    c.dropCounter = Label(window, kDropCounterDesign);
    Frame(c.dropCounter, Qt::white);
    c.fallSpeedCaption = Label(window, kFallSpeedCaptionDesign);

    c.board = new BoardView(window);
    c.board->move(TwipsRect(120, 480, 0, 0).topLeft());
    c.theoryStrip = new NumberStrip(TwipsRect(120, 6600, 9615, 255), window);
    c.theoryStrip->showNumbers(kTheoryHeading,
                               QStringList(kTheoryTexts.begin(), kTheoryTexts.end()));
    c.ratioStrip = new NumberStrip(TwipsRect(120, 6960, 9615, 255), window);
    c.ratioStrip->showNumbers(kRatioHeading, {});
    NameForScreenReaders(c);
    return c;
}

} // namespace pokorin
