#pragma once

#include "quit_confirmation.h"

#include <QMessageBox>
#include <memory>

namespace pokorin {

// The modal box "終了していいですか？" with Yes (the default) and No, no icon.
std::unique_ptr<QMessageBox> MakeQuitBox(QWidget *parent);

class QuitBox final : public QuitConfirmation {
public:
    void ask(QWidget *parent, std::function<void(bool yes)> answered) override;
};

} // namespace pokorin
