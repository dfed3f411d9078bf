// Programs a fully described ORB4 into the simulated LocoNet paced at the real bus speed (PR3
// mode, no message delay) and compares the wall time with the bus time the conversation needs:
// the wire time of every command and every reply at 16457 baud, 10 bits a byte.
#include "boards/BoardData.h"
#include "link/LnThreadComm.h"
#include "sim/SimTransport.h"
#include "svprog/BoardProgrammer.h"
#include "svprog/QtConversationHost.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <string>

namespace {

class TBenchHost : public TQtConversationHost {
public:
    using TQtConversationHost::TQtConversationHost;
    void SendMessage(std::unique_ptr<TLocoNetMessage> message) override
    {
        SentBytes += message->GetLength();
        ++Sent;
        TQtConversationHost::SendMessage(std::move(message));
    }
    void ShowStatus(const std::string&) override {}
    void Log(const std::string& line) override { Last = line == "Board programmer idle" ? Last : line; }
    void AfterEvent(bool ended) override
    {
        if (ended) QCoreApplication::quit();
    }
    uint64_t SentBytes = 0;
    uint64_t Sent = 0;
    std::string Last;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TBoardData data;
    if (!data.LoadFile(0, RAILSCOPE_SOURCE_DIR "/data/examples/layout-orb4.csv")) {
        std::fprintf(stderr, "cannot load the example ORB4 file\n");
        return 1;
    }
    TConfigurableBoard* board = data.GetBoardForChange(0, 0);

    TLocoNetComm link;
    UseSimulatedLocoNet(link);
    link.SetDeviceName("sim:boards=ORB4@" + std::to_string(board->SerialNumber) + ";pace=real");
    link.SetLocoNetInterface(ePR3);
    link.Open();
    TBenchHost host([&link](std::unique_ptr<TLocoNetMessage> m) { link.WriteMessage(std::move(m)); });
    TBoardProgrammer programmer(host);
    host.Attach(programmer);
    RouteSVMessages(link, host);

    QElapsedTimer clock;
    clock.start();
    programmer.ProgramButtonClick(board);
    QTimer::singleShot(120000, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    const double wall = clock.nsecsElapsed() / 1e9;
    link.Close();

    if (host.Last != "Programming Completed Successfully!") {
        std::fprintf(stderr, "programming did not complete: %s\n", host.Last.c_str());
        return 1;
    }
    // Each command has one reply of the same length (16 bytes).
    const double busSeconds = 2.0 * static_cast<double>(host.SentBytes) * 10.0 / 16457.0;
    const double ratio = wall / busSeconds;
    std::printf("program ORB4 over paced sim (PR3): %llu commands, wall %.3f s, bus-time lower bound %.3f s, "
                "ratio %.3f (target <= 1.10)%s\n",
                static_cast<unsigned long long>(host.Sent), wall, busSeconds, ratio, ratio <= 1.10 ? "" : "  MISSED");
    return 0;
}
