#include "help_window.h"

#include "board/drawing_surface.h"
#include "core/shown_texts.h"
#include "window/enter_button.h"
#include "window/fonts.h"
#include "window/right_to_left.h"
#include "window/rule.h"
#include "window/twips.h"
#include "window/window_place.h"

#include <QEvent>

namespace pokorin {
namespace {

constexpr UnitScale kTwipUnits{1.0, 1.0};

} // namespace

HelpWindow::HelpWindow()
    : QWidget(nullptr, kFixedWindowFrame) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kHelpWindowTitle);
    setGeometry(firstGeometry());

    // Made first, so that the button covers the rule where they overlap.
    new Rule(9120, 120, 360, this);

    closeButton_ = new EnterButton(kCloseButton, this);
    closeButton_->setGeometry(TwipsRect(8400, 0, 735, 375));
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);

    textSurface_ = new DrawingSurface(TwipsRect(0, 0, 9015, 4455).size(), SurfaceFrame::ThinSunken,
                                      kTwipUnits, this);
    textSurface_->move(TwipsRect(120, 480, 0, 0).topLeft());
    textSurface_->setTextFont(DesignFont(11.25, false));
    textSurface_->setBackground(Qt::white);
    textSurface_->setFocusPolicy(Qt::TabFocus);
    textSurface_->setAccessibleName(kHelpTextName);
    MirrorForRightToLeft(*this);

    closeButton_->setFocus();
}

QRect HelpWindow::firstGeometry() {
    return ScreenPlace(TwipsRect(3090, 1665, 9255, 5055));
}

bool HelpWindow::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate) {
        printHelpText();
    }
    return QWidget::event(event);
}

void HelpWindow::printHelpText() {
    textSurface_->clear();
    BoardPoint at;
    for (const char *line : kHelpLines) {
        at = textSurface_->print(at, line);
    }
}

} // namespace pokorin
