// Board file commands of railscope-cli: SVs, SV listings, descriptions and list lines of the boards
// in a board file, re-saving a file, and describing a board from an SV table.
#include "boards/BoardData.h"
#include "boards/BoardFactory.h"
#include "boards/CsvIo.h"
#include "boards/HoldCheck.h"
#include "cli/BoardFiles.h"
#include "cli/Commands.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kFailed = 1;
constexpr int kCannot = 2;

int Fail(const std::string& command, const std::string& message)
{
    std::cerr << "railscope-cli " << command << ": " << message << "\n";
    return kCannot;
}

bool ParseNumber(const std::string& text, uint32_t& value)
{
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, 10);
    return result.ec == std::errc() && result.ptr == end;
}

// Options of the board commands; each command says which of them it takes.
enum EOption : unsigned { oIndex = 1, oSWVersion = 2, oType = 4, oOut = 8 };

struct TBoardArgs {
    std::vector<std::string> Positional;
    std::optional<uint32_t> Index;
    uint32_t SWVersion = 1;
    int Type = -1;
    std::optional<std::string> Out;
};

// As the number of positional arguments: one or more.
constexpr size_t kOneOrMore = 0;

// Reads the arguments; on a usage error prints it and returns false with the exit status in `status`.
bool ParseArgs(const std::string& command, const std::vector<std::string>& args, unsigned allowed,
               size_t positionalCount, TBoardArgs& parsed, int& status)
{
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0) {
            const size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                inlineValue = arg.substr(eq + 1);
                arg.resize(eq);
            }
        }
        unsigned option = 0;
        if (arg == "--index")
            option = oIndex;
        else if (arg == "--swversion")
            option = oSWVersion;
        else if (arg == "--type")
            option = oType;
        else if (arg == "-o" || arg == "--output")
            option = oOut;
        if (option == 0 || (allowed & option) == 0) {
            if (arg.size() > 1 && arg[0] == '-') {
                status = cli::UsageError(command, "unknown option '" + arg + "'");
                return false;
            }
            parsed.Positional.push_back(arg);
            continue;
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            status = cli::UsageError(command, "option '" + arg + "' needs a value");
            return false;
        }
        uint32_t number = 0;
        switch (option) {
        case oIndex:
        case oSWVersion:
            if (!ParseNumber(value, number)) {
                status = cli::UsageError(command, "option '" + arg + "' needs a whole number, not '" + value + "'");
                return false;
            }
            if (option == oIndex)
                parsed.Index = number;
            else
                parsed.SWVersion = number;
            break;
        case oType:
            parsed.Type = BoardTypeFromTag(value);
            if (parsed.Type < 0 || value.find('_') != std::string::npos) {
                status =
                    cli::UsageError(command, "unknown board type '" + value + "' (ORB4, KPX9, ORB8, RVN2 or QXP6)");
                return false;
            }
            break;
        default: parsed.Out = value; break;
        }
    }
    const size_t given = parsed.Positional.size();
    if (positionalCount == kOneOrMore ? given == 0 : given != positionalCount) {
        status = cli::UsageError(command, given < std::max<size_t>(positionalCount, 1) ? "missing argument"
                                                                                     : "too many arguments");
        return false;
    }
    return true;
}

// Loads FILE and picks board --index, with --swversion applied.
int SelectBoard(const std::string& command, const TBoardArgs& parsed, TBoardData& data, TConfigurableBoard*& board)
{
    int type = parsed.Type;
    if (int status = cli::LoadBoardFile(command, parsed.Positional[0], data, type)) return status;
    if (int status = cli::CheckBoardIndex(command, parsed.Positional[0], data, type, *parsed.Index)) return status;
    board = data.GetBoardForChange(type, *parsed.Index);
    board->SWVersion = parsed.SWVersion;
    return 0;
}

void PrintLines(const std::vector<std::string>& lines)
{
    for (const auto& line : lines) std::cout << line << "\n";
}

int RunSvs(const std::vector<std::string>& args)
{
    const std::string command = "svs";
    TBoardArgs parsed;
    int status = 0;
    if (!ParseArgs(command, args, oIndex | oSWVersion | oType, 1, parsed, status)) return status;
    if (!parsed.Index) return cli::UsageError(command, "--index is required");
    TBoardData data;
    TConfigurableBoard* board = nullptr;
    if ((status = SelectBoard(command, parsed, data, board))) return status;
    const bool ok = board->CalculateSVs();
    std::cout << (ok ? std::string("OK") : "FAIL " + board->GetSVErrorText()) << "\n";
    std::string values;
    for (uint32_t n = 1; n <= board->GetSVCount(); ++n) {
        if (n > 1) values += ' ';
        values += std::to_string(board->GetSV(n));
    }
    std::cout << values << "\n";
    return ok ? 0 : kFailed;
}

int RunListing(const std::vector<std::string>& args)
{
    const std::string command = "listing";
    TBoardArgs parsed;
    int status = 0;
    if (!ParseArgs(command, args, oIndex | oSWVersion | oType | oOut, 1, parsed, status)) return status;
    if (!parsed.Index) return cli::UsageError(command, "--index is required");
    TBoardData data;
    TConfigurableBoard* board = nullptr;
    if ((status = SelectBoard(command, parsed, data, board))) return status;
    if (!board->CalculateSVs()) {
        std::cerr << board->GetSVErrorText() << "\n";
        return kFailed;
    }
    if (parsed.Out) {
        std::string error;
        if (!board->WriteSVListingFile(*parsed.Out, error))
            return Fail(command, "cannot write " + *parsed.Out + ": " + error);
    } else {
        std::cout << board->SVListingText();
    }
    return 0;
}

int RunDescribe(const std::vector<std::string>& args)
{
    const std::string command = "describe";
    TBoardArgs parsed;
    int status = 0;
    if (!ParseArgs(command, args, oIndex | oType, 1, parsed, status)) return status;
    TBoardData data;
    int type = parsed.Type;
    if ((status = cli::LoadBoardFile(command, parsed.Positional[0], data, type))) return status;
    if (parsed.Index) {
        if ((status = cli::CheckBoardIndex(command, parsed.Positional[0], data, type, *parsed.Index))) return status;
        std::vector<std::string> lines;
        data.GetBoardForChange(type, *parsed.Index)->DisplayBoard(lines);
        PrintLines(lines);
        return 0;
    }
    for (uint32_t i = 0; i < data.BoardCount(type); ++i) {
        std::vector<std::string> lines;
        data.GetBoardForChange(type, i)->DisplayBoard(lines);
        PrintLines(lines);
        std::cout << "\n";
    }
    return 0;
}

int RunList(const std::vector<std::string>& args)
{
    const std::string command = "list";
    TBoardArgs parsed;
    int status = 0;
    if (!ParseArgs(command, args, oType, 1, parsed, status)) return status;
    TBoardData data;
    int type = parsed.Type;
    if ((status = cli::LoadBoardFile(command, parsed.Positional[0], data, type))) return status;
    for (uint32_t i = 0; i < data.BoardCount(type); ++i) std::cout << data.GetBoard(type, i)->GetListLine() << "\n";
    return 0;
}

int RunResave(const std::vector<std::string>& args)
{
    const std::string command = "resave";
    TBoardArgs parsed;
    int status = 0;
    if (!ParseArgs(command, args, oType | oOut, 1, parsed, status)) return status;
    if (!parsed.Out) return cli::UsageError(command, "-o OUT is required");
    TBoardData data;
    int type = parsed.Type;
    if ((status = cli::LoadBoardFile(command, parsed.Positional[0], data, type))) return status;
    if (data.SaveFileAs(type, *parsed.Out)) return 0;
    if (data.GetLastError().empty()) {
        std::cerr << "railscope-cli " << command << ": " << parsed.Positional[0]
                  << " holds no boards; nothing written\n";
        return kFailed;
    }
    return Fail(command, data.GetLastError());
}

int RunDecodeSvs(const std::vector<std::string>& args)
{
    const std::string command = "decode-svs";
    TBoardArgs parsed;
    int status = 0;
    if (!ParseArgs(command, args, 0, 2, parsed, status)) return status;
    const std::string& typeName = parsed.Positional[0];
    const std::string& svFile = parsed.Positional[1];
    const int type = BoardTypeFromTag(typeName);
    if (type < 0 || typeName.find('_') != std::string::npos)
        return Fail(command, "unknown board type '" + typeName + "' (ORB4, KPX9, ORB8, RVN2 or QXP6)");
    auto board = CreateBoardOfType(type);
    if (!board) return Fail(command, "board type " + typeName + " is not available");

    errno = 0;
    std::ifstream in(svFile, std::ios::binary);
    if (!in) return Fail(command, "cannot read " + svFile + ": " + cli::ReasonFor(errno));
    const uint32_t svCount = board->GetSVCount();
    std::vector<uint8_t> values;
    std::string token;
    for (;;) {
        const int ch = in.get();
        const bool end = ch == std::char_traits<char>::eof();
        if (end || std::isspace(ch)) {
            if (!token.empty()) {
                uint32_t value = 0;
                if (!ParseNumber(token, value) || value > 255)
                    return Fail(command, svFile + ": '" + token + "' is not an SV value (0 to 255)");
                if (values.size() == svCount)
                    return Fail(command, svFile + " holds more than " + std::to_string(svCount) + " SV values");
                values.push_back(static_cast<uint8_t>(value));
                token.clear();
            }
            if (end) break;
        } else if (token.size() < 16) {
            token += static_cast<char>(ch);
        } else {
            return Fail(command, svFile + ": '" + token + "...' is not an SV value (0 to 255)");
        }
    }
    if (values.size() != svCount)
        return Fail(command,
                    svFile + " holds " + std::to_string(values.size()) + " SV values, not " + std::to_string(svCount));
    for (uint32_t n = 1; n <= values.size(); ++n) board->SetSV(n, values[n - 1]);
    board->DecodeSVs();
    std::vector<std::string> lines;
    board->DisplayBoard(lines);
    PrintLines(lines);
    return 0;
}

int RunCheck(const std::vector<std::string>& args)
{
    const std::string command = "check";
    TBoardArgs parsed;
    int status = 0;
    if (!ParseArgs(command, args, oIndex | oSWVersion | oType, kOneOrMore, parsed, status)) return status;
    if (parsed.Index && parsed.Positional.size() > 1) return cli::UsageError(command, "--index takes one FILE");
    // Every file is read before anything is checked: a file that cannot be used ends the command
    // with nothing printed but why.
    struct TFile {
        std::string Name;
        std::unique_ptr<TBoardData> Data = std::make_unique<TBoardData>();
        int Type = -1;
    };
    std::vector<TFile> files;
    for (const std::string& name : parsed.Positional) {
        TFile& file = files.emplace_back();
        file.Name = name;
        file.Type = parsed.Type;
        if ((status = cli::LoadBoardFile(command, name, *file.Data, file.Type))) return status;
        if (parsed.Index && (status = cli::CheckBoardIndex(command, name, *file.Data, file.Type, *parsed.Index)))
            return status;
    }
    uint32_t boards = 0;
    size_t problems = 0;
    for (const TFile& file : files) {
        const uint32_t count = file.Data->BoardCount(file.Type);
        for (uint32_t i = parsed.Index.value_or(0); i < (parsed.Index ? *parsed.Index + 1 : count); ++i) {
            const TConfigurableBoard& board = *file.Data->GetBoard(file.Type, i);
            ++boards;
            const std::vector<std::string> lines = CheckHold(board, parsed.SWVersion).Lines();
            if (lines.empty()) continue;
            std::cout << file.Name << ", board " << i << " (" << board.GetBoardType() << " " << board.SerialNumber
                      << " \"" << board.Name << "\"):\n";
            for (const auto& line : lines) std::cout << "  " << line << "\n";
            problems += lines.size();
        }
    }
    if (problems > 0)
        std::cout << HoldSummary(problems) << "\n";
    else if (boards == 1)
        std::cout << "The board can be held as described\n";
    else
        std::cout << "All " << boards << " boards can be held as described\n";
    return problems == 0 ? 0 : kFailed;
}

const char* const kTypeNote = "\n"
                              "The board type is read from the record tag in the first line of FILE;\n"
                              "--type ORB4|KPX9|ORB8|RVN2|QXP6 overrides it. A file that cannot be read\n"
                              "or an unknown type exits with 2.\n";
// For the commands that take --index.
const char* const kIndexNote = "Board indexes count from 0; an index out of range exits with 2.\n";

const cli::RegisterCommand kSvs(
    {"svs", "calculate a board's 512 SVs from a board file",
     std::string("Usage: railscope-cli svs FILE --index N [--swversion V] [--type TYPE]\n"
                 "\n"
                 "Calculates the SVs of board N of FILE for firmware version V (default\n"
                 "1). Prints OK, or FAIL and the reason, then the SV values, SV1 first, on\n"
                 "one line. Exits with 0 for OK, 1 for FAIL.\n") +
         kTypeNote + kIndexNote,
     RunSvs});

const cli::RegisterCommand kListing(
    {"listing", "write the SV listing of a board in a board file",
     std::string("Usage: railscope-cli listing FILE --index N [--swversion V]\n"
                 "                             [--type TYPE] [-o OUT]\n"
                 "\n"
                 "Calculates the SVs of board N and writes its SV listing to OUT, or to\n"
                 "standard output, exactly as the listing file is written. When the\n"
                 "calculation fails, prints why and exits with 1.\n") +
         kTypeNote + kIndexNote,
     RunListing});

const cli::RegisterCommand kDescribe(
    {"describe", "print the description of the boards in a board file",
     std::string("Usage: railscope-cli describe FILE [--index N] [--type TYPE]\n"
                 "\n"
                 "Prints the description lines of board N, or of every board, each board's\n"
                 "lines followed by an empty line.\n") +
         kTypeNote + kIndexNote,
     RunDescribe});

const cli::RegisterCommand kList({"list", "print the board list lines of a board file",
                                  std::string("Usage: railscope-cli list FILE [--type TYPE]\n"
                                              "\n"
                                              "Prints the list line of every board: serial number, type and name.\n") +
                                      kTypeNote,
                                  RunList});

const cli::RegisterCommand kResave(
    {"resave", "load a board file and save it again",
     std::string("Usage: railscope-cli resave FILE -o OUT [--type TYPE]\n"
                 "\n"
                 "Loads every board of FILE and saves them all to OUT as the program saves\n"
                 "a board file. A file without boards writes nothing and exits with 1; OUT\n"
                 "that cannot be written exits with 2.\n") +
         kTypeNote,
     RunResave});

const cli::RegisterCommand kCheck(
    {"check", "check that boards can hold what their board files describe",
     std::string("Usage: railscope-cli check FILE... [--index N] [--swversion V]\n"
                 "                           [--type TYPE]\n"
                 "\n"
                 "Checks every board of the files, or board N of FILE, before it is\n"
                 "programmed: calculates its SVs for firmware version V (default 1), reads\n"
                 "them back as the board would, and compares the two descriptions. Names,\n"
                 "descriptions and notes, which no board keeps, are left out. Each value\n"
                 "the board cannot hold is one line under its board: where it is, what the\n"
                 "description says and what the board would hold, for example\n"
                 "  Output cell 6, thrown set, condition 1: Sensor 300,16 is Occupied;\n"
                 "    the board would hold Sensor 44,16\n"
                 "(a QXP6 keeps only the low byte of an outside sensor's number). The last\n"
                 "line sums up: \"All 9 boards can be held as described\" or \"3 values\n"
                 "cannot be held\". Exits with 0 when every value can be held, 1 when one\n"
                 "cannot.\n") +
         kTypeNote + kIndexNote,
     RunCheck});

const cli::RegisterCommand kDecodeSvs({"decode-svs", "describe a board from its SV values",
                                       "Usage: railscope-cli decode-svs TYPE SVFILE\n"
                                       "\n"
                                       "SVFILE holds the 512 SV values of a board (SV1 first) as decimal numbers\n"
                                       "separated by white space. Makes a new board of TYPE (ORB4, KPX9, ORB8,\n"
                                       "RVN2 or QXP6), gives it these SVs, decodes them and prints the board's\n"
                                       "description lines. Bad input exits with 2.\n",
                                       RunDecodeSvs});

} // namespace
