#include "main_window_controls.h"

#include "board/board_view.h"
#include "board/number_strip.h"
#include "core/shown_texts.h"
#include "window/enter_button.h"
#include "window/fonts.h"
#include "window/rule.h"
#include "window/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pokorin {
namespace {

QPushButton *Button(QWidget *window, const QString &caption, QRect place, double pointSize) {
    auto *button = new EnterButton(caption, window);
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
    c.startButton = Button(window, kStartButton, TwipsRect(8040, 7440, 1500, 375), 12);
    c.stopButton = Button(window, kStopButton, TwipsRect(6360, 7440, 1500, 375), 12);
    c.quitButton = Button(window, kQuitButton, TwipsRect(0, 0, 975, 375), 11.25);
    c.initialiseButton = Button(window, kInitialiseButton, TwipsRect(8880, 0, 975, 375), 11.25);
    c.helpButton = Button(window, kHelpButton, TwipsRect(7920, 0, 975, 375), 11.25);
    c.fallSpeedField = new QLineEdit(window);
    c.fallSpeedField->setGeometry(TwipsRect(5160, 7440, 495, 270));
    // The system's own default face may have no glyphs at all (Wine's has
    // none); set before the text, which is then laid out once.
    c.fallSpeedField->setFont(DesignFont(9, false));
    c.fallSpeedField->setText(kDefaultFallSpeed);

    (new Rule(0, 9840, 360, window))->lower(); // the rule under the top row
    c.title = Label(window, kTitle, TwipsRect(2520, 0, 4935, 375), 15.75);
    Frame(c.title, QColor(255, 192, 128));
    c.dropCounterCaption =
        Label(window, kDropCounterCaption, TwipsRect(720, 7440, 1455, 375), 14.25);
    Frame(c.dropCounterCaption, Qt::white);
    c.dropCounter = Label(window, QString(), TwipsRect(2160, 7440, 1215, 375), 14.25);
    Frame(c.dropCounter, Qt::white);
    c.fallSpeedCaption = Label(window, kFallSpeedCaption, TwipsRect(4080, 7440, 1095, 255), 11.25);

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
