#include <cstdio>

#include "tracking/tick.h"

int main() {
    // Until the window exists, show the tick's view of the map's centre.
    orbida::tracking::TickInput input;
    input.pi = orbida::tracking::ComputePi();
    input.degToRad = orbida::tracking::ComputeDegToRad(input.pi);
    input.cursorX = 322;
    input.cursorY = 209;
    const orbida::tracking::TickFrame frame = orbida::tracking::ComputeTick(input);
    std::printf("%s\n%s\n", frame.longitudeReadout.value_or("").c_str(),
                frame.latitudeReadout.value_or("").c_str());
    return 0;
}
