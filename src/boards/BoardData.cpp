#include "boards/BoardData.h"

#include "boards/BoardFactory.h"
#include "boards/SafeFile.h"
#include "link/Utf8Path.h"

#include <cerrno>
#include <cstring>
#include <fstream>

TBoardData::TBoardData()
{
    SetQuoteStrings(true);
    for (auto& list : Lists) list.Boards.reserve(list.Capacity);
}

TBoardData::~TBoardData() = default;

std::unique_ptr<TConfigurableBoard> TBoardData::CreateBoard(int type) const
{
    return ValidType(type) ? CreateBoardOfType(type) : nullptr;
}

TConfigurableBoard* TBoardData::InsertCreated(TTypeList& list, uint32_t position,
                                              std::unique_ptr<TConfigurableBoard> board)
{
    if (list.Boards.size() == list.Capacity) {
        list.Capacity += 10;
        list.Boards.reserve(list.Capacity);
    }
    TConfigurableBoard* raw = board.get();
    list.Boards.insert(list.Boards.begin() + position, std::move(board));
    list.Modified = true;
    return raw;
}

TConfigurableBoard* TBoardData::AddBoard(int type)
{
    return ValidType(type) ? InsertBoard(type, BoardCount(type)) : nullptr;
}

TConfigurableBoard* TBoardData::InsertBoard(int type, uint32_t position)
{
    if (!ValidType(type)) return nullptr;
    TTypeList& list = Lists[type];
    if (position > list.Boards.size()) return nullptr;
    auto board = CreateBoard(type);
    if (!board) return nullptr;
    return InsertCreated(list, position, std::move(board));
}

bool TBoardData::DeleteBoard(int type, uint32_t position)
{
    if (!ValidType(type)) return false;
    TTypeList& list = Lists[type];
    if (position >= list.Boards.size()) return false;
    list.Boards.erase(list.Boards.begin() + position);
    list.Modified = true;
    return true;
}

const TConfigurableBoard* TBoardData::GetBoard(int type, uint32_t position) const
{
    if (!ValidType(type) || position >= Lists[type].Boards.size()) return nullptr;
    return Lists[type].Boards[position].get();
}

TConfigurableBoard* TBoardData::GetBoardForChange(int type, uint32_t position)
{
    if (!ValidType(type) || position >= Lists[type].Boards.size()) return nullptr;
    Lists[type].Modified = true;
    return Lists[type].Boards[position].get();
}

uint32_t TBoardData::BoardCount(int type) const
{
    return ValidType(type) ? static_cast<uint32_t>(Lists[type].Boards.size()) : 0;
}

uint32_t TBoardData::BoardCapacity(int type) const
{
    return ValidType(type) ? Lists[type].Capacity : 0;
}

void TBoardData::ClearType(int type)
{
    if (!ValidType(type)) return;
    Lists[type].Boards.clear();
    Lists[type].Modified = false;
}

void TBoardData::CloseFile(int type)
{
    if (!ValidType(type)) return;
    ClearType(type);
    Lists[type].FileName.clear();
}

bool TBoardData::LoadFromStream(int type, std::istream& stream)
{
    LastError.clear();
    if (!ValidType(type)) {
        LastError = "Unknown board type " + std::to_string(type);
        return false;
    }
    TTypeList& list = Lists[type];
    uint32_t loaded = 0;
    // One record per board, back to back: as long as a character follows, another record begins.
    while (stream.peek() != std::char_traits<char>::eof()) {
        if (loaded == kMaxBoardsPerFile) {
            LastError = "Loading stopped after " + std::to_string(loaded) + " boards";
            return false;
        }
        auto board = CreateBoard(type);
        if (!board) {
            LastError = "There is no board class for type " + GetTypeName(type);
            return false;
        }
        const std::istream::pos_type before = stream.tellg();
        TConfigurableBoard* added = InsertCreated(list, static_cast<uint32_t>(list.Boards.size()), std::move(board));
        ++loaded;
        added->LoadFromStream(stream);
        if (stream.bad()) {
            LastError = "Loading stopped: " + (TCsvIo::LineTooLong(stream) ? TCsvIo::LineTooLongText()
                                                                           : std::string("the file could not be read"));
            return false;
        }
        // A record that cannot be read as it stands stops the load, and nothing of the file is
        // kept: a list saved again would lose what the record holds and every board after it.
        if (!added->GetLoadErrorText().empty()) {
            LastError = "Board " + std::to_string(loaded) + " of the file (serial " +
                        std::to_string(added->SerialNumber) + ", \"" + added->Name +
                        "\") cannot be loaded: " + added->GetLoadErrorText();
            list.Boards.resize(list.Boards.size() - loaded);
            return false;
        }
        // A record that consumed nothing would be read again and again.
        const std::istream::pos_type after = stream.tellg();
        if (before != std::istream::pos_type(-1) && after == before) {
            LastError = "Loading stopped: a record could not be read";
            return false;
        }
    }
    return true;
}

bool TBoardData::LoadFile(int type, const std::string& fileName)
{
    LastError.clear();
    if (!ValidType(type)) {
        LastError = "Unknown board type " + std::to_string(type);
        return false;
    }
    TTypeList& list = Lists[type];
    errno = 0;
    std::ifstream in(PathFromUtf8(fileName), std::ios::binary);
    bool ok;
    std::string error;
    if (!in) {
        const int code = errno;
        error = "Could not open " + fileName + ": " +
                (code != 0 ? std::string(std::strerror(code)) : std::string("cannot be read"));
        ok = false;
    } else {
        ok = LoadFromStream(type, in);
        if (!ok) error = LastError + " (" + fileName + ")";
    }
    list.FileName = fileName;
    list.Modified = false;
    LastError = error;
    return ok;
}

void TBoardData::SaveToStream(int type, std::ostream& stream)
{
    if (!ValidType(type)) return;
    for (auto& board : Lists[type].Boards) board->SaveToStream(stream);
}

bool TBoardData::SaveFile(int type)
{
    LastError.clear();
    if (!ValidType(type)) {
        LastError = "Unknown board type " + std::to_string(type);
        return false;
    }
    TTypeList& list = Lists[type];
    if (list.Boards.empty()) {
        list.Modified = false;
        return false;
    }
    if (list.FileName.empty()) {
        LastError = "Could not save the " + GetTypeName(type) + " boards: no file name has been given";
        return false;
    }
    std::string reason;
    const bool ok = WriteFileReplacing(
        list.FileName, [&](std::ostream& out) { SaveToStream(type, out); }, reason);
    if (!ok) {
        LastError = "Could not save " + list.FileName + ": " + reason;
        return false;
    }
    list.Modified = false;
    return true;
}

bool TBoardData::SaveFileAs(int type, const std::string& fileName)
{
    if (ValidType(type)) Lists[type].FileName = fileName;
    return SaveFile(type);
}

std::string TBoardData::GetFileName(int type) const
{
    return ValidType(type) ? Lists[type].FileName : std::string();
}

bool TBoardData::HasFileName(int type) const
{
    return ValidType(type) && !Lists[type].FileName.empty();
}

bool TBoardData::IsModified(int type) const
{
    return ValidType(type) && Lists[type].Modified;
}

bool TBoardData::AnyModified() const
{
    for (const auto& list : Lists)
        if (list.Modified) return true;
    return false;
}

TConfigurableBoard* TBoardData::FindBoardBySerial(uint32_t serial)
{
    TConfigurableBoard* found = nullptr;
    for (auto& list : Lists)
        for (auto& board : list.Boards)
            if (board->SerialNumber == serial) found = board.get();
    return found;
}

std::string TBoardData::GetTitle(int type)
{
    return BoardTypeTitle(type);
}

std::string TBoardData::GetTypeName(int type)
{
    return BoardTypeTag(type);
}
