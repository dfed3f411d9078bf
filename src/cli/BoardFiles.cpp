#include "cli/BoardFiles.h"

#include "boards/BoardFactory.h"
#include "boards/CsvIo.h"
#include "link/TextFormat.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

namespace cli {

namespace {

// The type of a board record tag ("ORB4_BOARD"); -1 for any other text.
int RecordTagType(const std::string& tag)
{
    const int type = BoardTypeFromTag(tag);
    return tag.find("_BOARD") == std::string::npos ? -1 : type;
}

int Fail(const std::string& command, const std::string& message)
{
    std::cerr << "railscope-cli " << command << ": " << message << "\n";
    return 2;
}

} // namespace

std::string ReasonFor(int code)
{
    return code != 0 ? std::string(std::strerror(code)) : std::string("cannot be read");
}

int LoadBoardFile(const std::string& command, const std::string& file, TBoardData& data, int& type)
{
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) return Fail(command, "cannot read " + file + ": " + ReasonFor(errno));
    if (type < 0) {
        TCsvIo firstLine;
        firstLine.ReadLine(in);
        if (TCsvIo::LineTooLong(in)) return Fail(command, file + ": " + TCsvIo::LineTooLongText());
        const std::string tag = firstLine.GetText(0);
        type = RecordTagType(tag);
        if (type < 0)
            return Fail(command, file + ": unknown board type '" + textformat::Escaped(tag) +
                                     "' in the first line (give it with --type)");
    }
    in.close();
    if (!data.CreateBoard(type))
        return Fail(command, "board type " + TBoardData::GetTypeName(type) + " is not available");
    if (!data.LoadFile(type, file)) return Fail(command, data.GetLastError());
    return 0;
}

int BoardFileType(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    TCsvIo firstLine;
    if (!in || !firstLine.ReadLine(in) || TCsvIo::LineTooLong(in)) return -1;
    return RecordTagType(firstLine.GetText(0));
}

int CheckBoardIndex(const std::string& command, const std::string& file, const TBoardData& data, int type,
                    uint32_t index)
{
    const uint32_t count = data.BoardCount(type);
    if (index < count) return 0;
    return Fail(command, "board index " + std::to_string(index) + " is out of range: " + file + " holds " +
                             std::to_string(count) + (count == 1 ? " board" : " boards"));
}

} // namespace cli
