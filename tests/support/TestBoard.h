#pragma once
// A small board class for tests of the board base, the board list and the board commands.
// Its record is three lines: the board line (tag, name, serial, a number), the description line
// and a line of its own.

#include "boards/BoardFactory.h"
#include "boards/ConfigurableBoard.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class TTestBoard : public TConfigurableBoard {
public:
    explicit TTestBoard(int type = eORB4, uint32_t svCount = 512,
                        std::vector<uint32_t> unused = {1, 2, 7, 8, 29, 510, 511, 512})
        : Type(type), Unused(std::move(unused))
    {
        Name = "Test " + BoardTypeTag(type);
        SetSVCount(svCount);
    }

    std::string GetBoardType() const override { return BoardTypeTag(Type); }
    bool IsBoardIdentity(uint32_t manufacturerId, uint32_t productId, uint32_t serial) const override
    {
        return manufacturerId == 1 && productId == static_cast<uint32_t>(Type) + 1 && serial == SerialNumber;
    }
    void SaveToStream(std::ostream& stream) override
    {
        ClearFields();
        SetText(0, BoardTypeTag(Type) + "_BOARD");
        SetText(1, Name);
        SetNumber(2, SerialNumber);
        SetNumber(3, Level);
        WriteLine(stream);
        ClearFields();
        SetText(1, Notes);
        WriteLine(stream);
        ClearFields();
        SetText(1, "test_config");
        SetNumber(2, Level * 2);
        WriteLine(stream);
    }
    void LoadFromStream(std::istream& stream) override
    {
        ReadLine(stream);
        Name = GetText(1);
        SerialNumber = static_cast<uint32_t>(GetNumber(2));
        Level = GetNumber(3);
        ReadLine(stream);
        Notes = GetText(1);
        ReadLine(stream);
        Tail = GetText(1);
    }
    // Level goes to SV5 (and, from firmware 2 on, to SV6 as well); a negative level does not fit.
    bool CalculateSVs() override
    {
        TConfigurableBoard::CalculateSVs();
        SetSV(5, static_cast<uint8_t>(Level));
        if (SWVersion >= 2) SetSV(6, static_cast<uint8_t>(Level));
        return Level >= 0;
    }
    std::string GetSVErrorText() const override { return "SV Calculation Error: level below zero"; }
    void DecodeSVs() override
    {
        TConfigurableBoard::DecodeSVs();
        Level = GetSV(5);
    }
    const std::vector<uint32_t>& GetProtectedSVs() const override { return Protected; }
    const std::vector<uint32_t>& GetUnusedSVs() const override { return Unused; }
    void DisplayBoard(std::vector<std::string>& lines) override
    {
        TConfigurableBoard::DisplayBoard(lines);
        lines.push_back("Level: " + std::to_string(Level));
        lines.push_back("User Description: " + Notes);
    }

    int Type;
    int Level = 0;
    std::string Notes = "Unassigned";
    std::string Tail;

private:
    std::vector<uint32_t> Protected{1, 2, 7, 8, 29};
    std::vector<uint32_t> Unused;
};

// Makes the test board as the board of every type, for a board list or the board commands.
inline std::unique_ptr<TConfigurableBoard> MakeTestBoard(int type)
{
    if (type < 0 || type >= kBoardTypeCount) return nullptr;
    return std::make_unique<TTestBoard>(type);
}
