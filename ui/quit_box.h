#pragma once

#include "quit_confirmation.h"

#include <QMessageBox>
#include <memory>

namespace pokorin {

// The modal box "終了していいですか？" with Yes (the default) and No, no icon.
std::unique_ptr<QMessageBox> MakeQuitBox(QWidget *parent);

class QuitBox final : public QuitConfirmation {
public:
    int ask(QWidget *parent) override;
};

} // namespace pokorin
