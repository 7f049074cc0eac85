#pragma once

#include <QString>

namespace pokorin {

enum class ChimeCommand { Stop, Close, Open, Sound };

// The multimedia device the chimes are played through, driven like the
// classic control: set FileName, then issue commands. It never fails towards
// its caller: whatever goes wrong only means silence.
class ChimeDevice {
public:
    virtual ~ChimeDevice() = default;
    virtual void setCommand(ChimeCommand command) = 0;
    virtual void setFileName(const QString &fileName) = 0;
};

} // namespace pokorin
