// Board file speed: for each of the five board types, a file of 1,000 boards saved, loaded and
// their SVs calculated, each figure printed beside its target. The ORB4 and ORB8 boards are
// described fully (every signal and zone set filled); the KPX9, RVN2 and QXP6 boards are the
// example boards of data/examples, numbered anew. Exits 1 only when something does not work (a
// file that does not load back to the same bytes, an SV calculation that fails), never for time.
#include "boards/BoardData.h"
#include "boards/orb/SignalControllerBoard.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kBoards = 1000;

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
void DescribeFully(TSignalControllerBoard& b, uint32_t seed)
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

// The records of the type's example boards, as the board file holds them.
std::vector<std::string> ExampleRecords(int type)
{
    TBoardData examples;
    const std::string tag = TBoardData::GetTypeName(type);
    std::string file = std::string(RAILSCOPE_SOURCE_DIR) + "/data/examples/layout-";
    for (char c : tag) file += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    examples.LoadFile(type, file + ".csv");
    std::vector<std::string> records;
    for (uint32_t i = 0; i < examples.BoardCount(type); ++i) {
        std::ostringstream out;
        examples.GetBoardForChange(type, i)->SaveToStream(out);
        records.push_back(out.str());
    }
    return records;
}

// 1,000 boards of the type, each with a serial number and name of its own.
bool FillList(TBoardData& data, int type)
{
    const std::vector<std::string> examples =
        type == eORB4 || type == eORB8 ? std::vector<std::string>() : ExampleRecords(type);
    if (type != eORB4 && type != eORB8 && examples.empty()) return false;
    for (uint32_t i = 0; i < kBoards; ++i) {
        TConfigurableBoard* b = data.AddBoard(type);
        if (type == eORB4 || type == eORB8) {
            DescribeFully(static_cast<TSignalControllerBoard&>(*b), i);
            continue;
        }
        std::istringstream in(examples[i % examples.size()]);
        b->LoadFromStream(in);
        b->SerialNumber = 1 + i;
        b->Name += " " + std::to_string(i);
    }
    return true;
}

double Millis(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Timing {
    double WallMs = 1e300;
    double CpuMs = 1e300;
};

// The shortest of `runs` runs, in wall-clock and in process CPU time, so that other work on the
// machine does not count.
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

struct Targets {
    int Type;
    double SaveMs;
    double LoadMs;
    double SVsMs;
};

void Report(const char* what, const Timing& t, double target)
{
    std::printf("  %-22s %8.2f ms (cpu %7.2f ms)   target <= %3.0f ms  %s\n", what, t.WallMs, t.CpuMs, target,
                t.WallMs <= target ? "ok" : "ABOVE TARGET");
}

} // namespace

int main()
{
    // Loading 1,000 fully described ORB4 boards took 80 ms, and saving them 35 ms, before the
    // line reader took whole lines from the stream's buffer. The SV calculation targets are the
    // 50 us a board that the ORB4's calculation was held to before.
    const Targets targets[] = {
        {eORB4, 40, 25, 50}, {eORB8, 40, 25, 50}, {eKPX9, 25, 15, 10}, {eRVN2, 20, 12, 10}, {eQXP6, 20, 15, 10},
    };
    bool works = true;
    for (const Targets& target : targets) {
        const int type = target.Type;
        const std::string name = TBoardData::GetTypeName(type);
        TBoardData data;
        if (!FillList(data, type)) {
            std::printf("%s: no example boards\n", name.c_str());
            works = false;
            continue;
        }

        std::string file;
        const Timing save = Best(5, [&] {
            std::ostringstream out;
            data.SaveToStream(type, out);
            file = out.str();
        });

        std::vector<std::unique_ptr<TBoardData>> loaded; // freed after the timing
        bool loadedOk = true;
        const Timing load = Best(5, [&] {
            loaded.push_back(std::make_unique<TBoardData>());
            std::istringstream in(file);
            loadedOk = loaded.back()->LoadFromStream(type, in) && loadedOk;
        });
        std::ostringstream again;
        loaded.back()->SaveToStream(type, again);
        const bool same = loadedOk && loaded.back()->BoardCount(type) == kBoards && again.str() == file;

        uint32_t failed = 0;
        const Timing svs = Best(3, [&] {
            failed = 0;
            for (uint32_t i = 0; i < kBoards; ++i)
                if (!data.GetBoardForChange(type, i)->CalculateSVs()) ++failed;
        });

        std::printf("file of %u %s boards: %zu bytes\n", kBoards, name.c_str(), file.size());
        Report("save", save, target.SaveMs);
        Report("load", load, target.LoadMs);
        Report("SV calculation", svs, target.SVsMs);
        if (!same) std::printf("  the loaded boards do not save back to the same file\n");
        if (failed != 0) std::printf("  %u SV calculations failed\n", failed);
        works = works && same && failed == 0;
    }
    return works ? 0 : 1;
}
