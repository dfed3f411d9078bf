#include "cli/CliHost.h"

#include "cli/BusOptions.h"

#include <QCoreApplication>
#include <QTimer>

#include <charconv>
#include <cmath>

#include <unistd.h>

namespace cli {

TCliHost::TCliHost(TLnThreadComm& link)
    : TQtConversationHost([&link](std::unique_ptr<TLocoNetMessage> m) { link.WriteMessage(std::move(m)); }),
      Terminal(isatty(STDERR_FILENO) != 0)
{}

TCliHost::~TCliHost()
{
    EndProgress();
}

void TCliHost::Log(const std::string& line)
{
    LogLines.push_back(line);
    if (!PrintLog || (PrintWhile && !PrintWhile())) return;
    EndProgress();
    std::fprintf(LogStream, "%s\n", line.c_str());
    std::fflush(LogStream);
}

void TCliHost::SetProgressRange(uint32_t minimum, uint32_t maximum)
{
    Minimum = minimum;
    Maximum = maximum;
    LastShown = -1;
}

void TCliHost::SetProgressPosition(uint32_t position)
{
    if (Maximum <= Minimum) return;
    const int percent = static_cast<int>(100.0 * (position - Minimum) / (Maximum - Minimum));
    if (Terminal) {
        if (percent == LastShown) return;
        const int filled = percent * 40 / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(static_cast<size_t>(filled), '#').c_str(),
                     std::string(static_cast<size_t>(40 - filled), ' ').c_str(), percent);
        BarShown = true;
    } else {
        if (percent / 10 == LastShown / 10 && LastShown >= 0) return;
        std::fprintf(stderr, "progress: %d%% (SV %u of %u)\n", percent, position, Maximum);
    }
    LastShown = percent;
    std::fflush(stderr);
}

void TCliHost::EndProgress()
{
    if (BarShown) std::fprintf(stderr, "\n");
    BarShown = false;
}

const char* const kWaitOptionUsage =
    "  --wait SECONDS         wait this long for replies: the discovery ends\n"
    "                         once SECONDS pass without a reply (default 5,\n"
    "                         from 0.1 to 3600)\n";

bool TakeWaitOption(std::vector<std::string>& args, uint32_t& waitMs, std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--wait") continue;
        const std::string value = i + 1 < args.size() ? args[i + 1] : std::string();
        double seconds = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
        if (value.empty() || ec != std::errc() || end != value.data() + value.size() || !(seconds >= 0.1) ||
            seconds > 3600 || value.find_first_not_of("0123456789.") != std::string::npos) {
            error = "--wait needs a number of seconds from 0.1 to 3600" +
                    (value.empty() ? std::string() : ", not '" + value + "'");
            return false;
        }
        waitMs = static_cast<uint32_t>(std::lround(seconds * 1000));
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        --i;
    }
    return true;
}

void QuitOnLinkLoss(TLnThreadComm& link, const std::string& command, bool& lost)
{
    link.OnError = [&lost, command](TLnThreadComm* sender, int) {
        if (sender->Enabled()) return;
        std::fprintf(stderr, "railscope-cli %s: %s\n", command.c_str(), cli::LinkLostText(*sender).c_str());
        lost = true;
        QCoreApplication::quit();
    };
}

void RunUntil(const std::function<bool()>& done)
{
    QuitOnInterrupt();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&done] {
        if (done() || Interrupted()) QCoreApplication::quit();
    });
    poll.start(10);
    if (!done()) QCoreApplication::exec();
}

} // namespace cli
