#pragma once
// The sensor inputs of an RVN2 board: whether its inputs are used as general sensor inputs,
// which group of sixteen numbers they report, and the sensor board address they report as.

#include "boards/CsvIo.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

class TRVN2SensorConfig : public TCsvIo {
public:
    static constexpr uint8_t kConfigCount = 5;

    TRVN2SensorConfig();

    // The name of the configuration code, for the description.
    std::string GetConfigName() const;
    void GetTextLines(std::vector<std::string>& lines) const;

    void SaveToStream(std::ostream& stream);
    void LoadFromStream(std::istream& stream);

    // 0 not used; 1 to 4: general sensor inputs numbered 1-4, 5-8, 9-12, 13-16.
    uint8_t ConfigCode = 0;
    uint32_t SensorBoardNumber = 10;
};
