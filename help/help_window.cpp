#include "help_window.h"

#include "board/command_button.h"
#include "board/fonts.h"
#include "board/line_control.h"
#include "board/picture_box.h"
#include "board/right_to_left.h"
#include "board/twips_rect.h"
#include "help_text.h"

#include <QEvent>

namespace pokorin {
namespace {

constexpr UnitScale kTwipUnits{1.0, 1.0};

} // namespace

Form2::Form2()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral(" ポコリンの落下の実験＿ヘルプ（設問と操作方法）"));
    setGeometry(firstGeometry());

    // Made first, so that the button covers the rule where they overlap.
    new LineControl(9120, 120, 360, this);

    Command1 = new CommandButton(QStringLiteral("閉じる"), this);
    Command1->setGeometry(TwipsRect(8400, 0, 735, 375));
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);

    Picture1 = new PictureBox(TwipsRect(0, 0, 9015, 4455).size(), PictureFrame::ThinSunken,
                              kTwipUnits, this);
    Picture1->move(TwipsRect(120, 480, 0, 0).topLeft());
    Picture1->setTextFont(DesignFont(11.25, false));
    Picture1->setBackground(Qt::white);
    Picture1->setFocusPolicy(Qt::TabFocus);
    Picture1->setAccessibleName(QStringLiteral("設問と操作方法"));
    MirrorForRightToLeft(*this);

    Command1->setFocus();
}

QRect Form2::firstGeometry() {
    return TwipsRect(3090, 1665, 9255, 5055);
}

bool Form2::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate) {
        Form2Activate();
        emit activated();
    }
    return QWidget::event(event);
}

void Form2::Form2Activate() {
    Picture1->clear();
    for (const std::string &line : kHelpLines) {
        Picture1->print(line);
    }
}

} // namespace pokorin
