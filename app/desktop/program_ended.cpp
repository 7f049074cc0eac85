#include "app/program_ended.h"

namespace pokorin {

void ShowProgramEnded() {} // the process ends, and the desktop shows that

} // namespace pokorin
