// ORB4 board model speed: loading and saving a file of 1,000 fully described boards, and the SV
// calculation of one fully described board. Prints each figure beside its target.
#include "boards/orb/orb4/ORB4Board.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

TCondition Point(uint32_t n, uint8_t s, bool a = false)
{
    TCondition c;
    c.SetPoint(n, s, a);
    return c;
}
TCondition Sensor(uint32_t n, uint32_t o, uint8_t s, bool a = false)
{
    TCondition c;
    c.SetSensor(n, o, s, a);
    return c;
}
TCondition Signal(uint32_t n, uint8_t s, bool a = false)
{
    TCondition c;
    c.SetSignal(n, s, a);
    return c;
}
TCondition Zone(uint8_t s, bool a = false)
{
    TCondition c;
    c.SetZone(s, a);
    return c;
}

// Every place of every set filled; 45 points and sensors, 8 outside signals.
void DescribeFully(TORB4Board& b, uint32_t seed)
{
    b.Name = "Bench board " + std::to_string(seed);
    b.SerialNumber = 1 + seed;
    b.Notes = "fully described";
    b.SetSignalBaseAddress(101 + seed % 50);
    const uint32_t base = b.GetSignalBaseAddress();
    for (uint32_t n = 1; n <= 10; ++n) {
        TSignal& s = b.GetSignal(n);
        s.SetType(n % 3 == 0 ? estDiverging : estBlock);
        s.Name = "Signal " + std::to_string(n);
        s.Description = "bench signal";
        s.HeadType = static_cast<int>(n % 14);
        s.JunctionPoint = 200 + n;
        s.TranspondingZone = n * 37;
        s.SetRevZone(static_cast<uint8_t>(n % 7));
        s.NextSignal = n < 10 ? base + n : 900;
        s.NextSignalThrown = 910 + n;
        s.SetNextModeThrown(static_cast<uint8_t>(n % 4));
        const uint32_t p = 10 * n;
        auto fill = [&](TConditionSet& set) {
            for (uint32_t i = 0; i < set.Count(); ++i)
                set.ConditionAt(i) = i % 4 == 0   ? Point(p + i % 2, i % 2, true)
                                     : i % 4 == 1 ? Sensor(p, 1 + n % 16, 1)
                                     : i % 4 == 2 ? Signal(920 + i % 3, 0, true)
                                                  : Zone(static_cast<uint8_t>(i % 6));
        };
        fill(s.BlockOccupiedSet());
        fill(s.RedSet());
        if (s.BlockOccupiedThrownSet()) fill(*s.BlockOccupiedThrownSet());
        if (s.RedThrownSet()) fill(*s.RedThrownSet());
        fill(s.AuxSet());
        fill(s.IsolationOverrideSet());
    }
    for (uint32_t z = 1; z <= 3; ++z) {
        TRevRunZone& r = b.GetZone(z);
        r.Name = "Zone " + std::to_string(z);
        for (TConditionSet* set : {&r.WestEastSet(), &r.EastWestSet(), &r.FreezeSet(), &r.ShuntSet()})
            for (uint32_t i = 0; i < set->Count(); ++i)
                set->ConditionAt(i) = i % 2 ? Sensor(400 + z, 4 + i % 2, 0, true) : Point(400 + z, 1);
    }
}

double Millis(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Timing {
    double WallMs = 1e300;
    double CpuMs = 1e300;
};

// The shortest of `runs` runs, in wall-clock and in process CPU time.
template <class F> Timing Best(int runs, F&& f)
{
    Timing best;
    for (int i = 0; i < runs; ++i) {
        const std::clock_t c0 = std::clock();
        const auto t0 = Clock::now();
        f();
        const double wall = Millis(Clock::now() - t0);
        const double cpu = 1000.0 * static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
        if (wall < best.WallMs) best.WallMs = wall;
        if (cpu < best.CpuMs) best.CpuMs = cpu;
    }
    return best;
}

} // namespace

int main()
{
    constexpr int kBoards = 1000;
    std::vector<std::unique_ptr<TORB4Board>> boards;
    for (int i = 0; i < kBoards; ++i) {
        boards.push_back(std::make_unique<TORB4Board>());
        DescribeFully(*boards.back(), static_cast<uint32_t>(i));
    }
    if (!boards.front()->CalculateSVs()) {
        std::printf("the bench board does not fit its device table\n");
        return 1;
    }

    // Each figure is the best of several runs, so that other work on the machine does not count.
    std::string file;
    const Timing save = Best(5, [&] {
        std::ostringstream out;
        for (auto& b : boards) b->SaveToStream(out);
        file = out.str();
    });

    std::vector<std::unique_ptr<TORB4Board>> loaded;
    const Timing load = Best(5, [&] {
        loaded.clear();
        std::istringstream in(file);
        while (in.peek() != std::char_traits<char>::eof()) {
            loaded.push_back(std::make_unique<TORB4Board>());
            loaded.back()->LoadFromStream(in);
        }
    });
    if (loaded.size() != boards.size()) {
        std::printf("loaded %zu boards instead of %d\n", loaded.size(), kBoards);
        return 1;
    }

    TORB4Board& b = *boards[7];
    constexpr int kRuns = 2000;
    bool ok = true;
    const Timing calc = Best(10, [&] {
        for (int i = 0; i < kRuns; ++i) ok = b.CalculateSVs() && ok;
    });
    const double calcUs = calc.WallMs * 1000.0 / kRuns;

    std::printf("file of %d ORB4 boards: %zu bytes\n", kBoards, file.size());
    std::printf("save %d ORB4 boards: %8.2f ms (cpu %.2f ms)   target < 200 ms\n", kBoards, save.WallMs, save.CpuMs);
    std::printf("load %d ORB4 boards: %8.2f ms (cpu %.2f ms)   target < 200 ms\n", kBoards, load.WallMs, load.CpuMs);
    std::printf("CalculateSVs, full ORB4: %8.2f us (cpu %.2f us)   target < 50 us%s\n", calcUs,
                calc.CpuMs * 1000.0 / kRuns, ok ? "" : "  [calculation failed]");
    return save.WallMs < 200 && load.WallMs < 200 && calcUs < 50 && ok ? 0 : 1;
}
