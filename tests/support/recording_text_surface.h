#pragma once

#include "board/text_surface.h"

#include <QStringList>

namespace pokorin::test {

// Remembers what a strip would show, and every operation made on it.
class RecordingTextSurface final : public TextSurface {
public:
    QStringList operations;

    void clear() override { operations << QStringLiteral("clear"); }
    void setCurrentX(float x) override { operations << QStringLiteral("x %1").arg(x); }
    void setCurrentY(float y) override { operations << QStringLiteral("y %1").arg(y); }
    void print(const std::string &text) override {
        operations << QStringLiteral("print ") + QString::fromStdString(text);
    }

    // The texts printed since the last clear, in order.
    QStringList shownTexts() const {
        QStringList texts;
        for (const QString &op : operations) {
            if (op == QLatin1String("clear")) {
                texts.clear();
            } else if (op.startsWith(QLatin1String("print "))) {
                texts << op.mid(6);
            }
        }
        return texts;
    }
};

} // namespace pokorin::test
