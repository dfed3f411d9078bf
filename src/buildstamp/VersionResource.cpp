#include "buildstamp/VersionResource.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#if __has_include(<elf.h>)
#include <elf.h>
#define RS_HAVE_ELF 1
#endif

namespace rsver {
namespace {

constexpr std::size_t kMaxBlock = 1u << 20; // a version block is never this large
constexpr std::uintmax_t kMaxScannedFile = 1u << 30; // files scanned whole when not ELF

uint32_t Get16(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}
uint32_t Get32(const unsigned char* p)
{
    return Get16(p) | (Get16(p + 2) << 16);
}

bool ReadAt(std::ifstream& in, std::uint64_t offset, void* out, std::size_t count)
{
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in) return false;
    in.read(static_cast<char*>(out), static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(in.gcount()) == count;
}

// First well-formed block in `data`.
bool FindBlock(std::span<const unsigned char> data, TVersionBlock& block)
{
    auto it = data.begin();
    while (true) {
        it = std::search(it, data.end(), kMagic.begin(), kMagic.end());
        if (it == data.end()) return false;
        const std::span<const unsigned char> rest(it, data.end());
        if (block.Assign(rest)) return true;
        ++it;
    }
}

#ifdef RS_HAVE_ELF
// Contents of the ".rsversion" section of an ELF file; false when the file is not ELF or has none.
template <typename Ehdr, typename Shdr> bool ReadElfSection(std::ifstream& in, std::vector<unsigned char>& out)
{
    Ehdr eh{};
    if (!ReadAt(in, 0, &eh, sizeof eh)) return false;
    if (eh.e_shentsize != sizeof(Shdr) || eh.e_shnum == 0 || eh.e_shstrndx >= eh.e_shnum) return false;
    std::vector<Shdr> sections(eh.e_shnum);
    if (!ReadAt(in, eh.e_shoff, sections.data(), sizeof(Shdr) * sections.size())) return false;
    const Shdr& names = sections[eh.e_shstrndx];
    if (names.sh_size == 0 || names.sh_size > kMaxBlock * 16) return false;
    std::vector<char> nameTable(names.sh_size + 1, '\0');
    if (!ReadAt(in, names.sh_offset, nameTable.data(), names.sh_size)) return false;
    for (const Shdr& s : sections) {
        if (s.sh_name >= names.sh_size) continue;
        if (std::strcmp(nameTable.data() + s.sh_name, ".rsversion") != 0) continue;
        if (s.sh_type == SHT_NOBITS || s.sh_size == 0 || s.sh_size > kMaxBlock) return false;
        out.resize(s.sh_size);
        return ReadAt(in, s.sh_offset, out.data(), out.size());
    }
    return false;
}
#endif

} // namespace

std::size_t ValidBlockSize(std::span<const unsigned char> bytes)
{
    if (bytes.size() < kHeaderSize + kTrailerSize) return 0;
    if (!std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) return 0;
    const std::size_t total = Get32(bytes.data() + kMagicSize);
    if (total < kHeaderSize + kTrailerSize || total > bytes.size() || total > kMaxBlock) return 0;
    uint32_t sum = 0;
    for (std::size_t i = 0; i < total - kTrailerSize; ++i) sum += bytes[i];
    if (sum != Get32(bytes.data() + total - kTrailerSize)) return 0;
    // Every entry must lie inside the block, and the entries must fill it exactly.
    const std::size_t count = Get32(bytes.data() + kMagicSize + 4);
    std::size_t pos = kHeaderSize;
    const std::size_t end = total - kTrailerSize;
    for (std::size_t i = 0; i < count; ++i) {
        if (end - pos < 4) return 0;
        const std::size_t entry = 4 + Get16(bytes.data() + pos) + Get16(bytes.data() + pos + 2);
        if (end - pos < entry) return 0;
        pos += entry;
    }
    return pos == end ? total : 0;
}

bool TVersionBlock::Assign(std::span<const unsigned char> bytes)
{
    const std::size_t size = ValidBlockSize(bytes);
    if (size == 0) return false;
    Bytes.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    return true;
}

bool TVersionBlock::Query(std::string_view key, std::string_view& value) const
{
    if (Bytes.empty()) return false;
    const std::size_t count = Get32(Bytes.data() + kMagicSize + 4);
    std::size_t pos = kHeaderSize;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t keyLength = Get16(Bytes.data() + pos);
        const std::size_t valueLength = Get16(Bytes.data() + pos + 2);
        const char* keyText = reinterpret_cast<const char*>(Bytes.data() + pos + 4);
        if (std::string_view(keyText, keyLength) == key) {
            value = std::string_view(keyText + keyLength, valueLength);
            return true;
        }
        pos += 4 + keyLength + valueLength;
    }
    return false;
}

bool GetFileVersionInfo(const std::string& fileName, TVersionBlock& block)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return false;
    std::vector<unsigned char> data;
#ifdef RS_HAVE_ELF
    unsigned char ident[EI_NIDENT] = {};
    if (ReadAt(in, 0, ident, sizeof ident) && std::memcmp(ident, ELFMAG, SELFMAG) == 0) {
        bool found = false;
        if (ident[EI_CLASS] == ELFCLASS64)
            found = ReadElfSection<Elf64_Ehdr, Elf64_Shdr>(in, data);
        else if (ident[EI_CLASS] == ELFCLASS32)
            found = ReadElfSection<Elf32_Ehdr, Elf32_Shdr>(in, data);
        if (found && FindBlock(data, block)) return true;
        data.clear();
    }
#endif
    // Not ELF, or no section: scan the whole file for a well-formed block.
    in.clear();
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length <= 0 || static_cast<std::uintmax_t>(length) > kMaxScannedFile) return false;
    data.resize(static_cast<std::size_t>(length));
    if (!ReadAt(in, 0, data.data(), data.size())) return false;
    return FindBlock(data, block);
}

uint32_t GetFileVersionInfoSize(const std::string& fileName)
{
    TVersionBlock block;
    return GetFileVersionInfo(fileName, block) ? static_cast<uint32_t>(block.Size()) : 0;
}

} // namespace rsver

uint32_t PackVersionNumber(std::string_view text)
{
    const std::string copy(text);
    const char* p = copy.c_str();
    uint32_t result = 0;
    int pieces = 0;
    while (pieces < 4 && *p != '\0') {
        char* after = nullptr;
        errno = 0;
        const unsigned long value = std::strtoul(p, &after, 0);
        if (after == p) break;
        // Each piece is one byte of the packed number; larger values are cut to their low byte
        // so that they cannot spill into the neighbouring pieces.
        result = (result << 8) | static_cast<uint32_t>(value & 0xFFu);
        ++pieces;
        p = after;
        // Skip to just past the next separator; the piece ends there.
        while (*p != '\0' && *p != '.' && *p != ',') ++p;
        if (*p == '\0') break;
        ++p;
    }
    for (; pieces < 4; ++pieces) result <<= 8;
    return result;
}

uint32_t GetFileVersionField(const char* fileName, const char* fieldName, uint32_t* numeric, uint32_t bufferSize,
                             char* buffer)
{
    if (numeric) *numeric = 0;
    if (!fileName || !fieldName) return 0;
    rsver::TVersionBlock block;
    if (!rsver::GetFileVersionInfo(fileName, block)) return 0;

    std::string_view translation;
    if (!block.Query(rsver::kTranslationKey, translation) || translation.size() < 4) return 0;
    const auto* t = reinterpret_cast<const unsigned char*>(translation.data());
    const unsigned long language = static_cast<unsigned long>(t[0]) | (static_cast<unsigned long>(t[1]) << 8);
    const unsigned long codePage = static_cast<unsigned long>(t[2]) | (static_cast<unsigned long>(t[3]) << 8);
    char table[16];
    std::snprintf(table, sizeof table, "%08lx", (language << 16) | codePage);
    const std::string query = std::string(rsver::kStringTablePrefix) + table + "\\" + fieldName;

    std::string_view text;
    if (!block.Query(query, text)) return 0;
    // A stored NUL ends the text, as it would for a C string.
    text = text.substr(0, text.find('\0'));

    if (buffer && bufferSize > 0) {
        const std::size_t n = std::min<std::size_t>(text.size(), bufferSize - 1);
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    if (numeric) *numeric = PackVersionNumber(text);
    return static_cast<uint32_t>(text.size());
}
