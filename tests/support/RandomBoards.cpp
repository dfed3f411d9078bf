#include "support/RandomBoards.h"

#include "boards/BoardFactory.h"
#include "boards/kpx9/KPX9Board.h"
#include "boards/orb/orb4/ORB4Board.h"
#include "boards/orb/orb8/ORB8Board.h"
#include "boards/qxp6/QXP6Board.h"
#include "boards/rvn2/RVN2Board.h"

#include <random>
#include <vector>

namespace {

class TRandom {
public:
    TRandom(uint32_t seed, bool holdable) : Engine(seed), Holdable(holdable) {}

    uint32_t operator()(uint32_t low, uint32_t high) { return std::uniform_int_distribution<uint32_t>(low, high)(Engine); }
    bool Chance(uint32_t percent) { return (*this)(1, 100) <= percent; }
    template <class T> const T& Pick(const std::vector<T>& items) { return items[(*this)(0, uint32_t(items.size() - 1))]; }
    // A sensor number: within the low byte the device tables keep, unless unholdable ones may come.
    uint32_t SensorNumber() { return (*this)(1, Holdable ? 255 : 2048); }
    std::string Name(uint32_t maxLength)
    {
        std::string name;
        for (uint32_t i = (*this)(0, maxLength); i > 0; --i) name += static_cast<char>(Chance(15) ? ' ' : 'a' + (*this)(0, 25));
        return name;
    }

    std::mt19937 Engine;
    const bool Holdable;
};

struct TDevice {
    uint8_t Type;
    uint32_t Number;
    uint32_t Offset;
};

// Points, sensors and signals a board's conditions draw from: few enough for its device table.
std::vector<TDevice> DevicePool(TRandom& r, uint32_t points, uint32_t sensors, uint32_t signals)
{
    std::vector<TDevice> pool;
    for (uint32_t i = 0; i < points; ++i) pool.push_back({1, r(1, 2048), 0});
    for (uint32_t i = 0; i < sensors; ++i) pool.push_back({2, r.SensorNumber(), r(1, 16)});
    for (uint32_t i = 0; i < signals; ++i) pool.push_back({3, r(1, 2048), 0});
    return pool;
}

template <class TSet> void FillSet(TSet& set, TRandom& r, const std::vector<TDevice>& pool, bool zones)
{
    for (int i = 0; i < static_cast<int>(set.Count()); ++i) {
        auto& c = set.ConditionAt(i);
        c.Clear();
        if (r.Chance(40)) continue;
        const bool andNext = r.Chance(30);
        if (zones && r.Chance(15)) {
            c.DeviceType = edtZone;
            c.State = static_cast<uint8_t>(r(0, 5));
            c.AndNext = andNext;
            continue;
        }
        const TDevice& d = r.Pick(pool);
        c.DeviceType = d.Type;
        c.Number = d.Number;
        c.Offset = d.Offset;
        c.State = static_cast<uint8_t>(r(0, 1));
        c.AndNext = andNext;
    }
}

void DescribeSignalController(TSignalControllerBoard& b, TRandom& r)
{
    b.SetSignalBaseAddress(r(1, 2039));
    b.ReportSPAD = static_cast<uint8_t>(r(0, 1));
    b.IsolationDelay = r(0, 32);
    b.LampBrightnessSim = static_cast<uint8_t>(r(0, 1));
    const std::vector<TDevice> pool = DevicePool(r, 20, 20, 10);
    std::vector<uint32_t> signals;
    for (const TDevice& d : pool)
        if (d.Type == edtSignal) signals.push_back(d.Number);
    auto nextSignal = [&] {
        const uint32_t kind = r(0, 2);
        return kind == 0 ? 0 : kind == 1 ? b.GetSignalBaseAddress() + r(0, 9) : r.Pick(signals);
    };
    for (uint32_t n = 1; n <= TSignalControllerBoard::kSignalCount; ++n) {
        TSignal& s = b.GetSignal(n);
        s.SetType(static_cast<uint8_t>(r(0, 1)));
        s.HeadType = static_cast<int>(r(0, 13));
        s.JunctionPoint = pool[r(0, 19)].Number;
        s.TranspondingZone = r(0, 2048);
        s.SetRevZone(static_cast<uint8_t>(r(0, 6)));
        s.NextSignal = nextSignal();
        s.NextSignalThrown = nextSignal();
        s.SetNextMode(static_cast<uint8_t>(r(0, 3)));
        s.SetNextModeThrown(static_cast<uint8_t>(r(0, 3)));
        FillSet(s.BlockOccupiedSet(), r, pool, true);
        FillSet(s.RedSet(), r, pool, true);
        if (TConditionSet* t = s.BlockOccupiedThrownSet()) FillSet(*t, r, pool, true);
        if (TConditionSet* t = s.RedThrownSet()) FillSet(*t, r, pool, true);
        FillSet(s.AuxSet(), r, pool, true);
        FillSet(s.IsolationOverrideSet(), r, pool, true);
    }
    for (uint32_t z = 1; z <= TSignalControllerBoard::kZoneCount; ++z) {
        TRevRunZone& zone = b.GetZone(z);
        FillSet(zone.WestEastSet(), r, pool, true);
        FillSet(zone.EastWestSet(), r, pool, true);
        FillSet(zone.FreezeSet(), r, pool, true);
        FillSet(zone.ShuntSet(), r, pool, true);
    }
}

void DescribeORB4(TORB4Board& b, TRandom& r)
{
    DescribeSignalController(b, r);
    b.DisplayMode = static_cast<uint8_t>(r(0, 1));
    b.SensorConfig().SensorBoardNumber = r(1, r.Holdable ? 255 : 256);
    for (auto& pair : b.SensorConfig().PairConfig) pair = static_cast<uint8_t>(r(0, 2));
    b.HighCurrentConfig().Outputs1to4 = static_cast<uint8_t>(r(0, 1));
    b.HighCurrentConfig().Outputs5to8 = static_cast<uint8_t>(r(0, 1));
    b.HighCurrentConfig().DCCBaseAddress = r(1, 2048);
}

void DescribeORB8(TORB8Board& b, TRandom& r)
{
    DescribeSignalController(b, r);
    b.Signals1to4Leds = static_cast<uint8_t>(r(0, 1));
    b.Signals5to8Leds = static_cast<uint8_t>(r(0, 1));
    b.AuxOutputs = static_cast<uint8_t>(r(0, 1));
    b.InterrogateAtPowerUp = static_cast<uint8_t>(r(0, 1));
    b.LocoNetSwitchCommands = static_cast<uint8_t>(r(0, 1));
    b.RedReleaseDelay = r(0, 32);
    b.SensorConfig().SensorBoardNumber = r(1, r.Holdable ? 255 : 256);
    b.SensorConfig().OnBoardInputs = static_cast<uint8_t>(r(0, 3));
    b.SensorConfig().ExternalInputs = static_cast<uint8_t>(r(0, 3));
}

void DescribeKPX9(TKPX9Board& b, TRandom& r)
{
    b.SetToFromRoutes(r.Chance(30));
    b.SensorBoardNumber = r(0, 255);
    b.SensorsUsed = static_cast<uint8_t>(r(0, 4));
    b.PowerUpMode = static_cast<uint8_t>(r(0, 2));
    b.RouteDccAddress = r(1, 2048);
    b.SlaveDccAddress = r(1, 2048);
    b.InterlockDccAddress = r(1, 2048);
    b.PointDelay = r(0, 250);
    std::vector<uint32_t> pointAddresses{r(1, 2048)};
    for (uint32_t i = 0; i < kKPX9CellCount; ++i) {
        TKPX9Cell& c = b.GetCell(i);
        c.SetDefaults();
        c.CellType = static_cast<uint8_t>(r(0, kKPX9CellTypeCount - 1));
        c.Address = c.CellType == eKPX9Copy ? r(1, 30) : r(1, c.CellType == eKPX9Sensor && r.Holdable ? 255 : 2048);
        c.ButtonAEffect = static_cast<uint8_t>(r(0, kKPX9EffectCount - 1));
        c.ButtonBEffect = static_cast<uint8_t>(r(0, kKPX9EffectCount - 1));
        c.ButtonARoute = r(1, 24);
        c.ButtonBRoute = r(1, 24);
        c.Initialise = static_cast<uint8_t>(r(0, 2));
        c.Token = r(0, 4);
        c.CascadeMode = static_cast<uint8_t>(r(0, 2));
        c.CascadeCell = r(1, 30);
        c.TurnoutFeedback = r.Chance(30);
        c.SensorFlash = r.Chance(50);
        c.SensorNumber = r(1, 16);
        c.Aspect = static_cast<uint8_t>(r(0, 4));
        c.ZoneFlash = r.Chance(50);
        c.InterlockNumber = r(1, 4);
        c.RelayNumber = r(1, 4);
        if (c.CellType == eKPX9PM42Relay && r.Holdable) c.Address = r(1, 255);
        if (c.CellType == eKPX9Point) pointAddresses.push_back(c.Address);
    }
    for (uint32_t i = 0; i < kKPX9RouteCount; ++i) {
        TKPX9Route& route = b.GetRoute(i);
        route.EntryCount = 0;
        route.FromButton = r(1, 24);
        route.ToButton = r(1, 24);
        route.Cascade = r.Chance(30);
        route.CascadeRoute = r(1, 24);
        for (uint32_t wanted = r(0, 12); route.EntryCount < wanted;) {
            const uint32_t address = r.Chance(60) ? r.Pick(pointAddresses) : r(1, 2048);
            route.SetEntry(route.EntryCount, address, static_cast<uint8_t>(r(1, 2)));
            if (!route.Fits(b.Cells)) {
                route.SetEntry(route.EntryCount - 1, 1, eKPX9Undef);
                break;
            }
        }
    }
}

void DescribeRVN2(TRVN2Board& b, TRandom& r)
{
    b.SensorConfig.ConfigCode = static_cast<uint8_t>(r(0, 4));
    b.SensorConfig.SensorBoardNumber = r(0, 255);
    for (size_t q = 0; q < TRVN2Board::kSequenceCount; ++q) {
        TRVN2Sequence& sequence = b.GetSequence(q);
        sequence.SequenceType = static_cast<uint8_t>(r(0, 2));
        sequence.Name = r.Name(15);
        sequence.ActiveSteps = r(0, 16);
        for (auto& step : sequence.Steps) {
            step.Reset();
            step.Action = static_cast<uint8_t>(r(0, 9));
            if (step.Action == eActNone) continue; // the editor resets a step that has no action
            step.Trigger = static_cast<uint8_t>(r(0, 3));
            step.Delay = r(0, 1000);
            step.TriggerPoint = r(1, 2048);
            step.TriggerSensorBoard = r(1, 256);
            step.TriggerSensorInput = r(1, 16);
            step.Iterations = r(0, r.Holdable ? 255 : 1000);
            step.RetriggerStep = r(0, 16);
            step.SpeedChangeTime = step.Action <= eActStartDirB ? r(0, (100 - step.Action) / 8) : r(0, 12);
            step.FunctionNumber = r(0, 28);
            step.FunctionTime = r(1, 7);
            if (r.Holdable && step.FunctionNumber == 12 && step.FunctionTime == 4) step.FunctionTime = 5;
            step.ActionPoint = r(1, 2048);
        }
    }
}

void DescribeQXP6(TQXP6Board& b, TRandom& r)
{
    b.SetBaseAddress(r(1, 2041));
    b.Use16Addresses = r.Chance(50);
    b.LocoNetCommands = r.Chance(50);
    b.CduDelay = r(0, 32);
    b.StateMemoryLocation = r(1, 40);
    b.SensorBoardNumber = r(1, r.Holdable ? 255 : 256);
    b.RouteBaseAddress = r(1, 2048);
    std::vector<TDevice> pool = DevicePool(r, 12, 12, 12);
    for (uint32_t k = 0; k < 8; ++k) pool.push_back({1, b.GetBaseAddress() + k, 0});
    for (uint32_t k = 1; k <= 10; ++k) pool.push_back({2, b.SensorBoardNumber, k});
    for (int i = 0; i < TQXP6Board::kOutputCellCount; ++i) {
        TQXP6Cell& c = *b.GetOutputCell(i);
        c.OutputType = static_cast<uint8_t>(r(0, 8));
        c.TimeSetting = r(0, 8);
        c.SimulateBrightness = r.Chance(50);
        c.InvertOutputs = r.Chance(50);
        c.FollowCell = r(0, 8);
        c.MessageType = static_cast<uint8_t>(r(0, 5));
        c.ConditionTime = r(0, 255);
        c.ChangeDelay = r(0, 255);
        FillSet(c.ClosedConditions, r, pool, false);
        FillSet(c.ThrownConditions, r, pool, false);
        FillSet(c.FreezeConditions, r, pool, false);
    }
    for (int i = 0; i < TQXP6Board::kInputCellCount; ++i) {
        TQXP6InputCell& c = *b.GetInputCell(i);
        c.InputType = static_cast<uint8_t>(r(0, 5));
        c.MessageType = static_cast<uint8_t>(r(0, 4));
    }
    for (int i = 0; i < TQXP6Board::kRouteCount; ++i) {
        TQXP6Route& route = *b.GetRoute(i);
        route.EntryCount = 0;
        for (uint32_t wanted = r(0, 12); route.EntryCount < wanted;) {
            const uint32_t address = r.Chance(50) ? b.GetBaseAddress() + r(0, 7) : r(1, 2048);
            route.SetEntry(static_cast<int>(route.EntryCount), address, static_cast<uint8_t>(r(1, 2)));
            if (!route.Fits()) {
                route.SetEntry(static_cast<int>(route.EntryCount) - 1, 1, eQXP6Undef);
                break;
            }
        }
        FillSet(route.TriggerConditions, r, pool, false);
    }
}

} // namespace

void DescribeRandomly(TConfigurableBoard& board, uint32_t seed, bool holdable)
{
    TRandom r(seed, holdable);
    board.Name = r.Name(20);
    board.SerialNumber = r(1, holdable ? 65535 : 65536);
    if (auto* b = dynamic_cast<TORB4Board*>(&board)) DescribeORB4(*b, r);
    if (auto* b = dynamic_cast<TORB8Board*>(&board)) DescribeORB8(*b, r);
    if (auto* b = dynamic_cast<TKPX9Board*>(&board)) DescribeKPX9(*b, r);
    if (auto* b = dynamic_cast<TRVN2Board*>(&board)) DescribeRVN2(*b, r);
    if (auto* b = dynamic_cast<TQXP6Board*>(&board)) DescribeQXP6(*b, r);
}

std::unique_ptr<TConfigurableBoard> RandomBoard(int type, uint32_t seed, bool holdable)
{
    auto board = CreateBoardOfType(type);
    if (board) DescribeRandomly(*board, seed, holdable);
    return board;
}
