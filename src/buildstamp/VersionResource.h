#pragma once
// The program's version resource: a small self-describing byte block that the build puts into
// the program file (its own ELF section ".rsversion"), and the reader that finds it again in a
// file by name and answers queries on it.
//
// Block layout (all numbers little endian):
//   8 bytes   magic 7F 'R' 'S' 'V' 'E' 'R' 'S' 01
//   u32       total size of the block in bytes, magic and checksum included
//   u32       number of entries
//   entries   u16 key length, u16 value length, key bytes, value bytes
//   u32       sum of all bytes before it (modulo 2^32)
// Keys are query paths: "\VarFileInfo\Translation" holds pairs of u16 language and u16 code
// page; "\StringFileInfo\<lang><codepage>\<Field>" (eight lower-case hex digits) holds the text
// of a string field, without a terminating NUL.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rsver {

inline constexpr std::size_t kMagicSize = 8;
inline constexpr std::array<unsigned char, kMagicSize> kMagic = {0x7F, 'R', 'S', 'V', 'E', 'R', 'S', 0x01};
inline constexpr std::size_t kHeaderSize = kMagicSize + 8;
inline constexpr std::size_t kTrailerSize = 4;
inline constexpr std::string_view kTranslationKey = "\\VarFileInfo\\Translation";
inline constexpr std::string_view kStringTablePrefix = "\\StringFileInfo\\";

struct Field {
    std::string_view Name;
    std::string_view Value;
};

// Size of a block holding one translation and the given string fields.
constexpr std::size_t BlockSize(std::span<const Field> fields)
{
    std::size_t size = kHeaderSize + 4 + kTranslationKey.size() + 4;
    for (const Field& f : fields) size += 4 + kStringTablePrefix.size() + 8 + 1 + f.Name.size() + f.Value.size();
    return size + kTrailerSize;
}

template <std::size_t N>
constexpr std::array<unsigned char, N> BuildBlock(std::span<const Field> fields, uint16_t language, uint16_t codePage)
{
    std::array<unsigned char, N> out{};
    std::size_t pos = 0;
    auto put8 = [&](unsigned v) { out[pos++] = static_cast<unsigned char>(v & 0xFF); };
    auto put16 = [&](std::size_t v) {
        put8(static_cast<unsigned>(v));
        put8(static_cast<unsigned>(v >> 8));
    };
    auto put32 = [&](std::size_t v) {
        put16(v & 0xFFFF);
        put16((v >> 16) & 0xFFFF);
    };
    auto putText = [&](std::string_view s) {
        for (char c : s) put8(static_cast<unsigned char>(c));
    };
    constexpr char hex[] = "0123456789abcdef";
    const uint32_t translation = (static_cast<uint32_t>(language) << 16) | codePage;

    for (unsigned char m : kMagic) put8(m);
    put32(N);
    put32(1 + fields.size());
    put16(kTranslationKey.size());
    put16(4);
    putText(kTranslationKey);
    put16(language);
    put16(codePage);
    for (const Field& f : fields) {
        put16(kStringTablePrefix.size() + 8 + 1 + f.Name.size());
        put16(f.Value.size());
        putText(kStringTablePrefix);
        for (int shift = 28; shift >= 0; shift -= 4)
            put8(static_cast<unsigned char>(hex[(translation >> shift) & 0xF]));
        put8('\\');
        putText(f.Name);
        putText(f.Value);
    }
    uint32_t sum = 0;
    for (std::size_t i = 0; i < pos; ++i) sum += out[i];
    put32(sum);
    return out;
}

// A block found in a file, ready for queries.
class TVersionBlock {
public:
    // Checks the block and takes a copy; false when the bytes are not a well-formed block.
    bool Assign(std::span<const unsigned char> bytes);
    // The value stored under `key`, or false when there is none.
    bool Query(std::string_view key, std::string_view& value) const;
    std::size_t Size() const { return Bytes.size(); }

private:
    std::vector<unsigned char> Bytes;
};

// Size of a well-formed block at the start of `bytes` (0 when there is none).
std::size_t ValidBlockSize(std::span<const unsigned char> bytes);

// Size of the version resource of a file; 0 when the file cannot be read or holds none.
uint32_t GetFileVersionInfoSize(const std::string& fileName);
// Loads the version resource of a file; false when there is none.
bool GetFileVersionInfo(const std::string& fileName, TVersionBlock& block);

} // namespace rsver

// Reads the string field `fieldName` of the version resource of `fileName` (first translation).
// Returns the length of the text, 0 on any failure. When `numeric` is given it receives the
// text read as a packed version number (2.5.3.2 gives 0x02050302). When `buffer` is given it
// receives the text cut to bufferSize - 1 characters, always terminated.
uint32_t GetFileVersionField(const char* fileName, const char* fieldName, uint32_t* numeric, uint32_t bufferSize,
                             char* buffer);

// Packs a dotted (or comma-separated) version text into four bytes, most significant first.
uint32_t PackVersionNumber(std::string_view text);

// Declares the version resource of the program that includes it (used by generated sources).
#define RAILSCOPE_VERSION_RESOURCE(language, codePage, ...)                                                            \
    namespace {                                                                                                        \
    constexpr ::rsver::Field kRsVersionFields[] = {__VA_ARGS__};                                                       \
    constexpr std::size_t kRsVersionSize = ::rsver::BlockSize(kRsVersionFields);                                       \
    [[gnu::used, gnu::section(".rsversion")]] const std::array<unsigned char, kRsVersionSize> kRsVersionResource =     \
        ::rsver::BuildBlock<kRsVersionSize>(kRsVersionFields, language, codePage);                                     \
    }
