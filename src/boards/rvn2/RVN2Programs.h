#pragma once
// Ready-made programs for an RVN2 sequence: a station stop (stop at a sensor, wait, go on in the
// same direction) and a shuttle (stop at each end of the line, wait, go back). The sequence
// wizard fills a sequence with these; they replace every step of the sequence.
#include "boards/rvn2/RVN2Sequence.h"

#include <cstdint>

struct TRVN2StationStopSettings {
    uint32_t SensorBoard = 10;
    uint32_t Sensor = 1;
    uint32_t WaitTime = 20; // seconds at the station
    uint32_t StopEvery = 1; // stop on every n-th visit
    uint32_t AccelTime = 2; // seconds to stop and to start
};

struct TRVN2ShuttleSettings {
    uint32_t End1SensorBoard = 10;
    uint32_t End1Sensor = 1;
    uint32_t End1WaitTime = 10; // seconds
    uint32_t End2SensorBoard = 10;
    uint32_t End2Sensor = 2;
    uint32_t End2WaitTime = 10; // seconds
    uint32_t AccelTime = 2; // seconds to stop and to start
};

// Type station stop, two active steps: stop at the sensor (every n-th visit), then start in the
// same direction after the wait time. The other fourteen steps are reset.
void MakeStationStopProgram(TRVN2Sequence& sequence, const TRVN2StationStopSettings& settings);

// Type shuttle, four active steps: stop at the end 2 sensor, start back after the end 2 wait,
// stop at the end 1 sensor, start back after the end 1 wait. Each stop waits for the other end's
// stop before it triggers again. The other twelve steps are reset.
void MakeShuttleProgram(TRVN2Sequence& sequence, const TRVN2ShuttleSettings& settings);
