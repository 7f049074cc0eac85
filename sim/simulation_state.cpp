#include "simulation_state.h"

namespace pokorin {

void SimulationState::ResetSimulation() {
    BallX = kStartX;
    BallY = kStartY;
    BinCount.clear();
    DropCount = 0;
}

} // namespace pokorin
