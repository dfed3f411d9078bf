#pragma once
// The QXP6 accessory decoder: eight output cells, ten input cells and eight routes, with the
// decoder settings, turned into the board's 512 SVs and back, written to and read from its
// board-file record and described as text.

#include "boards/ConfigurableBoard.h"
#include "boards/qxp6/QXP6Cell.h"
#include "boards/qxp6/QXP6ExtDevTable.h"
#include "boards/qxp6/QXP6InputCell.h"
#include "boards/qxp6/QXP6Route.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TQXP6Board : public TTypedBoard {
public:
    static constexpr int kOutputCellCount = 8;
    static constexpr int kInputCellCount = 10;
    static constexpr int kRouteCount = 8;

    TQXP6Board();

    void SaveToStream(std::ostream& stream) override;
    void LoadFromStream(std::istream& stream) override;
    bool CalculateSVs() override; // false when the device table cannot hold every device the cells and routes call up
    void DecodeSVs() override;
    void DisplayBoard(std::vector<std::string>& lines) override;
    std::unique_ptr<TConfigurableBoard> Clone() const override { return std::make_unique<TQXP6Board>(*this); }
    void AddHeldValues(THeldValues& values) const override;

    // Sets the base address of the board and every copy of it (cells, routes, device table).
    void SetBaseAddress(uint32_t value);
    uint32_t GetBaseAddress() const { return BaseAddress; }

    // By index 0..7, 0..9, 0..7; none out of range.
    TQXP6Cell* GetOutputCell(int index);
    const TQXP6Cell* GetOutputCell(int index) const;
    TQXP6InputCell* GetInputCell(int index);
    const TQXP6InputCell* GetInputCell(int index) const;
    TQXP6Route* GetRoute(int index);
    const TQXP6Route* GetRoute(int index) const;

    const TQXP6ExtDevTable& GetDeviceTable() const { return DeviceTable; }

    std::string Notes = "Unassigned";
    bool Use16Addresses = false;
    bool LocoNetCommands = false;
    uint32_t CduDelay = 8; // recharge time of the capacitor discharge unit, in 0.1 s
    uint32_t StateMemoryLocation = 0;
    uint32_t SensorBoardNumber = 16;
    uint32_t RouteBaseAddress = 1000; // the DCC address that activates routes

private:
    TQXP6ExtDevTable DeviceTable;
    std::array<TQXP6Cell, kOutputCellCount> OutputCells;
    std::array<TQXP6InputCell, kInputCellCount> InputCells;
    std::array<TQXP6Route, kRouteCount> Routes;
    uint32_t BaseAddress = 1;
};
