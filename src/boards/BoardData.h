#pragma once
// The board list: for each of the five board types, the boards in list order, the file they came
// from and whether they changed since they were loaded, saved or cleared. Owns its boards.

#include "boards/BoardTypes.h"
#include "boards/ConfigurableBoard.h"
#include "boards/CsvIo.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class TBoardData : public TCsvIo {
public:
    // A file with more boards than this is not a board file anyone wrote; loading stops there.
    static constexpr uint32_t kMaxBoardsPerFile = 10000;

    TBoardData();
    ~TBoardData() override;
    TBoardData(const TBoardData&) = delete;
    TBoardData& operator=(const TBoardData&) = delete;

    // A new board of the type's class with its defaults; none for an unknown type.
    std::unique_ptr<TConfigurableBoard> CreateBoard(int type) const;

    // Each of these sets the type's modified flag when it changes the list. They return the new
    // board, or none (and change nothing) when the type or position is out of range or the
    // type has no board class.
    TConfigurableBoard* AddBoard(int type);
    TConfigurableBoard* InsertBoard(int type, uint32_t position);
    bool DeleteBoard(int type, uint32_t position);

    const TConfigurableBoard* GetBoard(int type, uint32_t position) const;
    // The board, for editing: marks the type as modified.
    TConfigurableBoard* GetBoardForChange(int type, uint32_t position);
    uint32_t BoardCount(int type) const;
    // Room in the type's array before it next grows (10 at first, then 10 more each time).
    uint32_t BoardCapacity(int type) const;

    // Deletes all boards of the type and clears its modified flag; the file name stays.
    void ClearType(int type);
    // ClearType, then forgets the file name.
    void CloseFile(int type);

    // Appends the boards of the file to the type's list, remembers the name and clears the
    // modified flag. False, with GetLastError set, when the file cannot be opened (the list is
    // then unchanged and the name is still remembered, so that it is kept in the settings), when
    // a board's record cannot be read as it stands (GetLoadErrorText of the board: the list is
    // unchanged too, and the error names the file, the board and the reason) or when loading had
    // to stop early (the boards read so far stay in the list).
    bool LoadFile(int type, const std::string& fileName);
    // The same record loop on a stream; false with GetLastError when it had to stop early.
    bool LoadFromStream(int type, std::istream& stream);

    // Writes the type's boards to its remembered file. The old file is replaced only once the
    // new one is completely written, so a failed save never loses it.
    // - no boards: writes nothing, clears the modified flag, returns false with an empty
    //   GetLastError (there was nothing to save);
    // - no file name, or the file cannot be written: returns false, the old file stays as it
    //   was, the modified flag stays set and GetLastError says why;
    // - success: clears the modified flag and returns true.
    bool SaveFile(int type);
    // Remembers the name, then SaveFile.
    bool SaveFileAs(int type, const std::string& fileName);
    // Every board of the type writes its record, in list order.
    void SaveToStream(int type, std::ostream& stream);

    std::string GetFileName(int type) const;
    bool HasFileName(int type) const;
    bool IsModified(int type) const;
    bool AnyModified() const;

    // The board with that serial number, searching types 0 to 4 and each list from its start;
    // the last one found when several match; none when no board matches.
    TConfigurableBoard* FindBoardBySerial(uint32_t serial);

    // "ORB4 Signal Controller", ...; empty for an unknown type.
    static std::string GetTitle(int type);
    // "ORB4", ...; empty for an unknown type.
    static std::string GetTypeName(int type);

    // Why the last LoadFile, SaveFile or SaveFileAs failed, e.g.
    // "Could not save /home/me/orb4.csv: Permission denied"; empty after a success.
    const std::string& GetLastError() const { return LastError; }

private:
    struct TTypeList {
        std::vector<std::unique_ptr<TConfigurableBoard>> Boards;
        uint32_t Capacity = 10;
        std::string FileName;
        bool Modified = false;
    };

    static bool ValidType(int type) { return type >= 0 && type < kBoardTypeCount; }
    TConfigurableBoard* InsertCreated(TTypeList& list, uint32_t position, std::unique_ptr<TConfigurableBoard> board);

    TTypeList Lists[kBoardTypeCount];
    std::string LastError;
};
