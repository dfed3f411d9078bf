#pragma once
// The KPX9 "Lever Panel Master": a control-panel board with 30 panel cells and 24 routes that runs
// STANDALONE, as a SLAVE or INTERLOCKED. Turns its description into the board's 512 SVs and back,
// writes and reads its 56-line record in the board file, and writes its text description.

#include "boards/ConfigurableBoard.h"
#include "boards/kpx9/KPX9Cell.h"
#include "boards/kpx9/KPX9Route.h"

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using TKPX9Routes = std::array<TKPX9Route, kKPX9RouteCount>;

class TKPX9Board : public TTypedBoard {
public:
    TKPX9Board();

    void SaveToStream(std::ostream& stream) override;
    void LoadFromStream(std::istream& stream) override;
    bool CalculateSVs() override; // false when a route has more entries than its SVs hold
    void DecodeSVs() override;
    void DisplayBoard(std::vector<std::string>& lines) override;
    std::unique_ptr<TConfigurableBoard> Clone() const override { return std::make_unique<TKPX9Board>(*this); }
    void AddHeldValues(THeldValues& values) const override;

    // Sets the board's flag and the copy that every route keeps.
    void SetToFromRoutes(bool toFrom);
    bool GetToFromRoutes() const { return ToFromRoutes; }

    // Cell i (0..29) and route i (0..23).
    TKPX9Cell& GetCell(uint32_t index) { return Cells.at(index); }
    const TKPX9Cell& GetCell(uint32_t index) const { return Cells.at(index); }
    TKPX9Route& GetRoute(uint32_t index) { return Routes.at(index); }
    const TKPX9Route& GetRoute(uint32_t index) const { return Routes.at(index); }

    // The number (1..30) of the first point cell showing the address; 0 when there is none.
    uint32_t FindPointCell(uint32_t address) const { return ::FindPointCell(address, Cells); }

    // Set by DecodeSVs when route bytes named no valid point (the entry got address 1).
    bool HadDecodeErrors() const { return DecodeErrors; }

    TKPX9Cells Cells;
    TKPX9Routes Routes;
    std::string Notes = "Undefined";
    uint32_t SensorBoardNumber = 10;
    uint8_t SensorsUsed = 1; // interlock mode reads sensors 1-4, 5-8, 9-12 or 13-16 (1 to 4)
    uint8_t PowerUpMode = 0; // 0 standalone, 1 slave, 2 interlocked
    uint32_t RouteDccAddress = 1000; // activates the routes
    uint32_t SlaveDccAddress = 1025; // enters slave mode
    uint32_t InterlockDccAddress = 1027; // enters interlocked mode
    uint32_t PointDelay = 10; // between point outputs, in 0.1 s

private:
    bool ToFromRoutes = false;
    bool DecodeErrors = false;
};
